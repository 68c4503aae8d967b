// Repeated commands leave nothing behind: 50 openings of the About window
// and 50 refreshes of both printer lists keep the tool's windows at the
// count they had after the first round.
#include <gtest/gtest.h>

#include <cstdio>

#include "about/about.h"
#include "app/main_layout.h"
#include "harness.h"

namespace {

using e2e::Tool;
using e2e::Window;
using namespace std::chrono_literals;

constexpr int kRounds = 50;

// The process's USER and GDI object counts, when the system gives them.
struct GuiCounts {
  DWORD user = 0;
  DWORD gdi = 0;
};
GuiCounts ReadGuiCounts(const Tool& tool) {
  return GuiCounts{GetGuiResources(tool.Process(), GR_USEROBJECTS),
                   GetGuiResources(tool.Process(), GR_GDIOBJECTS)};
}

class Resources : public e2e::ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    if (HasFatalFailure()) return;
    const GuiCounts counts = ReadGuiCounts(*tool_);
    useGuiResources_ = counts.user != 0 || counts.gdi != 0;
    if (!useGuiResources_) {
      std::printf(
          "GetGuiResources gives 0 for the live tool (Wine's stub); counting the tool's windows "
          "(top-level and children, shown or hidden) instead, a proxy for its USER objects. "
          "GDI objects are not counted.\n");
    }
  }
  // Runs one round; fails the test when it does not complete.
  template <typename Round>
  void ExpectNoGrowth(const char* what, Round round) {
    round();
    if (HasFatalFailure()) return;
    const size_t windowsAfterFirst = tool_->CountAllWindows();
    const GuiCounts countsAfterFirst = ReadGuiCounts(*tool_);
    for (int i = 1; i < kRounds; ++i) {
      round();
      if (HasFatalFailure()) return;
    }
    const size_t windowsAfterLast = tool_->CountAllWindows();
    const GuiCounts countsAfterLast = ReadGuiCounts(*tool_);
    std::printf("%s x%d: windows %zu after the first, %zu after the last", what, kRounds,
                windowsAfterFirst, windowsAfterLast);
    if (useGuiResources_) {
      std::printf("; USER objects %lu -> %lu, GDI objects %lu -> %lu", countsAfterFirst.user,
                  countsAfterLast.user, countsAfterFirst.gdi, countsAfterLast.gdi);
      EXPECT_EQ(countsAfterLast.user, countsAfterFirst.user) << what;
      EXPECT_EQ(countsAfterLast.gdi, countsAfterFirst.gdi) << what;
    }
    std::printf("\n");
    EXPECT_EQ(windowsAfterLast, windowsAfterFirst) << what;
    EXPECT_TRUE(tool_->Running());
  }
  bool useGuiResources_ = false;
};

TEST_F(Resources, AboutOpenedAndClosedFiftyTimes) {
  ExpectNoGrowth("About", [&] {
    main_.Control(qv::kIdLMDButton7).Press();
    const Window about = tool_->WaitWindow("About", "", 10s);
    ASSERT_TRUE(static_cast<bool>(about));
    about.Control(qv::kIdAboutLMDButton1).Press();
    ASSERT_TRUE(e2e::WaitFor([&] { return !about.Visible(); }, 10s));
  });
}

TEST_F(Resources, PrinterListsRefreshedFiftyTimes) {
  const Window combo = main_.Control(qv::kIdComboBox1);
  const Window list = main_.Control(qv::kIdListBox1);
  // One printer monitored, so both lists have something to rebuild.
  e2e::RegAdd("HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Studio_PS", "Port",
              "REG_SZ", "QuorvinPDF:");
  ExpectNoGrowth("Query New Printers + Query Printers Monitored", [&] {
    // Sent, not posted: each click has run when the send returns.
    for (int id : {qv::kIdLMDButton9, qv::kIdLMDButton10}) {
      DWORD_PTR result = 0;
      ASSERT_TRUE(SendMessageTimeoutA(main_.Control(id).Handle(), BM_CLICK, 0, 0, SMTO_NORMAL,
                                      10000, &result));
    }
    ASSERT_EQ(combo.Items(), (std::vector<std::string>{"Office_PS", "Studio_PS"}));
    ASSERT_EQ(list.Items(), std::vector<std::string>{"Studio_PS"});
  });
}

}  // namespace
