// Finding Ghostscript: from its own registration in the 32-bit view, from
// the stored paths, and by the user's choice in the browse dialogs.
#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "harness.h"

namespace {

using e2e::Tool;
using e2e::Window;
using namespace std::chrono_literals;

constexpr const char* kDll814 = "C:\\gs\\gs8.14\\bin\\gsdll32.dll";
constexpr const char* kExe814 = "C:\\gs\\gs8.14\\bin\\gswin32c.exe";
constexpr const char* kDll850 = "C:\\gs\\gs8.50\\bin\\gsdll32.dll";
constexpr const char* kExe850 = "C:\\gs\\gs8.50\\bin\\gswin32c.exe";

void ExpectStored(const std::string& name, const std::string& path) {
  const e2e::RegValue value = e2e::RegQuery(e2e::kSettingsKey, name);
  EXPECT_TRUE(value.found) << name;
  EXPECT_EQ(value.type, "REG_SZ") << name;
  EXPECT_EQ(value.data, path) << name;
}

// Starts the tool and waits for its window; no question may come first.
Window StartQuietly(Tool& tool) {
  const Window main = tool.WaitMainWindow();
  EXPECT_FALSE(tool.FindMessageBox()) << "the start asked something";
  return main;
}

void Exit(const Tool& tool, const Window& main) {
  main.Control(qv::kIdLMDButton3).Press();
  EXPECT_TRUE(tool.WaitExit(10s));
}

// Runs first in its world: the settings key does not exist yet.
TEST(Ghostscript, LastRegisteredVersionWinsWithoutAQuestion) {
  ASSERT_FALSE(e2e::RegQuery(e2e::kSettingsKey, "GS_DLL").found) << "the world is not fresh";
  for (const char* file : {kDll814, kExe814, kDll850, kExe850}) e2e::CreateEmptyFile(file);
  e2e::RegAdd("HKLM\\SOFTWARE\\AFPL Ghostscript\\8.14", "GS_DLL", "REG_SZ", kDll814);
  e2e::RegAdd("HKLM\\SOFTWARE\\AFPL Ghostscript\\8.50", "GS_DLL", "REG_SZ", kDll850);

  Tool tool = Tool::Start();
  const Window main = StartQuietly(tool);
  ASSERT_TRUE(static_cast<bool>(main));
  EXPECT_EQ(main.Control(qv::kIdEdit5).Text(), kExe850);
  EXPECT_EQ(main.Control(qv::kIdEdit6).Text(), kDll850);
  ExpectStored("GS_DLL", kDll850);
  ExpectStored("GSWIN32C", kExe850);
  Exit(tool, main);
}

TEST(Ghostscript, StoredExeThatWasDeletedIsReplacedSilently) {
  for (const char* file : {kDll814, kExe814}) e2e::CreateEmptyFile(file);
  const char* removed = "C:\\gs\\removed\\gswin32c.exe";
  e2e::CreateEmptyFile(removed);
  ASSERT_TRUE(DeleteFileA(removed));
  e2e::RegAdd(e2e::kSettingsKey, "GS_DLL", "REG_SZ", kDll814);
  e2e::RegAdd(e2e::kSettingsKey, "GSWIN32C", "REG_SZ", removed);

  Tool tool = Tool::Start();
  const Window main = StartQuietly(tool);
  ASSERT_TRUE(static_cast<bool>(main));
  EXPECT_EQ(main.Control(qv::kIdEdit5).Text(), kExe814);
  EXPECT_EQ(main.Control(qv::kIdEdit6).Text(), kDll814);
  ExpectStored("GSWIN32C", kExe814);
  // The stored library exists, so Ghostscript's registration is not
  // consulted and the 8.50 one does not replace it.
  ExpectStored("GS_DLL", kDll814);
  Exit(tool, main);
}

TEST(Ghostscript, ChangeButtonsStoreTheChoiceAtOnceAndCancelKeepsAll) {
  e2e::PlantGhostscript();
  CreateDirectoryA("C:\\tools", nullptr);
  Tool tool = Tool::Start();
  const Window main = StartQuietly(tool);
  ASSERT_TRUE(static_cast<bool>(main));

  // Any file is taken, whatever its name.
  main.Control(qv::kIdLMDButton5).Press();
  e2e::FileDialogWindow dialog = tool.WaitFileDialog();
  ASSERT_TRUE(static_cast<bool>(dialog));
  dialog.Choose("C:\\tools\\notgs.exe");
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return main.Control(qv::kIdEdit5).Text() == "C:\\tools\\notgs.exe"; }, 5s));
  EXPECT_FALSE(tool.FindMessageBox());
  ExpectStored("GSWIN32C", "C:\\tools\\notgs.exe");
  EXPECT_EQ(main.Control(qv::kIdEdit6).Text(), e2e::kGsDll);

  // Cancelled: field and registry as they were, no message.
  main.Control(qv::kIdLMDButton6).Press();
  dialog = tool.WaitFileDialog();
  ASSERT_TRUE(static_cast<bool>(dialog));
  dialog.Cancel();
  EXPECT_TRUE(e2e::WaitFor([&] { return !dialog; }, 5s));
  Sleep(300);
  EXPECT_FALSE(tool.FindMessageBox());
  EXPECT_EQ(main.Control(qv::kIdEdit6).Text(), e2e::kGsDll);
  ExpectStored("GS_DLL", e2e::kGsDll);
  ExpectStored("GSWIN32C", "C:\\tools\\notgs.exe");
  Exit(tool, main);
}

}  // namespace
