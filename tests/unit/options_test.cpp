// The Options group: choosing the default file and saving the options.
#include <gtest/gtest.h>

#include "config/registry_layout.h"
#include "tests/common/texts.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

using fakes::BoxesShown;
using fakes::FakeWorld;
const std::string kKey = layout::kSettingsKey;
const fakes::FakeDialogs::Box kSaved = {"Changes have been saved.", "Changes Saved", 0};

TEST(ChangeDefaultFile, ChoiceFillsTheFieldsAndAlwaysWarns) {
  FakeWorld w;
  w.dialogs.Choose("D:\\Out\\report.pdf");
  w.Click(&TfrmMain::LMDButton4Click);
  EXPECT_EQ(w.dialogs.fileDialogs, std::vector<std::string>{"save:QuorvinPDF.pdf"});
  EXPECT_EQ(w.dialogs.fileDialogDirs, std::vector<std::string>{"C:\\Pkg\\"});
  EXPECT_EQ(w.Edit2.text, "report.pdf");
  EXPECT_EQ(w.Edit3.text, "D:\\Out\\");
  EXPECT_EQ(w.registry.WriteCount(), 0);  // nothing stored before Save Changes
  const fakes::FakeDialogs::Box warning = {
      "You still have to click Save Changes for these settings to take effect.", "Warning", 0x40};
  EXPECT_TRUE(BoxesShown(w.dialogs, {warning}));

  // The next opening starts from the last choice; cancelling changes nothing.
  w.dialogs.Cancel();
  w.Click(&TfrmMain::LMDButton4Click);
  EXPECT_EQ(w.dialogs.fileDialogs.back(), "save:D:\\Out\\report.pdf");
  EXPECT_EQ(w.Edit2.text, "report.pdf");
  EXPECT_TRUE(BoxesShown(w.dialogs, {warning, warning}));
}

class SaveChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    w.registry.AddKey(kKey);
    w.form->ShowSettings();  // as a start does
    w.Edit2.text = "a.pdf";
    w.Edit3.text = "C:\\Out\\";
    w.Edit4.text = "";
    w.CheckBox2.checked = true;
  }
  FakeWorld w;
};

TEST_F(SaveChanges, StoresEveryOptionInOrderWithItsType) {
  w.Click(&TfrmMain::savechangesBtnClick);
  EXPECT_EQ(w.registry.ValueNames(kKey),
            (std::vector<std::string>{"defaultPDFFile", "defaultPDFDir", "defaultPDFAppend",
                                      "promptPDF", "finishMessage", "launchPDFApp"}));
  EXPECT_EQ(w.registry.GetString(kKey, "defaultPDFFile"), "a.pdf");
  EXPECT_EQ(w.registry.GetString(kKey, "defaultPDFDir"), "C:\\Out\\");
  EXPECT_EQ(w.registry.GetString(kKey, "defaultPDFAppend"), "");  // a lone NUL
  EXPECT_EQ(w.registry.Get(kKey, "defaultPDFAppend")->data, std::vector<unsigned char>{0});
  EXPECT_EQ(w.registry.GetDword(kKey, "promptPDF"), 0u);
  EXPECT_EQ(w.registry.GetDword(kKey, "finishMessage"), 1u);
  EXPECT_EQ(w.registry.GetDword(kKey, "launchPDFApp"), 0u);
  EXPECT_TRUE(BoxesShown(w.dialogs, {kSaved}));  // no warning with the box unchecked
  EXPECT_EQ(w.form->Settings().DefaultPdfFile, "a.pdf");
  // On record with each value's before and after; saving it again changes
  // nothing and records nothing.
  w.Click(&TfrmMain::savechangesBtnClick);
  ASSERT_EQ(fakes::EventSummaries(w.events),
            std::vector<std::string>{"1005 I: The options of the PDF printer changed."});
  EXPECT_NE(w.events.events[0].text.find("\\defaultPDFFile (32-bit view): missing -> \"a.pdf\""),
            std::string::npos)
      << w.events.events[0].text;
}

TEST_F(SaveChanges, PromptWarningDecidesTheStoredFlag) {
  w.CheckBox1.checked = true;
  w.dialogs.Answer(kIdNo);
  w.Click(&TfrmMain::savechangesBtnClick);
  EXPECT_TRUE(
      BoxesShown(w.dialogs, {{texts::kPromptWarningText, "Really Save Each PDF?", 0x34}, kSaved}));
  EXPECT_FALSE(w.CheckBox1.checked);
  EXPECT_EQ(w.registry.GetDword(kKey, "promptPDF"), 0u);

  w.CheckBox1.checked = true;
  w.dialogs.Answer(kIdYes);
  w.Click(&TfrmMain::savechangesBtnClick);
  EXPECT_TRUE(w.CheckBox1.checked);
  EXPECT_EQ(w.registry.GetDword(kKey, "promptPDF"), 1u);
}

TEST_F(SaveChanges, MissingKeyEndsWithTheFirstWriteError) {
  FakeWorld fresh;
  fresh.form->ShowSettings();
  fresh.Edit2.text = "b.pdf";
  fresh.Click(&TfrmMain::savechangesBtnClick);
  EXPECT_TRUE(
      BoxesShown(fresh.dialogs, {fakes::ErrorBox("Failed to set data for 'defaultPDFFile'")}));
  EXPECT_FALSE(fresh.registry.HasKey(kKey));
  EXPECT_TRUE(fresh.events.events.empty());
  EXPECT_EQ(fresh.form->Settings().DefaultPdfFile, "b.pdf");  // taken over before the write
}

}  // namespace
}  // namespace qv
