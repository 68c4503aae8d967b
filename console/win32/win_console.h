// Standard output and error of the console program on Windows.
#pragma once

#include "console/output.h"

namespace qv {

// Text reaches a console as UTF-16 (WriteConsoleW), so it reads right
// whatever the console's code page. Redirected to a file or pipe, text for
// people is written in the console's output code page, without best fit
// ("?" for what it cannot hold), and JSON as UTF-8, with CRLF line ends.
class Win32ConsoleOutput : public IConsoleOutput {
 public:
  void Write(Stream stream, const std::string& text) override;
  void WriteUtf8(Stream stream, const std::string& text) override;
  void WriteUtf8Text(Stream stream, const std::string& text) override;
  std::string ToUtf8(const std::string& text) override;

 private:
  void Put(Stream stream, const std::wstring& wide, bool utf8Bytes);
};

}  // namespace qv
