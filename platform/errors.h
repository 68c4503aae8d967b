// The three kinds of failure the platform services raise, and the text rule
// of the application's error display.
#pragma once

#include <stdexcept>
#include <string>

namespace qv {

// Base of every error the platform raises on purpose. Handlers never catch
// these; the application's command boundary shows them.
class EPlatformError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A registry operation failed ("Failed to set data for 'X'", ...).
class ERegistryException : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// A text value that the system's code page cannot hold; refused like a
// value of the wrong type rather than read as a look-alike.
class ENotInCodePage : public ERegistryException {
 public:
  using ERegistryException::ERegistryException;
};

// The printer service refused an operation ("Printer index out of range").
class EPrinter : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// A system call failed; the text carries the code and the system's message.
class ESystemError : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// The text the error display shows for an error message: a period is
// appended when the text is not empty and its last character's code is
// above that of the period (letters, digits, ':' or '?'); texts ending in an
// apostrophe, ')', ',', '-', '!', a blank or a period stay as they are.
std::string ErrorDisplayText(const std::string& message);

// "System Error.  Code: N.\r\n<text>" as raised for a failed system call.
std::string SystemErrorMessage(unsigned long code, const std::string& systemText);

}  // namespace qv
