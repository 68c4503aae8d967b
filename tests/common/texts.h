// Long texts of the program's messages, as the tests expect them. They are
// written out here, apart from the program's own constants, so that a
// changed message fails the tests instead of changing them along with it;
// the unit tests and the end-to-end tests compare against the same words.
#pragma once

#include <string>

namespace qv::texts {

// The warning before "Prompt me to save each PDF file" is saved checked.
inline constexpr const char kPromptWarningText[] =
    "By checking the box \"Prompt me to save each PDF file\", we have to warn you.\r"
    "Because of the way Quorvin PDF works, it creates PDF's while running under a different "
    "account then your user account.\r"
    "So if you try to save something to specialized folder, such as the Desktop or My Documents, "
    "then they may not show up where you expect them to.\r"
    "So we suggest saving them to a folder directly under your C:\\ drive.\r"
    "Or browse to your specific Desktop folder (or wherever), rather than using the special "
    "folders.\r"
    "For example, your desktop would normally be either under...\r"
    "C:\\Documents and Settings\\yourusername\\Desktop\r"
    "OR\r"
    "C:\\WINNT\\Profiles\\yourusername\\Desktop\r"
    "\r"
    "Would you still like to be prompted to save each PDF file?";

// The end of Add, once the printer is sent to the PDF port.
inline constexpr const char kPrinterAddedText[] =
    "Processes complete.  The printer should now appear in your Monitored Printers list.";

// The start-up's question for a Ghostscript file it cannot find
// ("gswin32c.exe" or "gsdll32.dll").
inline std::string GhostscriptMissingText(const std::string& file) {
  return "We could not find " + file + " on your system.\r" + "Click OK to browse for the " + file +
         " file on your system.\r" +
         "Normally this file is located under c:\\gs\\gsx.xx\\bin (where x.xx is the version "
         "of GhostScript)\r"
         "If you do not have GhostScript installed at this time, please do so as this program "
         "requires it.";
}

}  // namespace qv::texts
