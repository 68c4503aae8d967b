// The main window as a person sees it: every control in its place with its
// caption, the tab order, the title bar's buttons, and the two ways out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_layout.h"
#include "harness.h"

namespace {

using e2e::Tool;
using e2e::Window;
using namespace std::chrono_literals;

struct Expected {
  const char* name;
  int id;
  const char* windowClass;
  LONG kindStyle;  // style bits that make the kind (checked under mask)
  LONG kindMask;
  int left, top, width, height;  // relative to the parent (the group box for its contents)
  const char* caption;           // nullptr: not checked (filled by the start-up sequence)
  bool inGroup;
};

constexpr LONG kPush = BS_PUSHBUTTON, kButtonMask = BS_TYPEMASK;
constexpr LONG kReadOnly = ES_READONLY;

// The main window's controls as designed (pixels at 96 DPI).
const std::vector<Expected> kControls = {
    {"Image1", qv::kIdImage1, "Static", SS_ICON, SS_TYPEMASK, 16, 8, 32, 32, "", false},
    {"Label5", qv::kIdLabel5, "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 56, 12, 413, 29,
     "Quorvin PDF Configuration Tool", false},
    {"Label3", qv::kIdLabel3, "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 512, 32, 127, 13,
     "Problems with PDF printer?", false},
    {"LMDButton2", qv::kIdLMDButton2, "Button", kPush, kButtonMask, 648, 24, 75, 25, "Fix PDF Port",
     false},
    {"Label6", qv::kIdLabel6, "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 16, 56, 105, 13,
     "gswin32c.exe location", false},
    {"Edit5", qv::kIdEdit5, "Edit", kReadOnly, kReadOnly, 16, 72, 369, 21, nullptr, false},
    {"LMDButton5", qv::kIdLMDButton5, "Button", kPush, kButtonMask, 392, 72, 75, 25, "Change",
     false},
    {"Label4", qv::kIdLabel4, "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 16, 104, 86, 13,
     "gsdll32.dll location", false},
    {"Edit6", qv::kIdEdit6, "Edit", kReadOnly, kReadOnly, 16, 120, 369, 21, nullptr, false},
    {"LMDButton6", qv::kIdLMDButton6, "Button", kPush, kButtonMask, 392, 120, 75, 25, "Change",
     false},
    {"Label1", qv::kIdLabel1, "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 16, 152, 77, 13,
     "Installed Printers", false},
    {"ComboBox1", qv::kIdComboBox1, "ComboBox", CBS_DROPDOWNLIST, 0x3, 16, 168, 225, 21, nullptr,
     false},
    {"LMDButton1", qv::kIdLMDButton1, "Button", kPush, kButtonMask, 248, 168, 75, 25, "Add", false},
    {"LMDButton9", qv::kIdLMDButton9, "Button", kPush, kButtonMask, 328, 168, 137, 25,
     "Query New Printers", false},
    {"Label2", qv::kIdLabel2, "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 16, 200, 146, 13,
     "PDF Printers being monitored...", false},
    {"ListBox1", qv::kIdListBox1, "ListBox", LBS_NOINTEGRALHEIGHT, LBS_NOINTEGRALHEIGHT, 16, 216,
     449, 169, nullptr, false},
    {"LMDButton10", qv::kIdLMDButton10, "Button", kPush, kButtonMask, 16, 392, 137, 25,
     "Query Printers Monitored", false},
    {"GroupBox1", qv::kIdGroupBox1, "Button", BS_GROUPBOX, kButtonMask, 480, 64, 249, 321,
     "Options", false},
    {"LMDButton7", qv::kIdLMDButton7, "Button", kPush, kButtonMask, 576, 392, 75, 25, "About",
     false},
    {"LMDButton3", qv::kIdLMDButton3, "Button", kPush, kButtonMask, 656, 392, 75, 25, "Exit",
     false},
    {"Label7", qv::kIdLabel7, "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 16, 24, 103, 13,
     "Default PDF Filename", true},
    {"Edit2", qv::kIdEdit2, "Edit", kReadOnly, kReadOnly, 16, 40, 217, 21, nullptr, true},
    {"Label8", qv::kIdLabel8, "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 16, 72, 144, 13,
     "Default PDF SaveTo Directory", true},
    {"Edit3", qv::kIdEdit3, "Edit", kReadOnly, kReadOnly, 16, 88, 217, 21, nullptr, true},
    {"LMDButton4", qv::kIdLMDButton4, "Button", kPush, kButtonMask, 16, 120, 75, 25, "Change",
     true},
    {"Label9", qv::kIdLabel9, "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 16, 152, 200, 13,
     "If default PDF filename exists, append with", true},
    {"Edit4", qv::kIdEdit4, "Edit", 0, kReadOnly, 16, 168, 217, 21, nullptr, true},
    {"Label10", qv::kIdLabel10, "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 16, 192, 213, 13,
     "filename will also be appended with a number", true},
    {"Label11", qv::kIdLabel11, "Static", SS_LEFTNOWORDWRAP, SS_TYPEMASK, 16, 208, 211, 13,
     "Do not use special characters (, or / or \\ etc)", true},
    {"CheckBox1", qv::kIdCheckBox1, "Button", BS_AUTOCHECKBOX, kButtonMask, 16, 224, 209, 17,
     "Prompt me to save each PDF file", true},
    {"CheckBox2", qv::kIdCheckBox2, "Button", BS_AUTOCHECKBOX, kButtonMask, 16, 240, 209, 17,
     "Display confirmation on PDF creation", true},
    {"CheckBox3", qv::kIdCheckBox3, "Button", BS_AUTOCHECKBOX, kButtonMask, 16, 256, 225, 17,
     "Launch default PDF application on create", true},
    {"savechangesBtn", qv::kIdSaveChangesBtn, "Button", kPush, kButtonMask, 16, 280, 97, 25,
     "Save Changes", true},
    {"installpsdriverBtn", qv::kIdInstallPsDriverBtn, "Button", kPush, kButtonMask, 136, 280, 97,
     25, "Install PS Driver", true},
};

// The order Tab visits the controls in: the window's tab order, with the
// Options group's own order at the group's place.
const std::vector<const char*> kTabOrder = {
    "ComboBox1",  "ListBox1",   "LMDButton1", "LMDButton3",         "Edit2",          "Edit3",
    "LMDButton4", "CheckBox1",  "Edit4",      "installpsdriverBtn", "savechangesBtn", "CheckBox2",
    "CheckBox3",  "LMDButton7", "LMDButton9", "LMDButton10",        "Edit5",          "LMDButton5",
    "Edit6",      "LMDButton6", "LMDButton2",
};

std::string NameOf(const Window& control) {
  for (const Expected& e : kControls) {
    if (e.id == control.Id()) return e.name;
  }
  return "id " + std::to_string(control.Id());
}

class Layout : public e2e::ToolTest {};

TEST_F(Layout, MainWindowFrame) {
  EXPECT_EQ(main_.Text(), "Quorvin PDF - Configuration Tool");
  const LONG style = main_.Style();
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_THICKFRAME) << "sizeable border";
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "no maximise button";

  const RECT r = main_.ScreenRect();
  EXPECT_EQ(r.right - r.left, 752);
  EXPECT_EQ(r.bottom - r.top, 460);
  // Centred on the screen.
  EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  // The client area is the outer size less this style's frame.
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(style), FALSE,
                     static_cast<DWORD>(GetWindowLongA(main_.Handle(), GWL_EXSTYLE)));
  const SIZE client = main_.ClientSize();
  EXPECT_EQ(client.cx, 752 - (frame.right - frame.left));
  EXPECT_EQ(client.cy, 460 - (frame.bottom - frame.top));
  // The background between the buttons is the button-face colour.
  Sleep(300);
  EXPECT_EQ(main_.ClientPixel(300, 405), GetSysColor(COLOR_BTNFACE));
  e2e::SaveScreenshot("main-window", main_);
}

TEST_F(Layout, EveryControlInPlaceWithItsCaption) {
  const Window group = main_.Control(qv::kIdGroupBox1);
  ASSERT_TRUE(static_cast<bool>(group));
  const RECT g = group.RectInParent();
  for (const Expected& e : kControls) {
    SCOPED_TRACE(e.name);
    const Window c = main_.Control(e.id);
    ASSERT_TRUE(static_cast<bool>(c)) << "missing";
    EXPECT_TRUE(c.Visible());
    EXPECT_STRCASEEQ(c.ClassName().c_str(), e.windowClass);
    EXPECT_EQ(c.Style() & e.kindMask, e.kindStyle) << "style 0x" << std::hex << c.Style();
    RECT r = c.RectInParent();
    if (e.inGroup) OffsetRect(&r, -g.left, -g.top);
    EXPECT_EQ(r.left, e.left);
    EXPECT_EQ(r.top, e.top);
    EXPECT_EQ(r.right - r.left, e.width);
    EXPECT_EQ(r.bottom - r.top, e.height);
    if (e.caption != nullptr) {
      EXPECT_EQ(c.Text(), e.caption);
    }
  }
  // Nothing else on the window.
  int children = 0;
  for (HWND h = GetWindow(main_.Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) ++children;
  EXPECT_EQ(children, static_cast<int>(kControls.size()));
}

TEST_F(Layout, TabVisitsControlsInDesignedOrder) {
  std::vector<std::string> visited;
  HWND first = GetNextDlgTabItem(main_.Handle(), nullptr, FALSE);
  HWND current = first;
  do {
    visited.push_back(NameOf(Window(current)));
    current = GetNextDlgTabItem(main_.Handle(), current, FALSE);
  } while (current != nullptr && current != first && visited.size() < 64);
  EXPECT_EQ(visited, std::vector<std::string>(kTabOrder.begin(), kTabOrder.end()));
}

TEST_F(Layout, KeyboardStartsAtFirstControlAndTabMoves) {
  ASSERT_TRUE(e2e::WaitFor([&] { return tool_->FocusedControl().Id() == qv::kIdComboBox1; }, 5s))
      << "focus on " << NameOf(tool_->FocusedControl());
  tool_->FocusedControl().Key(VK_TAB);
  EXPECT_TRUE(e2e::WaitFor([&] { return tool_->FocusedControl().Id() == qv::kIdListBox1; }, 5s))
      << "focus on " << NameOf(tool_->FocusedControl());
}

TEST_F(Layout, EnterPressesTheFocusedButton) {
  // From the drop-down list, Tab passes the list box and Add to reach Exit.
  ASSERT_TRUE(e2e::WaitFor([&] { return tool_->FocusedControl().Id() == qv::kIdComboBox1; }, 5s));
  for (int id : {qv::kIdListBox1, qv::kIdLMDButton1, qv::kIdLMDButton3}) {
    tool_->FocusedControl().Key(VK_TAB);
    ASSERT_TRUE(e2e::WaitFor([&] { return tool_->FocusedControl().Id() == id; }, 5s))
        << "focus on " << NameOf(tool_->FocusedControl());
  }
  tool_->FocusedControl().Key(VK_RETURN);
  EXPECT_TRUE(tool_->WaitExit(10s)) << "Enter on Exit did not end the program";
}

TEST_F(Layout, MinimisesAndRestores) {
  main_.SystemCommand(SC_MINIMIZE);
  EXPECT_TRUE(e2e::WaitFor([&] { return main_.Minimized(); }, 5s));
  main_.SystemCommand(SC_RESTORE);
  EXPECT_TRUE(e2e::WaitFor([&] { return !main_.Minimized(); }, 5s));
  // Controls keep their places after the window was resized.
  SetWindowPos(main_.Handle(), nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER);
  const RECT exit = main_.Control(qv::kIdLMDButton3).RectInParent();
  EXPECT_EQ(exit.left, 656);
  EXPECT_EQ(exit.top, 392);
}

TEST_F(Layout, CloseBoxEndsProgram) {
  main_.SystemCommand(SC_CLOSE);
  DWORD code = 1;
  ASSERT_TRUE(tool_->WaitExit(10s, &code)) << "still running after the close box";
  EXPECT_EQ(code, 0u);
}

TEST_F(Layout, ExitEndsProgram) {
  main_.Control(qv::kIdLMDButton3).Press();
  DWORD code = 1;
  ASSERT_TRUE(tool_->WaitExit(10s, &code)) << "still running after Exit";
  EXPECT_EQ(code, 0u);
}

// A close requested while a command waits for the user (here for the
// answer to a question) is carried out once that command has finished.
TEST_F(Layout, CloseDuringCommandWaitsForIt) {
  main_.Control(qv::kIdLMDButton1).Press();  // Add: asks before it changes anything
  const e2e::MessageBoxWindow box = tool_->WaitMessageBox();
  ASSERT_TRUE(static_cast<bool>(box));
  main_.RequestClose();
  Sleep(1000);
  EXPECT_TRUE(tool_->Running()) << "closed while the command was still running";
  EXPECT_TRUE(box.Visible());
  const std::vector<std::string> buttons = box.Buttons();
  box.Press(std::find(buttons.begin(), buttons.end(), "No") != buttons.end() ? "No" : "OK");
  DWORD code = 1;
  ASSERT_TRUE(tool_->WaitExit(10s, &code)) << "the close was lost";
  EXPECT_EQ(code, 0u);
}

// The start-up show command a program is started with is honoured.
TEST(LayoutStart, OpensMaximisedOrMinimisedWhenStartedSo) {
  e2e::PlantGhostscript();
  {
    Tool tool = Tool::Start(SW_SHOWMAXIMIZED);
    const Window main = tool.WaitMainWindow();
    ASSERT_TRUE(static_cast<bool>(main));
    EXPECT_TRUE(e2e::WaitFor([&] { return IsZoomed(main.Handle()) != FALSE; }, 5s));
  }
  {
    Tool tool = Tool::Start(SW_SHOWMINIMIZED);
    const Window main = tool.WaitMainWindow();
    ASSERT_TRUE(static_cast<bool>(main));
    EXPECT_TRUE(e2e::WaitFor([&] { return main.Minimized(); }, 5s));
  }
}

}  // namespace
