// A first start on a machine without Ghostscript and without printers:
// the questions of the start-up sequence come in their order, before the
// main window, and what the user chooses is shown and stored.
#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "harness.h"

namespace {

using e2e::Tool;
using e2e::Window;
using namespace std::chrono_literals;

TEST(FirstStart, AsksForGhostscriptThenOffersPrinterInstall) {
  // The chosen file need not exist; its folder must, for the dialog.
  CreateDirectoryA("C:\\tools", nullptr);
  Tool tool = Tool::Start();

  e2e::MessageBoxWindow box = tool.WaitMessageBox();
  ASSERT_TRUE(static_cast<bool>(box));
  EXPECT_EQ(box.Caption(), "Can't find gswin32c.exe");
  EXPECT_EQ(box.IconColour(), "red");
  box.Press("OK");
  const e2e::FileDialogWindow exeDialog = tool.WaitFileDialog();
  ASSERT_TRUE(static_cast<bool>(exeDialog));
  exeDialog.Choose("C:\\tools\\gswin32c.exe");  // need not exist

  box = tool.WaitMessageBox();
  ASSERT_TRUE(static_cast<bool>(box));
  EXPECT_EQ(box.Caption(), "Can't find gsdll32.dll");
  box.Press("OK");
  const e2e::FileDialogWindow dllDialog = tool.WaitFileDialog();
  ASSERT_TRUE(static_cast<bool>(dllDialog));
  dllDialog.Cancel();

  // No printers: the offer to install one, answered No.
  box = tool.WaitMessageBox();
  ASSERT_TRUE(static_cast<bool>(box));
  EXPECT_EQ(box.Caption(), "Install Quorvin PostScript Printer Driver?");
  EXPECT_EQ(box.Buttons(), (std::vector<std::string>{"Yes", "No"}));
  EXPECT_EQ(box.IconColour(), "blue") << "the question icon";
  EXPECT_TRUE(tool.TopLevelWindows().size() == 1u) << "the main window is not shown yet";
  box.Press("No");

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
  main.Control(qv::kIdLMDButton3).Press();
  EXPECT_TRUE(tool.WaitExit(10s));
}

}  // namespace
