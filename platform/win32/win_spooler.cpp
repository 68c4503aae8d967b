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

// Opens a service of the local service manager with the given rights;
// null when either cannot be opened.
UniqueService OpenLocalService(const std::string& name, DWORD access) {
  const UniqueService manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return nullptr;
  return UniqueService(OpenServiceW(manager.get(), win32::Widen(name, CP_ACP).c_str(), access));
}

struct PrinterCloser {
  void operator()(HANDLE printer) const noexcept { ClosePrinter(printer); }
};

}  // namespace

ServiceState Win32Spooler::State(const std::string& name) {
  const UniqueService service = OpenLocalService(name, SERVICE_QUERY_STATUS);
  SERVICE_STATUS status{};
  if (!service || !QueryServiceStatus(service.get(), &status)) return ServiceState::Unknown;
  switch (status.dwCurrentState) {
    case SERVICE_STOPPED:
      return ServiceState::Stopped;
    case SERVICE_RUNNING:
      return ServiceState::Running;
    default:
      return ServiceState::Changing;
  }
}

std::vector<Service> Win32Spooler::RunningDependents() {
  std::vector<Service> running;
  const UniqueService spooler = OpenLocalService(kSpoolerService, SERVICE_ENUMERATE_DEPENDENTS);
  if (!spooler) return running;
  DWORD needed = 0, count = 0;
  std::vector<unsigned char> buffer;
  // A first call with no buffer tells the size; the set may grow between
  // the calls, so the size is asked again until it fits.
  while (!EnumDependentServicesW(spooler.get(), SERVICE_ACTIVE,
                                 reinterpret_cast<LPENUM_SERVICE_STATUSW>(buffer.data()),
                                 static_cast<DWORD>(buffer.size()), &needed, &count)) {
    if (GetLastError() != ERROR_MORE_DATA || needed <= buffer.size()) return running;
    buffer.resize(needed);
  }
  const auto* services = reinterpret_cast<const ENUM_SERVICE_STATUSW*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    bool exact = false;
    Service service{win32::Narrow(services[i].lpServiceName, CP_ACP, &exact), {}};
    if (!exact) continue;  // a name the code page cannot hold cannot be asked for again
    bool displayExact = false;
    service.displayName = win32::Narrow(services[i].lpDisplayName, CP_ACP, &displayExact);
    if (!displayExact) service.displayName = service.name;
    running.push_back(std::move(service));
  }
  return running;
}

bool Win32Spooler::Stop(const std::string& name) {
  const UniqueService service = OpenLocalService(name, SERVICE_STOP);
  SERVICE_STATUS status{};
  return service && ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
}

bool Win32Spooler::Start(const std::string& name) {
  const UniqueService service = OpenLocalService(name, SERVICE_START);
  return service && StartServiceW(service.get(), 0, nullptr);
}

namespace {

// A text of the printer's level-2 information: nullopt when the spooler
// cannot open the printer, empty when it tells nothing. Compared with the
// package's ASCII names: a text that the code page cannot hold comes
// through with "?" and differs.
std::optional<std::string> PrinterInfo(const std::string& printer,
                                       LPWSTR PRINTER_INFO_2W::*member) {
  std::wstring name = win32::Widen(printer, CP_ACP);
  HANDLE opened = nullptr;
  if (!OpenPrinterW(name.data(), &opened, nullptr)) return std::nullopt;
  const std::unique_ptr<void, PrinterCloser> handle(opened);
  DWORD needed = 0;
  GetPrinterW(opened, 2, nullptr, 0, &needed);
  std::vector<unsigned char> info(needed);
  if (needed == 0 || !GetPrinterW(opened, 2, info.data(), needed, &needed)) return std::string();
  const auto* level2 = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
  return level2->*member ? win32::Narrow(level2->*member, CP_ACP) : std::string();
}

}  // namespace

std::optional<std::string> Win32Spooler::PrinterPort(const std::string& printer) {
  return PrinterInfo(printer, &PRINTER_INFO_2W::pPortName);
}

std::optional<std::string> Win32Spooler::PrinterDriver(const std::string& printer) {
  return PrinterInfo(printer, &PRINTER_INFO_2W::pDriverName);
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
