// Finding Ghostscript at start and choosing its files by hand.
#include <gtest/gtest.h>

#include <tuple>

#include "config/registry_layout.h"
#include "ghostscript/choose.h"
#include "ghostscript/registrations.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

using fakes::BoxesShown;
using fakes::FakeWorld;
using fakes::GhostscriptMissingBox;
const std::string kKey = layout::kSettingsKey;
const std::string kGpl = "SOFTWARE\\GPL Ghostscript\\";
const std::string kArtifex = "SOFTWARE\\Artifex Ghostscript\\";

class Locator : public ::testing::Test {
 protected:
  void Locate() {
    w.form->Commands().Execute([this] {
      Registry reg(w.registry);
      w.form->LocateGhostscript(reg);
    });
  }
  FakeWorld w;
};

TEST_F(Locator, ValidStoredPathsAreShownWithoutAnyWrite) {
  w.registry.PutString(kKey, "GS_DLL", "C:\\gs\\gsdll32.dll");
  w.registry.PutString(kKey, "GSWIN32C", "C:\\gs\\gswin32c.exe");
  w.registry.PutString(kGpl + "10.04.0", "GS_DLL", "C:\\gs10\\gsdll32.dll");
  w.files.files = {"C:\\gs\\gsdll32.dll", "C:\\gs\\gswin32c.exe", "C:\\gs10\\gsdll32.dll"};
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
  EXPECT_TRUE(BoxesShown(w.dialogs, {GhostscriptMissingBox("gswin32c.exe")}));
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
  EXPECT_TRUE(BoxesShown(
      w.dialogs, {GhostscriptMissingBox("gswin32c.exe"), GhostscriptMissingBox("gsdll32.dll")}));
  EXPECT_EQ(w.dialogs.fileDialogs,
            (std::vector<std::string>{"open:gswin32c.exe", "open:gsdll32.dll"}));
  EXPECT_EQ(w.Edit5.text, "");
  EXPECT_EQ(w.Edit6.text, "");
  EXPECT_FALSE(w.registry.HasKey(kKey));
  EXPECT_FALSE(w.registry.HasKey("SOFTWARE\\AFPL Ghostscript"));  // only ever read
  EXPECT_FALSE(w.registry.HasKey(kGpl));
  EXPECT_FALSE(w.registry.HasKey(kArtifex));
}

// Today's installers: only when the AFPL registration leaves no existing
// library, the highest GPL or Artifex version whose library exists, read
// with read-only opens and stored as an AFPL hit is.
TEST(LaterGhostscripts, HighestInstalledVersionWhenTheAfplOneLeavesNone) {
  const std::string afpl = "SOFTWARE\\AFPL Ghostscript\\8.50";
  struct Case {
    std::string stored;  // GS_DLL at the end
    int writes;
    // GS_DLL; "X:" ones are gone, "R:" ones too, in a key the user may only read.
    std::vector<std::pair<std::string, std::string>> registered;
  };
  const Case cases[] = {
      // GPL before an equal Artifex; names that are not numeric rank below.
      {"C:\\10\\gsdll32.dll",
       2,  // GS_DLL, then GSWIN32C beside it
       {{kGpl + "9.56.1", "C:\\9\\gsdll32.dll"},
        {kGpl + "10.04.0", "C:\\10\\gsdll32.dll"},
        {kGpl + "10.05.0", "X:\\gsdll32.dll"},
        {kGpl + "10.06.0rc1", "C:\\rc\\gsdll32.dll"},
        {kArtifex + "10.4", "C:\\art\\gsdll32.dll"}}},
      // An existing AFPL hit stays, a missing one is replaced, and nothing
      // missing is taken.
      {"C:\\afpl\\gsdll32.dll",
       1,
       {{afpl, "C:\\afpl\\gsdll32.dll"}, {kGpl + "10", "C:\\10\\gsdll32.dll"}}},
      {"C:\\art\\gsdll32.dll",
       2,
       {{afpl, "X:\\gsdll32.dll"}, {kArtifex + "9.05", "C:\\art\\gsdll32.dll"}}},
      {"X:\\gsdll32.dll", 1, {{afpl, "X:\\gsdll32.dll"}, {kGpl + "10", "X:\\10\\gsdll32.dll"}}},
      // The window opens AFPL's keys for writing: one it may only read is
      // passed over, not taken as empty.
      {"C:\\10\\gsdll32.dll", 2, {{afpl, "R:\\gsdll32.dll"}, {kGpl + "10", "C:\\10\\gsdll32.dll"}}},
      // An AFPL GS_DLL of another type ends the search before GPL is
      // looked at: nothing is chosen, and only the hits before it stored.
      {"", 0, {{afpl, "REG_DWORD"}, {kGpl + "10.0", "C:\\10\\gsdll32.dll"}}},
      {"C:\\afpl\\gsdll32.dll",
       1,
       {{afpl, "C:\\afpl\\gsdll32.dll"},
        {afpl + "1", "REG_DWORD"},
        {kGpl + "10.0", "C:\\10\\gsdll32.dll"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
    FakeWorld w;
    for (const auto& [key, path] : c.registered) {
      if (path == "REG_DWORD") {
        w.registry.PutDword(key, "GS_DLL", 1);
        continue;
      }
      w.registry.PutString(key, "GS_DLL", path);
      if (path[0] == 'C') w.files.files.insert(path);
      if (path[0] == 'R') w.registry.SetReadOnly(key);
    }
    w.files.files.insert("C:\\10\\gswin32c.exe");
    w.registry.PutDword(kGpl + "99", "GS_DLL", 1);  // another type: skipped, no error
    w.registry.AddKey(kArtifex + "99");             // no GS_DLL: skipped
    w.registry.SetReadOnly(kGpl);
    w.registry.SetReadOnly(kArtifex);
    w.dialogs.Cancel().Cancel();
    // status reads the same choice, read-only, before anything is stored.
    Registry statusReg(w.registry);
    const GhostscriptChoice choice = ChooseGhostscript(statusReg, w.files, KeyAccess::ReadOnly);
    // A search that an error ends chooses nothing, whatever it stored.
    const std::string chosen = choice.error ? "" : c.stored;
    EXPECT_EQ(choice.chosen < 0 ? std::string() : choice.registered[choice.chosen].gsDll, chosen);
    w.form->Commands().Execute([&w] {
      Registry reg(w.registry);
      w.form->LocateGhostscript(reg);
    });
    EXPECT_EQ(w.registry.GetString(kKey, "GS_DLL").value_or(""), c.stored);
    EXPECT_EQ(w.form->GhostscriptDll(), chosen);
    EXPECT_EQ(w.registry.WriteCount(), c.writes);
  }
}

TEST(LaterGhostscripts, OneVersionOrder) {
  // From low to high; "=" marks a name equal to the one before it. The
  // names that are not numeric come first.
  const std::string ascending[] = {
      "10.04.0rc1", "=9..5",   "=latest", "=1234567890", "=9.",     "=.9",      "=",   "=-1",
      "= 9",        "=9.x",    "0",       "=0.0.0",      "7",       "=007",     "9.5", "=9.5.0",
      "=9.05",      "9.5.0.1", "9.10",    "9.56.1",      "10.04.0", "123456789"};
  int rank[std::size(ascending)] = {};
  for (std::size_t i = 1; i < std::size(ascending); ++i) {
    rank[i] = rank[i - 1] + (ascending[i][0] == '=' ? 0 : 1);
  }
  const auto name = [&](std::size_t i) { return ascending[i].substr(ascending[i][0] == '='); };
  for (std::size_t i = 0; i < std::size(ascending); ++i) {
    for (std::size_t j = 0; j < std::size(ascending); ++j) {
      const int order = CompareGhostscriptVersions(name(i), name(j));
      EXPECT_EQ((order > 0) - (order < 0), (rank[i] > rank[j]) - (rank[i] < rank[j]))
          << name(i) << " vs " << name(j);
    }
  }
}

TEST_F(Locator, ChosenFilesAreStoredAtOnceWhateverTheirName) {
  w.dialogs.Choose("C:\\tools\\notgs.exe").Choose("C:\\tools\\x.dll");
  Locate();
  EXPECT_EQ(w.registry.GetString(kKey, "GSWIN32C"), "C:\\tools\\notgs.exe");
  EXPECT_EQ(w.registry.GetString(kKey, "GS_DLL"), "C:\\tools\\x.dll");
  EXPECT_EQ(w.form->GhostscriptExe(), "C:\\tools\\notgs.exe");
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
    const std::string& (TfrmMain::*path)() const;
    MemoryText FakeWorld::*field;
    const char* shown;
  };
  const Case cases[] = {
      {&TfrmMain::LMDButton5Click, &TfrmMain::GhostscriptExe, &FakeWorld::Edit5,
       "Failed to set data for 'GSWIN32C'"},
      {&TfrmMain::LMDButton6Click, &TfrmMain::GhostscriptDll, &FakeWorld::Edit6,
       "Failed to set data for 'GS_DLL'"},
  };
  for (const Case& c : cases) {
    FakeWorld world;
    world.dialogs.Choose("C:\\gs\\old");
    world.Click(c.click);
    world.registry.SetAllReadOnly(true);
    world.dialogs.Choose("C:\\new\\file");
    world.Click(c.click);
    EXPECT_TRUE(BoxesShown(world.dialogs, {fakes::ErrorBox(c.shown)}));
    EXPECT_EQ((world.form.get()->*c.path)(), "C:\\gs\\old");
    EXPECT_EQ((world.*c.field).text, "C:\\gs\\old");
    EXPECT_EQ(fakes::EventSummaries(world.events),  // the failed write changed nothing
              std::vector<std::string>{"1006 I: The stored Ghostscript path changed."});
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
