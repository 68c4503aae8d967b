// The About window's logic: its version line and the two links.
#include "about/about.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

TEST(About, ActivationSetsTheVersionAndOkHides) {
  fakes::FakeProcesses processes;
  MemoryText label2;
  TfrmAbout about(processes, AboutFormControls{label2});
  int hidden = 0;
  about.closeWindow = [&] { ++hidden; };
  label2.text = "changed";
  about.FormActivate();
  EXPECT_EQ(label2.text, "Version 1.01");
  about.LMDButton1Click();
  EXPECT_EQ(hidden, 1);
}

TEST(About, LinksAskTheShellForTheSiteAndANewMail) {
  fakes::FakeProcesses processes;
  MemoryText label2;
  TfrmAbout about(processes, AboutFormControls{label2});
  about.ownerWindow = 0x1234;
  about.Label4Click();
  about.Label7Click();
  ASSERT_EQ(processes.opened.size(), 2u);
  for (const auto& open : processes.opened) {
    EXPECT_EQ(open.owner, 0x1234u);
    EXPECT_EQ(open.operation, "open");
    EXPECT_EQ(open.parameters, "");
    EXPECT_EQ(open.directory, "");
    EXPECT_EQ(open.show, 5);  // SW_SHOW
  }
  EXPECT_EQ(processes.opened[0].file, "www.hollisfield.example");
  EXPECT_EQ(processes.opened[1].file, "mailto:support@hollisfield.example");
  EXPECT_TRUE(processes.starts.empty());
}

}  // namespace
}  // namespace qv
