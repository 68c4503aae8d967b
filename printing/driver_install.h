// The command lines the printer installation hands to rundll32.
#pragma once

#include <string>

namespace qv {

class IFileSystem;

// A name a printer queue may have: not empty, and free of the characters
// Windows refuses in printer names (double quote, backslash, comma). The
// second byte of a double-byte character is not one of them, even when it
// reads as a backslash.
bool IsValidPrinterName(const std::string& name, IFileSystem& files);

// printui.dll's install line for queue name in the tool's folder ownFolder.
std::string InstallParameters(const std::string& name, const std::string& ownFolder);
// printui.dll's line that makes name the default printer.
std::string DefaultPrinterParameters(const std::string& name);

}  // namespace qv
