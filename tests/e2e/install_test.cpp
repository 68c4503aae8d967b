// A machine without printer queues: the start-up offers to install the
// PostScript printer, "Add" has nothing to add, and "Install PS Driver"
// runs printui, which under Wine installs nothing, so the command ends in
// its failure message.
#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "harness.h"

namespace {

using e2e::Tool;
using e2e::Window;
using namespace std::chrono_literals;

constexpr const char* kOfferCaption = "Install Quorvin PostScript Printer Driver?";
constexpr const char* kNameCaption = "Install Quorvin PostScript Printer";
constexpr const char* kInstallCaption = "Installing PostScript Printer Driver";
constexpr const char* kBadName =
    "The printer name must not be empty and must not contain a double quote, a backslash or a "
    "comma.";

// Answers the start-up offer to install a printer.
void AnswerOffer(const Tool& tool, const std::string& answer) {
  const e2e::MessageBoxWindow box = tool.ExpectMessageBox(
      {kOfferCaption,
       "You do not have any printer drivers installed to monitor for PDF creation.\r"
       "Would you like to install one now?",
       "blue",
       {"Yes", "No"}});
  EXPECT_EQ(tool.TopLevelWindows().size(), 1u) << "the main window is not shown yet";
  box.Answer(answer);
}

// The message box of an error: the error icon and OK.
e2e::ExpectedBox Error(const std::string& caption, const std::string& text) {
  return {caption, text, "red", {"OK"}};
}

// Nothing more comes up within a while.
void ExpectNoFurtherBox(const Tool& tool) {
  Sleep(1500);
  const e2e::MessageBoxWindow box = tool.FindMessageBox();
  EXPECT_FALSE(box) << "unexpected box '" << (box ? box.Caption() : "") << "'";
}

void ExpectStartUpCompleted(const Window& main) {
  EXPECT_TRUE(main.Control(qv::kIdComboBox1).Items().empty());
  EXPECT_EQ(main.Control(qv::kIdComboBox1).SelectedIndex(), CB_ERR);
  EXPECT_TRUE(main.Control(qv::kIdListBox1).Items().empty());
  // The steps after the offer ran: Ghostscript and the Options are filled.
  EXPECT_EQ(main.Control(qv::kIdEdit5).Text(), e2e::kGsExe);
  EXPECT_EQ(main.Control(qv::kIdEdit2).Text(), "QuorvinPDF.pdf");
  EXPECT_EQ(main.Control(qv::kIdEdit3).Text(), e2e::ToolFolder() + "PDFs");
  EXPECT_TRUE(main.Control(qv::kIdCheckBox2).Checked());
  EXPECT_EQ(e2e::RegQuery("HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin "
                          "PDF Port",
                          "Driver")
                .data,
            "quorvinmonnt.dll");
}

TEST(NoPrinters, DecliningTheOfferLeavesEmptyListsAndAddRefuses) {
  e2e::PlantGhostscript();
  Tool tool = Tool::Start();
  AnswerOffer(tool, "No");
  const Window main = tool.WaitMainWindow();
  ASSERT_TRUE(static_cast<bool>(main));
  EXPECT_FALSE(tool.FindMessageBox());
  ExpectStartUpCompleted(main);

  main.Control(qv::kIdLMDButton1).Press();
  tool.AnswerMessageBox(
      Error("Processes Complete",
            "You must select a valid PostScript printer from the Printers list before you can "
            "add it for monitoring.\rIf you do not have any PostScript printers in the printers "
            "list, click on the Install PS Driver button."));
  ExpectNoFurtherBox(tool);

  main.Control(qv::kIdLMDButton10).Press();
  main.Control(qv::kIdLMDButton9).Press();
  Sleep(500);
  EXPECT_TRUE(main.Control(qv::kIdComboBox1).Items().empty());
  EXPECT_TRUE(main.Control(qv::kIdListBox1).Items().empty());
  Exit(tool, main);
}

TEST(NoPrinters, AcceptedInstallEndsInTheFailureMessage) {
  e2e::PlantGhostscript();
  Tool tool = Tool::Start();
  AnswerOffer(tool, "Yes");

  const e2e::InputDialogWindow name = tool.WaitInputDialog(kNameCaption);
  ASSERT_TRUE(static_cast<bool>(name));
  EXPECT_EQ(name.Prompt(), "Enter a printer name");
  EXPECT_EQ(name.Value(), "Quorvin PDF Printer");
  name.AcceptAsIs();

  tool.AnswerMessageBox(
      {kInstallCaption,
       "We will now install a PostScript Printer Driver and restart the Spooler Service.  This "
       "process may take a couple of minutes.\rIf you receive a message about the digital "
       "signature not found, just click YES or Continue.\rWould you like to continue?",
       "blue",
       {"Yes", "No"}},
      "Yes");

  // printui ran and installed nothing: the command stops at its message,
  // without the default-printer question or the completion message.
  e2e::SaveScreenshot("install-failed", tool.WaitMessageBox());
  tool.AnswerMessageBox(
      Error(kInstallCaption,
            "The printer \"Quorvin PDF Printer\" could not be installed.\rMake sure that the "
            "folder PSDriver with QuorvinPS.INF lies beside this program, then try again."));
  const Window main = tool.WaitMainWindow(60s);
  ASSERT_TRUE(static_cast<bool>(main));
  ExpectNoFurtherBox(tool);
  ExpectStartUpCompleted(main);
  EXPECT_FALSE(e2e::RegQuery("HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Quorvin "
                             "PDF Printer",
                             "Port")
                   .found);
  Exit(tool, main);
}

TEST(NoPrinters, InvalidNamesAreRefusedAndCancelRunsNothing) {
  e2e::PlantGhostscript();
  Tool tool = Tool::Start();
  AnswerOffer(tool, "Yes");
  e2e::InputDialogWindow name = tool.WaitInputDialog(kNameCaption);
  ASSERT_TRUE(static_cast<bool>(name));
  name.Accept("a,b");
  tool.AnswerMessageBox(Error(kNameCaption, kBadName));
  const Window main = tool.WaitMainWindow();
  ASSERT_TRUE(static_cast<bool>(main));
  ExpectNoFurtherBox(tool);
  ExpectStartUpCompleted(main);

  // The same through the button, for the other refused names.
  for (const std::string bad : {"", "x\"y", "a\\b"}) {
    SCOPED_TRACE(bad);
    main.Control(qv::kIdInstallPsDriverBtn).Press();
    name = tool.WaitInputDialog(kNameCaption);
    ASSERT_TRUE(static_cast<bool>(name));
    name.Accept(bad);
    tool.AnswerMessageBox(Error(kNameCaption, kBadName));
    ExpectNoFurtherBox(tool);
  }

  // Cancelling the name, or answering No to the question, ends it.
  main.Control(qv::kIdInstallPsDriverBtn).Press();
  name = tool.WaitInputDialog(kNameCaption);
  ASSERT_TRUE(static_cast<bool>(name));
  name.Cancel();
  ExpectNoFurtherBox(tool);
  main.Control(qv::kIdInstallPsDriverBtn).Press();
  name = tool.WaitInputDialog(kNameCaption);
  ASSERT_TRUE(static_cast<bool>(name));
  name.Accept("Lab Printer");
  tool.AnswerMessageBox({kInstallCaption}, "No");
  ExpectNoFurtherBox(tool);
  EXPECT_TRUE(main.Control(qv::kIdComboBox1).Items().empty());
  Exit(tool, main);
}

}  // namespace
