#include "platform/win32/win_spooler.h"

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "platform/win32/text_conversion.h"

namespace qv {
namespace {

struct ServiceCloser {
  void operator()(SC_HANDLE handle) const noexcept { CloseServiceHandle(handle); }
};
using UniqueService = std::unique_ptr<std::remove_pointer_t<SC_HANDLE>, ServiceCloser>;

}  // namespace

ServiceState Win32Spooler::State() {
  const UniqueService manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return ServiceState::Unknown;
  const UniqueService service(OpenServiceW(manager.get(), L"Spooler", SERVICE_QUERY_STATUS));
  if (!service) return ServiceState::Unknown;
  SERVICE_STATUS status{};
  if (!QueryServiceStatus(service.get(), &status)) return ServiceState::Unknown;
  switch (status.dwCurrentState) {
    case SERVICE_STOPPED:
      return ServiceState::Stopped;
    case SERVICE_RUNNING:
      return ServiceState::Running;
    default:
      return ServiceState::Changing;
  }
}

std::string Win32Spooler::DefaultPrinter() {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  if (size == 0) return std::string();
  std::vector<wchar_t> name(size);
  if (!GetDefaultPrinterW(name.data(), &size)) return std::string();
  bool exact = false;
  const std::string ansi = win32::Narrow(std::wstring(name.data()), CP_ACP, &exact);
  return exact ? ansi : std::string();
}

}  // namespace qv
