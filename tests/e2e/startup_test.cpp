// Errors during the start-up sequence reach the user through the error
// display, and the main window still comes up afterwards.
#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "harness.h"

namespace {

using e2e::Tool;
using e2e::Window;
using namespace std::chrono_literals;

TEST(StartupError, WrongTypedSettingIsShownThenWindowOpens) {
  e2e::PlantGhostscript();
  e2e::RegAdd(e2e::kSettingsKey, "defaultPDFFile", "REG_DWORD", "5");

  Tool tool = Tool::Start();
  // The text ends in an apostrophe, so the error display adds no period.
  const e2e::MessageBoxWindow box = tool.ExpectMessageBox(
      {"Quorvin PDF Configuration Tool", "Invalid data type for 'defaultPDFFile'", "red", {"OK"}});
  // The window is created only once the start-up sequence has ended.
  EXPECT_TRUE(tool.TopLevelWindows().size() == 1u);
  e2e::SaveScreenshot("startup-error", box);
  box.Answer();

  const Window main = tool.WaitMainWindow();
  ASSERT_TRUE(static_cast<bool>(main));
  // The steps before the settings ran; the Options were never filled.
  EXPECT_EQ(main.Control(qv::kIdEdit5).Text(), e2e::kGsExe);
  EXPECT_EQ(main.Control(qv::kIdEdit6).Text(), e2e::kGsDll);
  EXPECT_EQ(main.Control(qv::kIdComboBox1).Items(), std::vector<std::string>{"Office_PS"});
  EXPECT_EQ(main.Control(qv::kIdEdit2).Text(), "");
  EXPECT_EQ(main.Control(qv::kIdEdit4).Text(), "Copy");
  // Save Changes will not store those blank fields over the stored options.
  const std::string before = e2e::RegQueryKeyText(e2e::kSettingsKey);
  main.Control(qv::kIdSaveChangesBtn).Press();
  tool.AnswerMessageBox({"Changes Not Saved",
                         "The stored options could not be read when this tool started, so nothing "
                         "was saved over them.\rThe message shown at start-up names the cause.",
                         "red"});
  EXPECT_EQ(e2e::RegQueryKeyText(e2e::kSettingsKey), before);
  // The wrong value is left as it was.
  const e2e::RegValue value = e2e::RegQuery(e2e::kSettingsKey, "defaultPDFFile");
  EXPECT_TRUE(value.found);
  EXPECT_EQ(value.type, "REG_DWORD");
  EXPECT_EQ(value.data, "0x5");
  Exit(tool, main);  // with no message box left: the tool waits for commands
}

}  // namespace
