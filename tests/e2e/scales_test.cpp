// The window at the scales Windows offers on each screen size: every text
// fits its control, in a font made from the control table's row at that
// DPI (another process cannot ask a control for its font under Wine),
// nothing moves from its scaled place, and both windows lie within the
// work area. Wine takes the scale from LogPixels when a program starts,
// and its virtual desktop takes the screen size from a display change.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "about/about.h"
#include "app/main_layout.h"
#include "harness.h"
#include "ui/scaling.h"

namespace {

using e2e::Tool;
using e2e::Window;
using namespace std::chrono_literals;

struct ScreenScale {
  int dpi, width, height;
};

// The scale and screen the next program starts with.
void UseScreen(const ScreenScale& s) {
  const DWORD dpi = static_cast<DWORD>(s.dpi);
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD,
                            &dpi, sizeof dpi),
            ERROR_SUCCESS);
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(s.width);
  mode.dmPelsHeight = static_cast<DWORD>(s.height);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  ASSERT_EQ(ChangeDisplaySettingsExA(nullptr, &mode, nullptr, CDS_UPDATEREGISTRY, nullptr),
            DISP_CHANGE_SUCCESSFUL);
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), s.width);
}

// A font as the window makes it from its table's row.
struct MeasuringFont {
  explicit MeasuringFont(const qv::FontSpec& f)
      : dc(GetDC(nullptr)),
        font(CreateFontA(f.height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, f.underline, FALSE,
                         f.ansiCharset ? ANSI_CHARSET : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                         f.face)),
        old(SelectObject(dc, font)) {}
  ~MeasuringFont() {
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
  }
  int Width(const std::string& text) const {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }
  std::string Face() const {
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    return face;
  }
  HDC dc;
  HFONT font;
  HGDIOBJ old;
};

bool ShowsText(qv::ControlKind kind) {
  using K = qv::ControlKind;
  return kind == K::Label || kind == K::LinkLabel || kind == K::Button ||
         kind == K::DefaultButton || kind == K::CheckBox || kind == K::GroupBox;
}

// The window within the work area of its monitor, every control at its
// scaled place, every text within its control's client width.
void ExpectFitting(const Window& window, const std::vector<qv::ControlEntry>& table, int dpi) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(window.Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT outer = window.ScreenRect();
  RECT inside{};
  IntersectRect(&inside, &outer, &monitor.rcWork);
  EXPECT_TRUE(EqualRect(&inside, &outer)) << "outside the work area";
  const SIZE area = window.ClientSize();
  for (const qv::ControlEntry& entry : table) {
    SCOPED_TRACE(entry.name);
    const Window control = window.Control(entry.id);
    ASSERT_TRUE(static_cast<bool>(control));
    const qv::Rect96 designed = qv::PositionInWindow(table, entry);
    const RECT r = control.RectInParent();
    EXPECT_EQ(r.left, qv::ScaleToDpi(designed.left, dpi));
    EXPECT_EQ(r.top, qv::ScaleToDpi(designed.top, dpi));
    // A control that grew stays on the window, and in its group box.
    EXPECT_LE(r.right, area.cx);
    if (entry.parent != nullptr) {
      EXPECT_LT(r.right, window.Control(qv::kIdGroupBox1).RectInParent().right);
    }
    if (!ShowsText(entry.kind)) continue;
    const MeasuringFont font(qv::FontFor(entry.font, dpi));
    const int text = font.Width(control.Text());
    const SIZE client = control.ClientSize();
    EXPECT_LE(text + qv::TextRoom(entry.kind, dpi), client.cx) << control.Text();
    if (designed.width != 0 && client.cx > qv::ScaleToDpi(designed.width, dpi)) {
      std::printf("%d DPI: %s grew from %d to %d (text %d)\n", dpi, entry.name,
                  qv::ScaleToDpi(designed.width, dpi), static_cast<int>(client.cx), text);
    }
  }
}

TEST(Scales, TextFitsAndBothWindowsStayInTheWorkArea) {
  e2e::PlantGhostscript();
  const ScreenScale scales[] = {{120, 1280, 1024}, {144, 1920, 1080}, {192, 2560, 1440}};
  for (const ScreenScale& s : scales) {
    SCOPED_TRACE(std::to_string(s.dpi) + " DPI");
    UseScreen(s);
    std::printf("%d DPI: the sans serif face is %s\n", s.dpi,
                MeasuringFont(qv::FontFor(qv::FontKind::Normal, s.dpi)).Face().c_str());
    Tool tool = Tool::Start();
    const Window main = tool.WaitMainWindow();
    ASSERT_TRUE(static_cast<bool>(main));
    const RECT outer = main.ScreenRect();
    EXPECT_EQ(outer.right - outer.left, qv::ScaleToDpi(qv::kMainWindowWidth, s.dpi));
    EXPECT_EQ(outer.bottom - outer.top, qv::ScaleToDpi(qv::kMainWindowHeight, s.dpi));
    ExpectFitting(main, qv::MainWindowControls(), s.dpi);
    e2e::SaveScreenshot("main-window-" + std::to_string(s.dpi) + "dpi", main);

    main.Control(qv::kIdLMDButton7).Press();
    const Window about = tool.WaitWindow(qv::kAboutCaption);
    ASSERT_TRUE(static_cast<bool>(about));
    EXPECT_EQ(about.ClientSize().cx, qv::ScaleToDpi(qv::kAboutClientWidth, s.dpi));
    ExpectFitting(about, qv::AboutWindowControls(), s.dpi);
    e2e::SaveScreenshot("about-window-" + std::to_string(s.dpi) + "dpi", about);
    about.Control(qv::kIdAboutLMDButton1).Press();
    ASSERT_TRUE(e2e::WaitFor([&] { return !about.Visible(); }, 5s));
    main.Control(qv::kIdLMDButton3).Press();
    ASSERT_TRUE(tool.WaitExit(10s)) << "still running after Exit";
  }
}

}  // namespace
