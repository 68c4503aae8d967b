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

// The window makes its controls without a tab stop in table order (the
// first made lies on top), then the OK button.
TEST(About, ControlsAreMadeInTableOrderThenByTabOrder) {
  std::string order;
  for (const ControlEntry& c : InCreationOrder(AboutWindowControls()))
    order += c.name + std::string(" ");
  EXPECT_EQ(order, "Image1 Label1 Label2 Label6 Label5 Label3 Label4 Label7 LMDButton1 ");
}

// A group box's contents come just before it, by their own tab order, and
// sit relative to it; a control of the window is not taken for one of them.
TEST(ControlTables, GroupBoxContentsComeAtTheBoxesPlaceAndSitInsideIt) {
  using K = ControlKind;
  const std::vector<ControlEntry> table = {
      {"Top", 1, K::Button, 10, 10, 50, 20, "Top", 2},
      {"Box", 2, K::GroupBox, 100, 50, 200, 100, "Box", 1},
      {"Second", 3, K::Edit, 5, 40, 50, 20, "", 1, "Box"},
      {"First", 4, K::Edit, 5, 15, 50, 20, "", 0, "Box"},
      {"Last", 5, K::Button, 20, 200, 50, 20, "Last", 3},
  };
  std::string order;
  for (const ControlEntry& c : InCreationOrder(table)) order += c.name + std::string(" ");
  EXPECT_EQ(order, "First Second Box Top Last ");
  const Rect96 inside = PositionInWindow(table, table[2]);
  EXPECT_EQ(std::vector<int>({inside.left, inside.top, inside.width, inside.height}),
            std::vector<int>({105, 90, 50, 20}));
  const Rect96 outside = PositionInWindow(table, table[4]);
  EXPECT_EQ(std::vector<int>({outside.left, outside.top}), std::vector<int>({20, 200}));
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
    EXPECT_EQ(open.call.operation, "open");
    EXPECT_EQ(open.call.parameters, "");
    EXPECT_EQ(open.call.directory, "");
    EXPECT_EQ(open.call.showCommand, 5);  // SW_SHOW
  }
  EXPECT_EQ(processes.opened[0].call.file, "www.hollisfield.example");
  EXPECT_EQ(processes.opened[1].call.file, "mailto:support@hollisfield.example");
  EXPECT_TRUE(processes.starts.empty());
}

// An elevated tool hands both links, unchanged, to the desktop's shell;
// otherwise, and whenever that shell cannot be reached, ShellOpen opens them.
TEST(About, ElevatedLinksGoThroughTheDesktopShellWhenItAnswers) {
  const struct {
    bool elevated, reachable, throughDesktop;
  } kCases[] = {
      {false, false, false}, {false, true, false}, {true, false, false}, {true, true, true}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(::testing::Message()
                 << "elevated " << c.elevated << ", reachable " << c.reachable);
    fakes::FakeProcesses processes;
    processes.elevated = c.elevated;
    processes.desktopShellReachable = c.reachable;
    MemoryText label2;
    TfrmAbout about(processes, AboutFormControls{label2});
    about.Label4Click();
    about.Label7Click();
    const auto& taken = c.throughDesktop ? processes.desktopOpened : processes.opened;
    ASSERT_EQ(processes.opened.size() + processes.desktopOpened.size(), taken.size());
    ASSERT_EQ(taken.size(), 2u);
    for (const auto& open : taken) {
      EXPECT_EQ(open.call.operation + "|" + open.call.parameters + "|" + open.call.directory + "|" +
                    std::to_string(open.call.showCommand),
                "open|||5");
    }
    EXPECT_EQ(taken[0].call.file + " " + taken[1].call.file,
              "www.hollisfield.example mailto:support@hollisfield.example");
  }
}

}  // namespace
}  // namespace qv
