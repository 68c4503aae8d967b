// Stands in for NET in the responsiveness benchmark and tests: a console
// program that takes the given number of milliseconds (4000 by default)
// and ends. When QV_STANDIN_LOG names a file, it first appends a line there
// with its process id and its command line ("1234 STOP SPOOLER"), so a test
// can tell whether it ran and end it. With QV_STANDIN_FOREVER set it never
// ends, as a program waiting for an answer nobody gives. Called as NET
// ("STOP SERVICE", "START SERVICE"), it then stops or starts that service
// as NET does, so that the service manager reports what a real NET leaves.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void AsNet(const char* verb, const char* name) {
  const bool stop = std::strcmp(verb, "STOP") == 0;
  if (!stop && std::strcmp(verb, "START") != 0) return;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) return;
  if (SC_HANDLE service = OpenServiceA(manager, name, stop ? SERVICE_STOP : SERVICE_START)) {
    SERVICE_STATUS status{};
    if (stop) {
      ControlService(service, SERVICE_CONTROL_STOP, &status);
    } else {
      StartServiceA(service, 0, nullptr);
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
}

}  // namespace

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
  if (argc > 2) AsNet(argv[1], argv[2]);
  return 0;
}
