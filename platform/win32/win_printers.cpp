#include "platform/win32/win_printers.h"

#include <windows.h>
#include <winspool.h>

#include "platform/errors.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win_util.h"

namespace qv {

std::vector<PrinterName> Win32PrinterBackend::EnumPrinterNames() {
  constexpr DWORD kFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  std::vector<unsigned char> buffer;
  DWORD needed = 0;
  DWORD returned = 0;
  // The list can grow between the size query and the read; ask again then.
  for (;;) {
    if (EnumPrintersW(kFlags, nullptr, 4, buffer.empty() ? nullptr : buffer.data(),
                      static_cast<DWORD>(buffer.size()), &needed, &returned)) {
      break;
    }
    const DWORD code = GetLastError();
    if (code != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) {
      win32::RaiseSystemError(code);
    }
    buffer.resize(needed);
  }
  std::vector<PrinterName> names;
  if (returned == 0) return names;
  // The names come as UTF-16 and go to the code page without best fit, so
  // that a name the code page cannot hold never reads as another printer's.
  const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
  names.reserve(returned);
  for (DWORD i = 0; i < returned; ++i) {
    const std::wstring wide = info[i].pPrinterName ? info[i].pPrinterName : L"";
    PrinterName name;
    name.name = win32::Narrow(wide, CP_ACP, &name.exact);
    name.utf8 = win32::Narrow(wide, CP_UTF8);
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace qv
