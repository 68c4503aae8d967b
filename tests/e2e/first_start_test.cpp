// A first start on a machine without Ghostscript and without printers:
// the questions of the start-up sequence come in their order, before the
// main window, and what the user chooses is shown and stored.
#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "harness.h"
#include "tests/common/texts.h"

namespace {

using e2e::Tool;
using e2e::Window;
using namespace std::chrono_literals;

TEST(FirstStart, AsksForGhostscriptThenOffersPrinterInstall) {
  // The chosen file need not exist; its folder must, for the dialog.
  CreateDirectoryA("C:\\tools", nullptr);
  Tool tool = Tool::Start();

  tool.AnswerMessageBox(
      {"Can't find gswin32c.exe", qv::texts::GhostscriptMissingText("gswin32c.exe"), "red"});
  const e2e::FileDialogWindow exeDialog = tool.WaitFileDialog();
  ASSERT_TRUE(static_cast<bool>(exeDialog));
  exeDialog.Choose("C:\\tools\\gswin32c.exe");  // need not exist

  tool.AnswerMessageBox(
      {"Can't find gsdll32.dll", qv::texts::GhostscriptMissingText("gsdll32.dll"), "red"});
  const e2e::FileDialogWindow dllDialog = tool.WaitFileDialog();
  ASSERT_TRUE(static_cast<bool>(dllDialog));
  dllDialog.Cancel();

  // No printers: the offer to install one, answered No.
  const e2e::MessageBoxWindow offer = tool.ExpectMessageBox(
      {"Install Quorvin PostScript Printer Driver?", "", "blue", {"Yes", "No"}});
  EXPECT_TRUE(tool.TopLevelWindows().size() == 1u) << "the main window is not shown yet";
  offer.Answer("No");

  const Window main = tool.WaitMainWindow();
  ASSERT_TRUE(static_cast<bool>(main));
  EXPECT_FALSE(tool.FindMessageBox());
  EXPECT_EQ(main.Control(qv::kIdEdit5).Text(), "C:\\tools\\gswin32c.exe");
  EXPECT_EQ(main.Control(qv::kIdEdit6).Text(), "");
  EXPECT_TRUE(main.Control(qv::kIdComboBox1).Items().empty());
  EXPECT_TRUE(main.Control(qv::kIdListBox1).Items().empty());
  EXPECT_EQ(main.Control(qv::kIdEdit2).Text(), "QuorvinPDF.pdf");

  const e2e::RegValue exe = e2e::RegQuery(e2e::kSettingsKey, "GSWIN32C");
  EXPECT_TRUE(exe.found);
  EXPECT_EQ(exe.type, "REG_SZ");
  EXPECT_EQ(exe.data, "C:\\tools\\gswin32c.exe");
  EXPECT_FALSE(e2e::RegQuery(e2e::kSettingsKey, "GS_DLL").found) << "the cancelled choice";
  Exit(tool, main);
}

}  // namespace
