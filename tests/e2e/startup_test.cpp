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
  const e2e::MessageBoxWindow box = tool.WaitMessageBox();
  ASSERT_TRUE(static_cast<bool>(box));
  EXPECT_EQ(box.Caption(), "Quorvin PDF Configuration Tool");
  // The text ends in an apostrophe, so the error display adds no period.
  EXPECT_EQ(box.Text(), "Invalid data type for 'defaultPDFFile'");
  EXPECT_EQ(box.Buttons(), std::vector<std::string>{"OK"});
  EXPECT_EQ(box.IconColour(), "red") << "the error icon";
  // The window is created only once the start-up sequence has ended.
  EXPECT_TRUE(tool.TopLevelWindows().size() == 1u);
  e2e::SaveScreenshot("startup-error", box);
  box.Press("OK");

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
  const e2e::MessageBoxWindow refusal = tool.WaitMessageBox();
  ASSERT_TRUE(static_cast<bool>(refusal));
  EXPECT_EQ(refusal.Caption(), "Changes Not Saved");
  EXPECT_EQ(refusal.Text(),
            "The stored options could not be read when this tool started, so nothing was saved "
            "over them.\rThe message shown at start-up names the cause.");
  EXPECT_EQ(refusal.IconColour(), "red");
  refusal.Press("OK");
  EXPECT_TRUE(e2e::WaitFor([&] { return !refusal; }, 5s));
  EXPECT_EQ(e2e::RegQueryKeyText(e2e::kSettingsKey), before);
  // The wrong value is left as it was.
  const e2e::RegValue value = e2e::RegQuery(e2e::kSettingsKey, "defaultPDFFile");
  EXPECT_TRUE(value.found);
  EXPECT_EQ(value.type, "REG_DWORD");
  EXPECT_EQ(value.data, "0x5");
  // The tool waits for commands.
  EXPECT_FALSE(tool.FindMessageBox());
  main.Control(qv::kIdLMDButton3).Press();
  EXPECT_TRUE(tool.WaitExit(10s));
}

}  // namespace
