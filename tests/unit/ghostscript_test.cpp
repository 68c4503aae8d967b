// Finding Ghostscript at start and choosing its files by hand.
#include <gtest/gtest.h>

#include "config/registry_layout.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

using fakes::FakeWorld;
const std::string kKey = layout::kSettingsKey;

class Locator : public ::testing::Test {
 protected:
  void Locate() {
    w.form->Commands().Execute([this] {
      Registry reg(w.registry);
      w.form->LocateGhostscript(reg);
    });
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> c;
    for (const auto& b : w.dialogs.boxes) c.push_back(b.caption);
    return c;
  }
  FakeWorld w;
};

TEST_F(Locator, ValidStoredPathsAreShownWithoutAnyWrite) {
  w.registry.PutString(kKey, "GS_DLL", "C:\\gs\\gsdll32.dll");
  w.registry.PutString(kKey, "GSWIN32C", "C:\\gs\\gswin32c.exe");
  w.files.files = {"C:\\gs\\gsdll32.dll", "C:\\gs\\gswin32c.exe"};
  Locate();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_EQ(w.registry.WriteCount(), 0);
  EXPECT_EQ(w.Edit5.text, "C:\\gs\\gswin32c.exe");
  EXPECT_EQ(w.Edit6.text, "C:\\gs\\gsdll32.dll");
}

TEST_F(Locator, LastRegisteredVersionWinsAndTheProgramBesideItIsTaken) {
  w.registry.PutString("SOFTWARE\\AFPL Ghostscript\\8.14", "GS_DLL",
                       "C:\\gs\\gs8.14\\bin\\gsdll32.dll");
  w.registry.PutString("SOFTWARE\\AFPL Ghostscript\\8.50", "GS_DLL",
                       "C:\\gs\\gs8.50\\bin\\gsdll32.dll");
  w.registry.AddKey("SOFTWARE\\AFPL Ghostscript\\fonts");  // no GS_DLL: skipped
  w.files.files = {"C:\\gs\\gs8.50\\bin\\gsdll32.dll", "C:\\gs\\gs8.50\\bin\\gswin32c.exe"};
  Locate();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_EQ(w.registry.GetString(kKey, "GS_DLL"), "C:\\gs\\gs8.50\\bin\\gsdll32.dll");
  EXPECT_EQ(w.registry.GetString(kKey, "GSWIN32C"), "C:\\gs\\gs8.50\\bin\\gswin32c.exe");
  EXPECT_EQ(w.Edit5.text, "C:\\gs\\gs8.50\\bin\\gswin32c.exe");
  EXPECT_EQ(w.registry.OpenHandleCount(), 0);
}

TEST_F(Locator, WithoutTheProgramBesideTheLibraryOnlyItsSearchIsAsked) {
  w.registry.PutString("SOFTWARE\\AFPL Ghostscript\\8.50", "GS_DLL", "C:\\gs\\bin\\gsdll32.dll");
  w.files.files = {"C:\\gs\\bin\\gsdll32.dll"};
  w.dialogs.Cancel();
  Locate();
  EXPECT_EQ(Captions(), std::vector<std::string>{"Can't find gswin32c.exe"});
  EXPECT_EQ(w.dialogs.fileDialogs, std::vector<std::string>{"open:gswin32c.exe"});
  EXPECT_FALSE(w.registry.GetString(kKey, "GSWIN32C").has_value());
  EXPECT_EQ(w.Edit5.text, "");
  EXPECT_EQ(w.Edit6.text, "C:\\gs\\bin\\gsdll32.dll");
}

TEST_F(Locator, DeletedProgramIsReplacedSilentlyByTheOneBesideTheLibrary) {
  w.registry.PutString(kKey, "GS_DLL", "C:\\gs\\gsdll32.dll");
  w.registry.PutString(kKey, "GSWIN32C", "C:\\old\\gswin32c.exe");
  w.files.files = {"C:\\gs\\gsdll32.dll", "C:\\gs\\gswin32c.exe"};
  Locate();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_EQ(w.registry.GetString(kKey, "GSWIN32C"), "C:\\gs\\gswin32c.exe");
}

TEST_F(Locator, NothingFoundAsksForTheProgramFirstThenTheLibrary) {
  Locate();
  ASSERT_EQ(Captions(),
            (std::vector<std::string>{"Can't find gswin32c.exe", "Can't find gsdll32.dll"}));
  EXPECT_EQ(w.dialogs.boxes[0].flags, 0x10u);
  EXPECT_EQ(w.dialogs.boxes[0].text,
            "We could not find gswin32c.exe on your system.\r"
            "Click OK to browse for the gswin32c.exe file on your system.\r"
            "Normally this file is located under c:\\gs\\gsx.xx\\bin (where x.xx is the version "
            "of GhostScript)\r"
            "If you do not have GhostScript installed at this time, please do so as this "
            "program requires it.");
  EXPECT_EQ(w.dialogs.fileDialogs,
            (std::vector<std::string>{"open:gswin32c.exe", "open:gsdll32.dll"}));
  EXPECT_EQ(w.Edit5.text, "");
  EXPECT_EQ(w.Edit6.text, "");
  EXPECT_FALSE(w.registry.HasKey(kKey));
}

TEST_F(Locator, ChosenFilesAreStoredAtOnceWhateverTheirName) {
  w.dialogs.Choose("C:\\tools\\notgs.exe").Choose("C:\\tools\\x.dll");
  Locate();
  EXPECT_EQ(w.registry.GetString(kKey, "GSWIN32C"), "C:\\tools\\notgs.exe");
  EXPECT_EQ(w.registry.GetString(kKey, "GS_DLL"), "C:\\tools\\x.dll");
  EXPECT_EQ(w.form->GsExePath, "C:\\tools\\notgs.exe");
  EXPECT_EQ(w.Edit5.text, "C:\\tools\\notgs.exe");
  EXPECT_EQ(w.Edit6.text, "C:\\tools\\x.dll");

  // The Change buttons open the same dialogs, starting from the last choice.
  w.dialogs.Cancel();
  w.Click(&TfrmMain::LMDButton5Click);
  EXPECT_EQ(w.dialogs.fileDialogs.back(), "open:C:\\tools\\notgs.exe");
}

TEST_F(Locator, WriteFailureInTheBrowseDialogLeavesPathAndFieldUnchanged) {
  w.Edit6.text = "C:\\gs\\gsdll32.dll";
  w.form->GsDllPath = "C:\\gs\\gsdll32.dll";
  w.registry.SetAllReadOnly(true);
  w.dialogs.Choose("C:\\new\\gsdll32.dll");
  w.Click(&TfrmMain::LMDButton6Click);
  ASSERT_EQ(w.dialogs.boxes.size(), 1u);
  EXPECT_EQ(w.dialogs.boxes[0].text, "Failed to set data for 'GS_DLL'");
  EXPECT_EQ(w.form->GsDllPath, "C:\\gs\\gsdll32.dll");
  EXPECT_EQ(w.Edit6.text, "C:\\gs\\gsdll32.dll");
  EXPECT_EQ(w.registry.OpenHandleCount(), 0);
}

}  // namespace
}  // namespace qv
