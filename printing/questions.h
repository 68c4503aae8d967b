// The captions of the questions that Add and Install PS Driver ask. The
// console program answers each question by its caption, so both take them
// from here.
#pragma once

namespace qv {

// Add: point the selected printer at the PDF port?
constexpr const char* kAttachQuestionCaption = "Continue?";
// Install PS Driver: install a queue and restart the spooler?
constexpr const char* kInstallQuestionCaption = "Installing PostScript Printer Driver";
// Install PS Driver: make the new printer the default printer?
constexpr const char* kDefaultPrinterQuestionCaption = "Default Printer?";

}  // namespace qv
