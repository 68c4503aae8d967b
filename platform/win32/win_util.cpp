#include "platform/win32/win_util.h"

#include <cstring>
#include <vector>

#include "platform/errors.h"
#include "platform/process.h"

namespace qv::win32 {

void RestrictDllSearchToSystem() {
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return;
  const auto set = reinterpret_cast<SetDirectories>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

std::string SystemErrorText(std::uint32_t code) {
  // 0x3200: FROM_SYSTEM | IGNORE_INSERTS | ARGUMENT_ARRAY, into 256 bytes.
  char buffer[256] = {};
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
      nullptr, code, 0, buffer, sizeof buffer, nullptr);
  return TrimSystemText(std::string(buffer, length));
}

void RaiseSystemError(std::uint32_t code) {
  throw ESystemError(SystemErrorMessage(code, SystemErrorText(code)));
}

void RaiseLastError() {
  RaiseSystemError(GetLastError());
}

}  // namespace qv::win32
