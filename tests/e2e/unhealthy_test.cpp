// Machines where printing is in trouble. A queue of the name the user
// types already exists; a command waits on Wine's real NET while About and
// Exit are pressed, with a NET.exe lying in the folder the tool was started
// from; and Windows runs in a Japanese code page, whose double-byte
// characters may end in the byte of a backslash.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/main_layout.h"
#include "harness.h"
#include "tests/common/texts.h"

namespace {

using e2e::Tool;
using e2e::Window;
using namespace std::chrono_literals;

constexpr const char* kNameCaption = "Install Quorvin PostScript Printer";

// Each test starts the tool itself, one of them in a folder of its choice.
class Unhealthy : public e2e::ToolTest {
 protected:
  Unhealthy() : ToolTest(Launch::kNone) {}
};

TEST_F(Unhealthy, InstallRefusesTheNameOfAnExistingQueueInAnyCase) {
  Start();
  const std::string key = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\OfficePS";
  main_.Control(qv::kIdInstallPsDriverBtn).Press();
  const e2e::InputDialogWindow name = tool_->WaitInputDialog(kNameCaption);
  ASSERT_TRUE(static_cast<bool>(name));
  name.Accept("officeps");
  tool_->AnswerMessageBox({kNameCaption,
                           "A printer named \"officeps\" already exists.\rChoose another name, or "
                           "use Add to send that printer to the PDF port.",
                           "red"},
                          "OK", 30s);
  Sleep(1000);
  EXPECT_FALSE(tool_->FindMessageBox()) << "the command went on";
  EXPECT_EQ(e2e::RegQuery(key, "Port").data, "CUPS:OfficePS");
  Exit(*tool_, main_);
}

TEST_F(Unhealthy, AboutAndExitDuringAddWithWinesNet) {
  // A NET.exe in the start folder must not run as the system's.
  const std::string planted = "C:\\planted\\";
  CreateDirectoryA(planted.c_str(), nullptr);
  e2e::CopyFileOrFail(std::getenv("QV_SLOW_PROGRAM"), planted + "NET.exe");
  SetEnvironmentVariableA("QV_STANDIN_LOG", (planted + "ran.txt").c_str());
  Start(planted);

  main_.Control(qv::kIdLMDButton1).Press();
  tool_->AnswerMessageBox({"Continue?"}, "Yes", 30s);
  ASSERT_TRUE(e2e::WaitFor([&] { return tool_->ChildRunning("net.exe"); }, 10s))
      << "NET did not start";
  // Pressed while NET runs: About opens at once, Exit waits for the command.
  main_.Control(qv::kIdLMDButton7).Press();
  main_.Control(qv::kIdLMDButton3).Press();
  EXPECT_TRUE(static_cast<bool>(tool_->WaitWindow("About"))) << "About was held back";

  const e2e::MessageBoxWindow box =
      tool_->ExpectMessageBox({"Processes Complete", qv::texts::kPrinterAddedText}, 30s);
  EXPECT_TRUE(tool_->Running());
  box.Answer();
  EXPECT_TRUE(tool_->WaitExit(10s)) << "Exit pressed during the command was lost";
  EXPECT_EQ(GetFileAttributesA((planted + "ran.txt").c_str()), INVALID_FILE_ATTRIBUTES)
      << "the planted NET.exe ran";
}

// Run with LANG=ja_JP.UTF-8: "\x83\x5C" is one character of code page 932.
TEST(Japanese, DoubleByteCharactersStayWhole) {
  ASSERT_EQ(GetACP(), 932u) << "Wine gave no Japanese code page";
  const std::string so = "\x83\x5C";
  e2e::PlantGhostscript();
  CreateDirectoryA("C:\\out", nullptr);
  Tool tool = Tool::Start();
  const Window main = tool.WaitMainWindow();
  ASSERT_TRUE(static_cast<bool>(main));

  main.Control(qv::kIdLMDButton4).Press();
  const e2e::FileDialogWindow dialog = tool.WaitFileDialog();
  ASSERT_TRUE(static_cast<bool>(dialog));
  dialog.Choose("C:\\out\\" + so + ".pdf");
  e2e::MessageBoxWindow box = tool.ExpectMessageBox({"Warning"});
  EXPECT_EQ(main.Control(qv::kIdEdit2).Text(), so + ".pdf");
  EXPECT_EQ(main.Control(qv::kIdEdit3).Text(), "C:\\out\\");
  box.Answer();
  main.Control(qv::kIdSaveChangesBtn).Press();
  tool.AnswerMessageBox({"Changes Saved"});
  EXPECT_EQ(e2e::RegQuery(e2e::kSettingsKey, "defaultPDFFile").data, so + ".pdf");
  EXPECT_EQ(e2e::RegQuery(e2e::kSettingsKey, "defaultPDFDir").data, "C:\\out\\");

  // Such a name passes the printer-name check: the installation question
  // comes, not the refusal.
  main.Control(qv::kIdInstallPsDriverBtn).Press();
  const e2e::InputDialogWindow name = tool.WaitInputDialog(kNameCaption);
  ASSERT_TRUE(static_cast<bool>(name));
  name.Accept("PDF " + so);
  box = tool.ExpectMessageBox({"Installing PostScript Printer Driver"});
  ASSERT_TRUE(static_cast<bool>(box));
  // No, by its identifier: the button's caption is Japanese.
  PostMessageW(box.Handle(), WM_COMMAND, IDNO, 0);
  EXPECT_TRUE(e2e::WaitFor([&] { return !box; }, 5s));
  Exit(tool, main);
}

}  // namespace
