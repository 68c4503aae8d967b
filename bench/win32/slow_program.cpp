// Stands in for NET in the responsiveness benchmark and tests: a console
// program that takes the given number of milliseconds (4000 by default)
// and ends. When QV_STANDIN_LOG names a file, it first appends a line there
// with its process id and its command line ("1234 STOP SPOOLER"), so a test
// can tell whether it ran and end it. With QV_STANDIN_FOREVER set it never
// ends, as a program waiting for an answer nobody gives.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (const char* log = std::getenv("QV_STANDIN_LOG")) {
    if (FILE* file = std::fopen(log, "a")) {
      std::fprintf(file, "%lu", static_cast<unsigned long>(GetCurrentProcessId()));
      for (int i = 1; i < argc; ++i) std::fprintf(file, " %s", argv[i]);
      std::fprintf(file, "\n");
      std::fclose(file);
    }
  }
  const char* forever = std::getenv("QV_STANDIN_FOREVER");
  if (forever != nullptr && *forever != '\0') {
    for (;;) Sleep(INFINITE);
  }
  DWORD ms = 4000;
  if (argc > 1) {
    const long parsed = std::strtol(argv[1], nullptr, 10);
    if (parsed > 0) ms = static_cast<DWORD>(parsed);
  }
  Sleep(ms);
  return 0;
}
