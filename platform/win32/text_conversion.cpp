#include "platform/win32/text_conversion.h"

#include <windows.h>

namespace qv::win32 {
namespace {

constexpr UINT kGb18030 = 54936;

UINT Resolved(unsigned codePage) {
  if (codePage == CP_ACP) return GetACP();
  if (codePage == CP_OEMCP) return GetOEMCP();
  return codePage;
}

}  // namespace

std::wstring Widen(const std::string& text, unsigned codePage) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string Narrow(const std::wstring& wide, unsigned codePage, bool* exact) {
  if (exact != nullptr) *exact = true;
  if (wide.empty()) return std::string();
  const UINT page = Resolved(codePage);
  // UTF-8 and GB18030 hold every character, and refuse both the flag and
  // the default-character arguments.
  const bool complete = page == CP_UTF8 || page == kGb18030;
  const DWORD flags = complete ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* const question = complete ? nullptr : "?";
  BOOL usedDefault = FALSE;
  BOOL* const used = complete ? nullptr : &usedDefault;
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(page, flags, wide.data(), size, nullptr, 0, question, used);
  if (n <= 0) {
    if (exact != nullptr) *exact = false;
    return std::string();
  }
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(page, flags, wide.data(), size, text.data(), n, question, used);
  if (exact != nullptr) *exact = usedDefault == FALSE;
  return text;
}

}  // namespace qv::win32
