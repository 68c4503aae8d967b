// Where the console program's text goes: standard output and standard
// error, made readable in the console whatever its code page.
#pragma once

#include <string>

namespace qv {

enum class Stream { Out, Err };

class IConsoleOutput {
 public:
  virtual ~IConsoleOutput() = default;
  // Text in the system's ANSI code page; lines end in '\n'.
  virtual void Write(Stream stream, const std::string& text) = 0;
  // Text already in UTF-8 (the JSON report), kept in UTF-8.
  virtual void WriteUtf8(Stream stream, const std::string& text) = 0;
  // Text for people given in UTF-8: shown as Write shows its text.
  virtual void WriteUtf8Text(Stream stream, const std::string& text) = 0;
  // Text of the system's ANSI code page converted to UTF-8.
  virtual std::string ToUtf8(const std::string& text) = 0;
};

// A message box's text as console lines: every "\r\n" or "\r" becomes a
// line break, and the text ends in one.
std::string AsConsoleLines(const std::string& text);

}  // namespace qv
