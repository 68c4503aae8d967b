#include "console/win32/win_console.h"

#include <windows.h>

#include "platform/win32/text_conversion.h"

namespace qv {

void Win32ConsoleOutput::Put(Stream stream, const std::wstring& wide, bool utf8Bytes) {
  const HANDLE handle = GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  std::wstring lines;
  for (const wchar_t c : wide) {
    if (c == L'\n') lines += L'\r';
    lines += c;
  }
  UINT outputPage = GetConsoleOutputCP();
  if (utf8Bytes) {
    outputPage = CP_UTF8;
  } else if (outputPage == 0) {
    outputPage = GetOEMCP();  // no console: the code page a console would have
  }
  const std::string bytes = win32::Narrow(lines, outputPage);
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Win32ConsoleOutput::Write(Stream stream, const std::string& text) {
  Put(stream, win32::Widen(text, CP_ACP), false);
}

void Win32ConsoleOutput::WriteUtf8(Stream stream, const std::string& text) {
  Put(stream, win32::Widen(text, CP_UTF8), true);
}

void Win32ConsoleOutput::WriteUtf8Text(Stream stream, const std::string& text) {
  Put(stream, win32::Widen(text, CP_UTF8), false);
}

std::string Win32ConsoleOutput::ToUtf8(const std::string& text) {
  return win32::Narrow(win32::Widen(text, CP_ACP), CP_UTF8);
}

}  // namespace qv
