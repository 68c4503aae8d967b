#include "console/win32/win_console.h"

#include <windows.h>

namespace qv {
namespace {

std::wstring Widen(const std::string& text, UINT codePage) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
  return text;
}

}  // namespace

void Win32ConsoleOutput::Put(Stream stream, const std::string& text, unsigned codePage) {
  const HANDLE handle = GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  const std::wstring wide = Widen(text, codePage);
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
  if (codePage == CP_UTF8) {
    outputPage = CP_UTF8;
  } else if (outputPage == 0) {
    outputPage = GetOEMCP();  // no console: the code page a console would have
  }
  const std::string bytes = Narrow(lines, outputPage);
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Win32ConsoleOutput::Write(Stream stream, const std::string& text) {
  Put(stream, text, CP_ACP);
}

void Win32ConsoleOutput::WriteUtf8(Stream stream, const std::string& text) {
  Put(stream, text, CP_UTF8);
}

std::string Win32ConsoleOutput::ToUtf8(const std::string& text) {
  return Narrow(Widen(text, CP_ACP), CP_UTF8);
}

}  // namespace qv
