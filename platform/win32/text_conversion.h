// Text between UTF-16 and the system's code pages, never changed silently:
// a character that a code page cannot hold becomes "?" and is reported,
// rather than mapped to a look-alike (Windows' best fit reads "Ω" as "O").
#pragma once

#include <string>

namespace qv::win32 {

// Text of codePage (CP_ACP, CP_OEMCP, CP_UTF8 or a number) as UTF-16.
std::wstring Widen(const std::string& text, unsigned codePage);

// UTF-16 text in codePage without best fit: each character the code page
// cannot hold becomes "?". *exact, when given, tells whether every
// character came through as it is. UTF-8 and GB18030 hold every character.
// The code pages that refuse to convert without best fit (Symbol, ISO 2022,
// HZ, ISCII, UTF-7) are converted with it, then read back: each character
// that does not come back the same becomes "?".
std::string Narrow(const std::wstring& wide, unsigned codePage, bool* exact = nullptr);

}  // namespace qv::win32
