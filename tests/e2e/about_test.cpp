// The About window: one window, shown without being modal, hidden by OK,
// the same content each time it opens.
#include "about/about.h"

#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "harness.h"

namespace {

using e2e::Window;
using namespace std::chrono_literals;

struct ExpectedLabel {
  int id;
  int left, top, width, height;  // width 0: as wide as the text, which must show whole
  const char* text;
};

const ExpectedLabel kAboutControls[] = {
    {qv::kIdAboutLabel1, 48, 8, 113, 16, "Quorvin PDF"},
    {qv::kIdAboutLabel2, 48, 27, 59, 13, "Version 1.01"},
    {qv::kIdAboutLabel6, 176, 10, 133, 15, "POWERED BY GHOSTSCRIPT"},
    {qv::kIdAboutLabel5, 184, 26, 113, 13, "( A GhostScript Plug-In )"},
    {qv::kIdAboutLabel3, 7, 53, 0, 13, "Copyright (C) 2026 Hollisfield. All rights reserved."},
    {qv::kIdAboutLabel4, 8, 72, 0, 13, "http://www.hollisfield.example"},
    {qv::kIdAboutLabel7, 8, 88, 0, 13, "support@hollisfield.example"},
    {qv::kIdAboutLMDButton1, 232, 80, 75, 25, "OK"},
    {qv::kIdAboutImage1, 8, 8, 32, 32, ""},
};

class About : public e2e::ToolTest {
 protected:
  Window OpenAbout() {
    main_.Control(qv::kIdLMDButton7).Press();
    return tool_->WaitWindow("About");
  }
  int VisibleAboutWindows() const {
    int n = 0;
    for (const Window& w : tool_->TopLevelWindows()) n += w.Text() == "About" ? 1 : 0;
    return n;
  }
};

TEST_F(About, OpensOnceAndShowsItsContent) {
  const Window about = OpenAbout();
  ASSERT_TRUE(static_cast<bool>(about));
  const SIZE client = about.ClientSize();
  EXPECT_EQ(client.cx, 314);
  EXPECT_EQ(client.cy, 111);
  const LONG style = about.Style();
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  for (const ExpectedLabel& e : kAboutControls) {
    SCOPED_TRACE(e.text);
    const Window c = about.Control(e.id);
    ASSERT_TRUE(static_cast<bool>(c));
    const RECT r = c.RectInParent();
    EXPECT_EQ(r.left, e.left);
    EXPECT_EQ(r.top, e.top);
    if (e.width != 0) {
      EXPECT_EQ(r.right - r.left, e.width);
    } else {
      // Our own lines are longer than the designed labels; they show whole
      // and stay inside the window.
      EXPECT_GE(r.right - r.left, 100);
      EXPECT_LE(r.right, 314);
    }
    EXPECT_EQ(r.bottom - r.top, e.height);
    EXPECT_EQ(c.Text(), e.text);
  }
  // The main window stays usable while About is open.
  EXPECT_TRUE(main_.Enabled());
  e2e::SaveScreenshot("about-window", about);

  // A second press brings the same window forward; there is never a second.
  main_.Control(qv::kIdLMDButton7).Press();
  Sleep(500);
  EXPECT_EQ(VisibleAboutWindows(), 1);
  EXPECT_EQ(tool_->WaitWindow("About").Handle(), about.Handle());
}

TEST_F(About, OkHidesAndReopeningShowsTheSameWindow) {
  const Window about = OpenAbout();
  ASSERT_TRUE(static_cast<bool>(about));
  about.Control(qv::kIdAboutLMDButton1).Press();
  EXPECT_TRUE(e2e::WaitFor([&] { return !about.Visible(); }, 5s)) << "OK did not hide About";
  EXPECT_TRUE(tool_->Running());

  const Window again = OpenAbout();
  EXPECT_EQ(again.Handle(), about.Handle());
  EXPECT_EQ(again.Control(qv::kIdAboutLabel2).Text(), "Version 1.01");
  EXPECT_EQ(again.Control(qv::kIdAboutLabel1).Text(), "Quorvin PDF");
}

TEST_F(About, CloseBoxHidesOnlyAbout) {
  const Window about = OpenAbout();
  ASSERT_TRUE(static_cast<bool>(about));
  about.SystemCommand(SC_CLOSE);
  EXPECT_TRUE(e2e::WaitFor([&] { return !about.Visible(); }, 5s));
  EXPECT_TRUE(tool_->Running());
  EXPECT_TRUE(main_.Visible());
}

TEST_F(About, EnterAndEscapeHideAbout) {
  Window about = OpenAbout();
  ASSERT_TRUE(static_cast<bool>(about));
  ASSERT_TRUE(
      e2e::WaitFor([&] { return tool_->FocusedControl().Id() == qv::kIdAboutLMDButton1; }, 5s))
      << "OK has not the focus";
  tool_->FocusedControl().Key(VK_RETURN);
  EXPECT_TRUE(e2e::WaitFor([&] { return !about.Visible(); }, 5s));
  about = OpenAbout();
  ASSERT_TRUE(static_cast<bool>(about));
  about.Control(qv::kIdAboutLMDButton1).Key(VK_ESCAPE);
  EXPECT_TRUE(e2e::WaitFor([&] { return !about.Visible(); }, 5s));
  EXPECT_TRUE(tool_->Running());
}

TEST_F(About, LinksWithoutBrowserShowNothing) {
  const Window about = OpenAbout();
  ASSERT_TRUE(static_cast<bool>(about));
  about.Control(qv::kIdAboutLabel4).Click();
  about.Control(qv::kIdAboutLabel7).Click();
  Sleep(1500);
  EXPECT_TRUE(tool_->Running());
  EXPECT_FALSE(tool_->FindMessageBox()) << "a link opened a message in the tool";
  EXPECT_EQ(tool_->TopLevelWindows().size(), 2u) << "only the main and About windows";
  EXPECT_TRUE(about.Visible());
}

TEST_F(About, ClosingMainWindowEndsProgramWithAboutOpen) {
  ASSERT_TRUE(static_cast<bool>(OpenAbout()));
  main_.SystemCommand(SC_CLOSE);
  DWORD code = 1;
  ASSERT_TRUE(tool_->WaitExit(10s, &code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
