// A small helper for scripts that run the program: waits for a top-level
// window with a given caption to be visible, or asks it to close.
//   qv_window wait CAPTION [SECONDS]   exit 0 once visible, 1 on time-out
//   qv_window close CAPTION            posts WM_CLOSE; exit 1 when absent
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 3 || (std::strcmp(argv[1], "wait") != 0 && std::strcmp(argv[1], "close") != 0)) {
    std::fprintf(stderr, "usage: qv_window wait|close CAPTION [SECONDS]\n");
    return 2;
  }
  const char* caption = argv[2];
  if (std::strcmp(argv[1], "close") == 0) {
    HWND window = FindWindowA(nullptr, caption);
    if (window == nullptr) return 1;
    PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  }
  const int seconds = argc > 3 ? std::atoi(argv[3]) : 60;
  for (int waited = 0; waited < seconds * 10; ++waited) {
    HWND window = FindWindowA(nullptr, caption);
    if (window != nullptr && IsWindowVisible(window)) return 0;
    Sleep(100);
  }
  std::fprintf(stderr, "no window '%s' after %d s\n", caption, seconds);
  return 1;
}
