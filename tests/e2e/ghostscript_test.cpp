// Finding Ghostscript: from its own registrations in the 32-bit view, from
// the stored paths, and by the user's choice in the browse dialogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

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
constexpr const char* kAfplKey = "HKLM\\SOFTWARE\\AFPL Ghostscript";
constexpr const char* kGplKey = "HKLM\\SOFTWARE\\GPL Ghostscript";

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

// Runs the console program's status with these options; its output,
// printed for the log, with CRLF line ends as LF, and its exit code.
int Status(const std::string& options, std::string* out) {
  const int code =
      e2e::RunProgram("\"" + e2e::ToolFolder() + "QuorvinConfigCmd.exe\" status " + options, out);
  out->erase(std::remove(out->begin(), out->end(), '\r'), out->end());
  std::printf("status %s (exit %d):\n%s", options.c_str(), code, out->c_str());
  return code;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
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

// A machine set up today: Ghostscript 9.56.1 and 10.04.0 from their own
// installers, registered only under "GPL Ghostscript" in the 32-bit view.
// Runs first in its world.
TEST(GplGhostscript, FirstStartTakesTheHighestVersionWithoutAQuestion) {
  ASSERT_FALSE(e2e::RegQuery(e2e::kSettingsKey, "GS_DLL").found) << "the world is not fresh";
  const std::string old = "C:\\Program Files (x86)\\gs\\gs9.56.1\\bin\\";
  const std::string bin = "C:\\Program Files (x86)\\gs\\gs10.04.0\\bin\\";
  for (const std::string& folder : {old, bin}) {
    for (const char* file : {"gsdll32.dll", "gswin32c.exe"}) e2e::CreateEmptyFile(folder + file);
  }
  e2e::RegAdd("HKLM\\SOFTWARE\\GPL Ghostscript\\9.56.1", "GS_DLL", "REG_SZ", old + "gsdll32.dll");
  e2e::RegAdd("HKLM\\SOFTWARE\\GPL Ghostscript\\10.04.0", "GS_DLL", "REG_SZ", bin + "gsdll32.dll");

  std::string out;
  EXPECT_EQ(Status("--json", &out), 3);  // nothing stored yet
  EXPECT_TRUE(Contains(out,
                       "\"version\": \"10.04.0\",\n        \"GS_DLL\": \"C:\\\\Program Files "
                       "(x86)\\\\gs\\\\gs10.04.0\\\\bin\\\\gsdll32.dll\",\n        \"exists\": "
                       "true,\n        \"chosen\": true"));
  EXPECT_TRUE(Contains(out, "\"only_64bit\": null"));

  Tool tool = Tool::Start();
  const Window main = StartQuietly(tool);
  ASSERT_TRUE(static_cast<bool>(main));
  EXPECT_EQ(main.Control(qv::kIdEdit5).Text(), bin + "gswin32c.exe");
  EXPECT_EQ(main.Control(qv::kIdEdit6).Text(), bin + "gsdll32.dll");
  ExpectStored("GS_DLL", bin + "gsdll32.dll");
  ExpectStored("GSWIN32C", bin + "gswin32c.exe");
  Exit(tool, main);
}

// Only the 64-bit Ghostscript, which the package cannot load: status says
// so, and still reports Ghostscript missing.
TEST(GplGhostscript, StatusTellsOfAGhostscriptOnlyIn64Bit) {
  for (const char* key : {e2e::kSettingsKey, kGplKey}) e2e::RegDelete(key);
  const std::string dll = "C:\\Program Files\\gs\\gs10.04.0\\bin\\gsdll64.dll";
  e2e::CreateEmptyFile(dll);
  ASSERT_EQ(
      e2e::RunProgram("reg.exe add \"HKLM\\SOFTWARE\\GPL Ghostscript\\10.04.0\" /v GS_DLL /d \"" +
                      dll + "\" /reg:64 /f"),
      0);
  std::string out;
  EXPECT_EQ(Status("--json", &out), 3);
  EXPECT_TRUE(Contains(out,
                       "\"registered\": [],\n    \"only_64bit\": \"C:\\\\Program "
                       "Files\\\\gs\\\\gs10.04.0\\\\bin\\\\gsdll64.dll\"\n  },"));
}

// A GPL registration that would do, but an AFPL one whose GS_DLL is not
// text: the search ends at the AFPL one. Nothing is chosen or stored, and
// the start says why. Last in its world, and it clears up after itself.
TEST(GplGhostscript, AWrongTypedAfplRegistrationEndsTheSearch) {
  static const std::string kBin = "C:\\Program Files (x86)\\gs\\gs10.0\\bin\\";
  struct CleanUp {
    ~CleanUp() {
      for (const char* key : {kAfplKey, kGplKey}) e2e::RegDelete(key);
      for (const char* file : {"gsdll32.dll", "gswin32c.exe"}) DeleteFileA((kBin + file).c_str());
    }
  } cleanUp;
  for (const char* key : {e2e::kSettingsKey, kAfplKey, kGplKey}) e2e::RegDelete(key);
  for (const char* file : {"gsdll32.dll", "gswin32c.exe"}) e2e::CreateEmptyFile(kBin + file);
  e2e::RegAdd(std::string(kAfplKey) + "\\8.50", "GS_DLL", "REG_DWORD", "5");
  e2e::RegAdd(std::string(kGplKey) + "\\10.0", "GS_DLL", "REG_SZ", kBin + "gsdll32.dll");

  std::string out;
  EXPECT_EQ(Status("--json", &out), 3);
  EXPECT_TRUE(Contains(out,
                       "\"version\": \"10.0\",\n        \"GS_DLL\": \"C:\\\\Program Files "
                       "(x86)\\\\gs\\\\gs10.0\\\\bin\\\\gsdll32.dll\",\n        \"exists\": "
                       "true,\n        \"chosen\": false"))
      << "the GPL registration is seen, and passed over";
  EXPECT_FALSE(Contains(out, "\"chosen\": true"));
  EXPECT_TRUE(Contains(out, "\"code\": \"ghostscript_dll_missing\""));

  Tool tool = Tool::Start();
  tool.AnswerMessageBox(
      {"Quorvin PDF Configuration Tool", "Invalid data type for 'GS_DLL'", "red", {"OK"}});
  const Window main = tool.WaitMainWindow();
  ASSERT_TRUE(static_cast<bool>(main));
  EXPECT_FALSE(e2e::RegQuery(e2e::kSettingsKey, "GS_DLL").found);
  Exit(tool, main);
}

}  // namespace
