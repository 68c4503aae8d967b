// The settings key, the port monitor key and the PDF port key as the
// distiller and the port monitor find them, read back with reg.exe, and
// the Options panel and "Fix PDF Port" driven through the real buttons.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdio>
#include <map>

#include "app/main_layout.h"
#include "harness.h"
#include "tests/common/texts.h"

namespace {

using e2e::Tool;
using e2e::Window;
using namespace std::chrono_literals;

constexpr const char* kMonitorKey =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF Port";
constexpr const char* kPortKey =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF "
    "Port\\Ports\\QuorvinPDF:";

// The warning before "Prompt me to save each PDF file" is saved checked.
const e2e::ExpectedBox kPromptWarning = {
    "Really Save Each PDF?", qv::texts::kPromptWarningText, "yellow", {"Yes", "No"}};

struct Expected {
  const char* type;
  std::string data;
};

// Compares a key's whole listing: the same value names, types and data,
// nothing missing and nothing more.
void ExpectKeyHolds(const std::string& key, const std::map<std::string, Expected>& expected) {
  SCOPED_TRACE(key);
  std::map<std::string, e2e::RegValue> actual;
  for (const auto& [name, value] : e2e::RegQueryKey(key)) actual[name] = value;
  for (const auto& [name, want] : expected) {
    SCOPED_TRACE(name);
    const auto it = actual.find(name);
    ASSERT_NE(it, actual.end()) << "missing value";
    EXPECT_EQ(it->second.type, want.type);
    EXPECT_EQ(it->second.data, want.data);
  }
  for (const auto& [name, value] : actual) {
    EXPECT_TRUE(expected.count(name)) << "unexpected value " << name << " " << value.type;
  }
}

void ExpectValue(const std::string& key, const std::string& name, const std::string& type,
                 const std::string& data) {
  const e2e::RegValue value = e2e::RegQuery(key, name);
  EXPECT_TRUE(value.found) << key << " " << name;
  EXPECT_EQ(value.type, type) << name;
  EXPECT_EQ(value.data, data) << name;
}

std::string DesktopFolder() {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path))) return "";
  return path;
}

std::map<std::string, Expected> DefaultPortValues() {
  const std::string own = e2e::ToolFolder();
  return {
      {"Description", {"REG_SZ", "Quorvin PDF Port"}},
      {"Command", {"REG_SZ", own + "qvpdfrun.exe"}},
      {"Arguments", {"REG_SZ", own + "QVPDFDistiller.exe %1"}},
      {"Printer", {"REG_SZ", ""}},
      {"Output", {"REG_DWORD", "0x0"}},
      {"ShowWindow", {"REG_DWORD", "0x2"}},
      {"RunUser", {"REG_DWORD", "0x1"}},
      {"Delay", {"REG_DWORD", "0x12c"}},
      {"LogFileUse", {"REG_DWORD", "0x0"}},
      {"LogFileName", {"REG_SZ", ""}},
      {"LogFileDebug", {"REG_DWORD", "0x0"}},
      {"PrintError", {"REG_DWORD", "0x0"}},
  };
}

class Settings : public e2e::ToolTest {
 protected:
  Window Control(int id) const { return main_.Control(id); }
  // Sets a check box by clicking it, as a person would.
  void SetChecked(int id, bool checked) {
    const Window box = Control(id);
    if (box.Checked() == checked) return;
    box.Press();
    EXPECT_TRUE(e2e::WaitFor([&] { return box.Checked() == checked; }, 5s));
  }
  void ExpectSavedConfirmation() {
    tool_->AnswerMessageBox({"Changes Saved", "Changes have been saved.", "", {"OK"}});
  }
};

TEST_F(Settings, FreshStartWritesDefaultsAndThePort) {
  const std::string own = e2e::ToolFolder();
  const std::string settingsText = e2e::RegQueryKeyText(e2e::kSettingsKey);
  const std::string portText = e2e::RegQueryKeyText(kPortKey);
  std::printf("---- reg query \"%s\" /reg:32\n%s", e2e::kSettingsKey, settingsText.c_str());
  std::printf("---- reg query \"%s\" /reg:32\n%s", kMonitorKey,
              e2e::RegQueryKeyText(kMonitorKey).c_str());
  std::printf("---- reg query \"%s\" /reg:32\n%s----\n", kPortKey, portText.c_str());

  const std::string desktop = DesktopFolder();
  EXPECT_FALSE(desktop.empty());
  ExpectKeyHolds(e2e::kSettingsKey, {
                                        {"GS_DLL", {"REG_SZ", e2e::kGsDll}},
                                        {"GSWIN32C", {"REG_SZ", e2e::kGsExe}},
                                        {"userDesktopDir", {"REG_SZ", desktop}},
                                        {"defaultPDFFile", {"REG_SZ", "QuorvinPDF.pdf"}},
                                        {"defaultPDFDir", {"REG_SZ", own + "PDFs"}},
                                        {"defaultPDFAppend", {"REG_SZ", "Copy"}},
                                        {"promptPDF", {"REG_DWORD", "0x0"}},
                                        {"finishMessage", {"REG_DWORD", "0x1"}},
                                        {"launchPDFApp", {"REG_DWORD", "0x1"}},
                                    });
  ExpectKeyHolds(kMonitorKey, {{"Driver", {"REG_SZ", "quorvinmonnt.dll"}}});
  ExpectKeyHolds(kPortKey, DefaultPortValues());

  // The Options group shows what was written.
  EXPECT_EQ(Control(qv::kIdEdit2).Text(), "QuorvinPDF.pdf");
  EXPECT_EQ(Control(qv::kIdEdit3).Text(), own + "PDFs");
  EXPECT_EQ(Control(qv::kIdEdit4).Text(), "Copy");
  EXPECT_FALSE(Control(qv::kIdCheckBox1).Checked());
  EXPECT_TRUE(Control(qv::kIdCheckBox2).Checked());
  EXPECT_TRUE(Control(qv::kIdCheckBox3).Checked());
}

TEST_F(Settings, SaveChangesWritesWhatTheWindowShows) {
  // Unchecked prompt box: no warning, straight to the confirmation.
  Control(qv::kIdEdit4).SetText("Kopie");
  SetChecked(qv::kIdCheckBox3, false);
  Control(qv::kIdSaveChangesBtn).Press();
  ExpectSavedConfirmation();
  ExpectValue(e2e::kSettingsKey, "defaultPDFAppend", "REG_SZ", "Kopie");
  ExpectValue(e2e::kSettingsKey, "promptPDF", "REG_DWORD", "0x0");
  ExpectValue(e2e::kSettingsKey, "finishMessage", "REG_DWORD", "0x1");
  ExpectValue(e2e::kSettingsKey, "launchPDFApp", "REG_DWORD", "0x0");
  ExpectValue(e2e::kSettingsKey, "defaultPDFFile", "REG_SZ", "QuorvinPDF.pdf");
  ExpectValue(e2e::kSettingsKey, "defaultPDFDir", "REG_SZ", e2e::ToolFolder() + "PDFs");

  // Prompt box checked, warning answered No: the box is unchecked and 0
  // is stored.
  SetChecked(qv::kIdCheckBox1, true);
  Control(qv::kIdSaveChangesBtn).Press();
  tool_->AnswerMessageBox(kPromptWarning, "No");
  ExpectSavedConfirmation();
  EXPECT_FALSE(Control(qv::kIdCheckBox1).Checked());
  ExpectValue(e2e::kSettingsKey, "promptPDF", "REG_DWORD", "0x0");

  // Answered Yes: checked, 1 stored. The empty append field is saved as
  // an empty string, not replaced by the default.
  SetChecked(qv::kIdCheckBox1, true);
  SetChecked(qv::kIdCheckBox2, false);
  Control(qv::kIdEdit4).SetText("");
  Control(qv::kIdSaveChangesBtn).Press();
  tool_->AnswerMessageBox(kPromptWarning, "Yes");
  ExpectSavedConfirmation();
  EXPECT_TRUE(Control(qv::kIdCheckBox1).Checked());
  ExpectValue(e2e::kSettingsKey, "promptPDF", "REG_DWORD", "0x1");
  ExpectValue(e2e::kSettingsKey, "finishMessage", "REG_DWORD", "0x0");
  ExpectValue(e2e::kSettingsKey, "defaultPDFAppend", "REG_SZ", "");

  // A new start shows what was saved, the empty field included.
  ASSERT_NO_FATAL_FAILURE(Exit(*tool_, main_));
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_EQ(Control(qv::kIdEdit4).Text(), "");
  EXPECT_TRUE(Control(qv::kIdCheckBox1).Checked());
  EXPECT_FALSE(Control(qv::kIdCheckBox2).Checked());
  EXPECT_FALSE(Control(qv::kIdCheckBox3).Checked());
  ExpectValue(e2e::kSettingsKey, "defaultPDFAppend", "REG_SZ", "");
}

TEST_F(Settings, ChangeButtonFillsTheFieldsAndSaveStoresThem) {
  CreateDirectoryA("C:\\Out", nullptr);
  const std::string fileBefore = Control(qv::kIdEdit2).Text();
  const std::string dirBefore = Control(qv::kIdEdit3).Text();
  const e2e::RegValue storedFile = e2e::RegQuery(e2e::kSettingsKey, "defaultPDFFile");
  const e2e::RegValue storedDir = e2e::RegQuery(e2e::kSettingsKey, "defaultPDFDir");
  const e2e::ExpectedBox warning = {
      "Warning",
      "You still have to click Save Changes for these settings to take effect.",
      "blue",
      {"OK"}};

  // Cancelled: the warning all the same, nothing changed.
  Control(qv::kIdLMDButton4).Press();
  e2e::FileDialogWindow dialog = tool_->WaitFileDialog();
  ASSERT_TRUE(static_cast<bool>(dialog));
  dialog.Cancel();
  tool_->AnswerMessageBox(warning);
  EXPECT_EQ(Control(qv::kIdEdit2).Text(), fileBefore);
  EXPECT_EQ(Control(qv::kIdEdit3).Text(), dirBefore);

  // Accepted: file name and folder shown apart, the registry untouched.
  Control(qv::kIdLMDButton4).Press();
  dialog = tool_->WaitFileDialog();
  ASSERT_TRUE(static_cast<bool>(dialog));
  dialog.Choose("C:\\Out\\report.pdf");
  const e2e::MessageBoxWindow box = tool_->ExpectMessageBox(warning);
  EXPECT_EQ(Control(qv::kIdEdit2).Text(), "report.pdf");
  EXPECT_EQ(Control(qv::kIdEdit3).Text(), "C:\\Out\\");
  box.Answer();
  const e2e::RegValue fileNow = e2e::RegQuery(e2e::kSettingsKey, "defaultPDFFile");
  const e2e::RegValue dirNow = e2e::RegQuery(e2e::kSettingsKey, "defaultPDFDir");
  EXPECT_EQ(fileNow.data, storedFile.data) << "written before Save Changes";
  EXPECT_EQ(dirNow.data, storedDir.data) << "written before Save Changes";

  SetChecked(qv::kIdCheckBox1, false);
  Control(qv::kIdSaveChangesBtn).Press();
  ExpectSavedConfirmation();
  ExpectValue(e2e::kSettingsKey, "defaultPDFFile", "REG_SZ", "report.pdf");
  ExpectValue(e2e::kSettingsKey, "defaultPDFDir", "REG_SZ", "C:\\Out\\");
}

TEST_F(Settings, FixPdfPortRestoresThePortEachTime) {
  const std::string restored = "The default PDF port properties have been restored.";
  e2e::RegAdd(kPortKey, "Delay", "REG_DWORD", "1000");
  e2e::RegAdd(kPortKey, "Description", "REG_SZ", "changed by hand");
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    Control(qv::kIdLMDButton2).Press();
    tool_->AnswerMessageBox({"Fix PDF Port", restored, "", {"OK"}});
    ExpectKeyHolds(kPortKey, DefaultPortValues());
    ExpectValue(kMonitorKey, "Driver", "REG_SZ", "quorvinmonnt.dll");
  }
}

// The port monitor check at start-up: a foreign Driver is repaired
// silently, a correct one leaves the port as it is.
TEST(PortMonitorAtStart, DriverInCapitalsIsRewrittenSilently) {
  e2e::PlantGhostscript();
  e2e::RegAdd(kMonitorKey, "Driver", "REG_SZ", "QUORVINMONNT.DLL");
  e2e::RegAdd(kPortKey, "Delay", "REG_DWORD", "1000");
  Tool tool = Tool::Start();
  const Window main = tool.WaitMainWindow();
  ASSERT_TRUE(static_cast<bool>(main));
  EXPECT_FALSE(tool.FindMessageBox());
  ExpectValue(kMonitorKey, "Driver", "REG_SZ", "quorvinmonnt.dll");
  ExpectKeyHolds(kPortKey, DefaultPortValues());
  Exit(tool, main);
}

TEST(PortMonitorAtStart, CorrectDriverLeavesHandChangedPortAlone) {
  e2e::PlantGhostscript();
  e2e::RegAdd(kMonitorKey, "Driver", "REG_SZ", "quorvinmonnt.dll");
  e2e::RegAdd(kPortKey, "Delay", "REG_DWORD", "1000");
  e2e::RegAdd(kPortKey, "Command", "REG_SZ", "C:\\elsewhere\\run.exe");
  Tool tool = Tool::Start();
  const Window main = tool.WaitMainWindow();
  ASSERT_TRUE(static_cast<bool>(main));
  EXPECT_FALSE(tool.FindMessageBox());
  ExpectValue(kPortKey, "Delay", "REG_DWORD", "0x3e8");
  ExpectValue(kPortKey, "Command", "REG_SZ", "C:\\elsewhere\\run.exe");
  Exit(tool, main);
}

}  // namespace
