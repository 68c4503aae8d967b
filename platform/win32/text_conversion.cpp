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

// The code pages (other than UTF-8 and GB18030) whose conversion from
// UTF-16 refuses WC_NO_BEST_FIT_CHARS and a default character: Symbol,
// the ISO 2022 pages, HZ, ISCII and UTF-7.
bool RefusesBestFitFlag(UINT page) {
  return page == 42 || (page >= 50220 && page <= 50229) || page == 52936 ||
         (page >= 57002 && page <= 57011) || page == CP_UTF7;
}

// wide in page with flags 0 and no default character, which such a code
// page may convert with best fit; empty when it fails.
std::string Plain(const std::wstring& wide, UINT page) {
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(page, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
  return text;
}

bool ComesBack(const std::wstring& wide, UINT page) {
  return Widen(Plain(wide, page), page) == wide;
}

// wide in a code page of RefusesBestFitFlag, with "?" for each character
// (a surrogate pair being one) that does not come back the same from the
// bytes, so that no look-alike is written. Each character is tried after
// those kept before it, as a stateful code page or a combining character
// may change how the text before it reads.
std::string NarrowCheckingBack(const std::wstring& wide, UINT page, bool* exact) {
  if (ComesBack(wide, page)) return Plain(wide, page);
  std::wstring kept;
  for (std::size_t i = 0; i < wide.size();) {
    const bool pair =
        IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
    const std::wstring tried = kept + wide.substr(i, pair ? 2 : 1);
    kept = ComesBack(tried, page) ? tried : kept + L'?';
    i += pair ? 2 : 1;
  }
  if (exact != nullptr) *exact = false;  // the whole did not come back
  return Plain(kept, page);
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
  if (RefusesBestFitFlag(page)) return NarrowCheckingBack(wide, page, exact);
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
