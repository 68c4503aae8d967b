#include "platform/win32/win_printers.h"

#include <windows.h>
#include <winspool.h>

#include "platform/errors.h"
#include "platform/win32/win_util.h"

namespace qv {

std::vector<std::string> Win32PrinterBackend::EnumPrinterNames() {
  constexpr DWORD kFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  std::vector<unsigned char> buffer;
  DWORD needed = 0;
  DWORD returned = 0;
  // The list can grow between the size query and the read; ask again then.
  for (;;) {
    if (EnumPrintersA(kFlags, nullptr, 4, buffer.empty() ? nullptr : buffer.data(),
                      static_cast<DWORD>(buffer.size()), &needed, &returned)) {
      break;
    }
    const DWORD code = GetLastError();
    if (code != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) {
      throw ESystemError(SystemErrorMessage(code, win32::SystemErrorText(code)));
    }
    buffer.resize(needed);
  }
  std::vector<std::string> names;
  if (returned == 0) return names;
  const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
  names.reserve(returned);
  for (DWORD i = 0; i < returned; ++i) {
    names.emplace_back(info[i].pPrinterName ? info[i].pPrinterName : "");
  }
  return names;
}

}  // namespace qv
