// Text into code pages: "?" for what a code page lacks, never a look-alike.
#include "platform/win32/text_conversion.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace qv::testing {
namespace {

TEST(Win32TextConversion, NarrowWritesAQuestionMarkForWhatTheCodePageLacks) {
  const struct {
    unsigned page;
    const wchar_t *text, *readBack;  // readBack: the bytes read in the same code page
    bool exact;
  } cases[] = {
      {1252, L"\u00e9\u03a9", L"\u00e9?", false},  // best fit: "O"
      {CP_UTF8, L"\u03a9\U0001F600", L"\u03a9\U0001F600", true},
      // These two refuse best fit's flag: Wine has UTF-7, not ISO-2022-JP.
      {CP_UTF7, L"\u03a9\U0001F600", L"\u03a9\U0001F600", true},
      {50220, L"\uff71\u65e5\u0e01", L"?\u65e5?", false},  // best fit: a full-width katakana
  };
  for (const auto& c : cases) {
    if (!IsValidCodePage(c.page))
      GTEST_SKIP() << "no code page " << c.page << " here; its rows are left out";
    bool exact = !c.exact;
    EXPECT_EQ(win32::Widen(win32::Narrow(c.text, c.page, &exact), c.page), c.readBack) << c.page;
    EXPECT_EQ(exact, c.exact) << c.page;
  }
}

}  // namespace
}  // namespace qv::testing
