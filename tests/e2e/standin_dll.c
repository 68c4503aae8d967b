/* An empty library: built 64-bit it stands in for the port monitor in the
   system folder, built 32-bit for Ghostscript's gsdll32.dll, so that the
   tool reads real PE headers of both machines. */
int qv_standin(void) { return 0; }
