// Stands in for NET in the responsiveness benchmark: a console program that
// takes the given number of milliseconds (4000 by default) and ends.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  DWORD ms = 4000;
  if (argc > 1) {
    const long parsed = std::strtol(argv[1], nullptr, 10);
    if (parsed > 0) ms = static_cast<DWORD>(parsed);
  }
  Sleep(ms);
  return 0;
}
