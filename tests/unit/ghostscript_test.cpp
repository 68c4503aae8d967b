// Finding Ghostscript at start and choosing its files by hand.
#include <gtest/gtest.h>

#include <tuple>

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

TEST_F(Locator, AStoredLibraryThatIsGoneLeadsToTheRegistration) {
  w.registry.PutString(kKey, "GS_DLL", "C:\\old\\gsdll32.dll");
  w.registry.PutString("SOFTWARE\\AFPL Ghostscript\\8.50", "GS_DLL", "C:\\gs\\gsdll32.dll");
  w.files.files = {"C:\\gs\\gsdll32.dll", "C:\\gs\\gswin32c.exe"};
  Locate();
  EXPECT_TRUE(w.dialogs.boxes.empty());
  EXPECT_EQ(w.registry.GetString(kKey, "GS_DLL"), "C:\\gs\\gsdll32.dll");
  EXPECT_EQ(w.Edit6.text, "C:\\gs\\gsdll32.dll");
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
  EXPECT_EQ(w.dialogs.boxes[1].flags, 0x10u);
  EXPECT_EQ(w.dialogs.boxes[1].text,
            "We could not find gsdll32.dll on your system.\r"
            "Click OK to browse for the gsdll32.dll file on your system.\r"
            "Normally this file is located under c:\\gs\\gsx.xx\\bin (where x.xx is the version "
            "of GhostScript)\r"
            "If you do not have GhostScript installed at this time, please do so as this "
            "program requires it.");
  EXPECT_EQ(w.dialogs.fileDialogs,
            (std::vector<std::string>{"open:gswin32c.exe", "open:gsdll32.dll"}));
  EXPECT_EQ(w.Edit5.text, "");
  EXPECT_EQ(w.Edit6.text, "");
  EXPECT_FALSE(w.registry.HasKey(kKey));
  EXPECT_FALSE(w.registry.HasKey("SOFTWARE\\AFPL Ghostscript"));  // only ever read
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
  struct Case {
    void (TfrmMain::*click)();
    std::string TfrmMain::*path;
    fakes::FakeText FakeWorld::*field;
    const char* shown;
  };
  const Case cases[] = {
      {&TfrmMain::LMDButton5Click, &TfrmMain::GsExePath, &FakeWorld::Edit5,
       "Failed to set data for 'GSWIN32C'"},
      {&TfrmMain::LMDButton6Click, &TfrmMain::GsDllPath, &FakeWorld::Edit6,
       "Failed to set data for 'GS_DLL'"},
  };
  for (const Case& c : cases) {
    FakeWorld world;
    (world.*c.field).text = "C:\\gs\\old";
    world.form.get()->*c.path = "C:\\gs\\old";
    world.registry.SetAllReadOnly(true);
    world.dialogs.Choose("C:\\new\\file");
    world.Click(c.click);
    ASSERT_EQ(world.dialogs.boxes.size(), 1u);
    EXPECT_EQ(world.dialogs.boxes[0].text, c.shown);
    EXPECT_EQ(world.form.get()->*c.path, "C:\\gs\\old");
    EXPECT_EQ((world.*c.field).text, "C:\\gs\\old");
  }
}

TEST(FileDialogs, DefaultExtensionsAndFilters) {
  FakeWorld w;
  const std::tuple<const FileDialog&, const char*, const char*, const char*> dialogs[] = {
      {w.form->OpenDialog1, "exe", "gswin32c.exe",
       "Application Program (*.exe)|*.exe|All Files|*.*"},
      {w.form->OpenDialog2, "dll", "gsdll32.dll", "Dynamic Link Library|*.dll|All Files|*.*"},
      {w.form->SaveDialog3, "pdf", "QuorvinPDF.pdf", "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*"},
  };
  for (const auto& [dialog, extension, name, filter] : dialogs) {
    EXPECT_EQ(dialog.defaultExt, extension);
    EXPECT_EQ(dialog.fileName, name);
    EXPECT_EQ(dialog.filter, filter);
  }
}

}  // namespace
}  // namespace qv
