// The standard dialogs, driven from a second thread like a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "platform/application.h"
#include "platform/errors.h"
#include "tests/win32/gui_driver.h"
#include "ui/win32/gui_util.h"
#include "ui/win32/win_dialogs.h"

namespace qv::testing {
namespace {

constexpr int kTextId = 0xFFFF;

void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  PostMessageA(window, message, wParam, lParam);
}
void PressKey(HWND window, WPARAM key) {
  Post(window, WM_KEYDOWN, key, 1);
}
void Click(HWND dialog, int id) {
  Post(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
       reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

class Win32DialogsTest : public ::testing::Test {
 protected:
  Win32Dialogs dialogs_{GetModuleHandleA(nullptr)};
};

// A visible window of the program that a modal dialog must disable.
win32::UniqueWindow Bystander() {
  win32::UniqueWindow window(CreateWindowExA(0, "STATIC", "bystander",
                                             WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
  SetActiveWindow(window.get());
  return window;
}

TEST_F(Win32DialogsTest, MessageBoxShowsTheTextAndReturnsTheAnswer) {
  const auto bystander = Bystander();
  for (int answer : {IDYES, IDNO}) {
    Driver driver([&](Driver& d) {
      const HWND box = WaitForWindow("#32770", "Question caption");
      if (!box) return d.Fail("no message box");
      if (TextOf(GetDlgItem(box, kTextId)) != "Replace it?\rReally?") d.Fail("wrong text");
      if (IsWindowEnabled(bystander.get())) d.Fail("other window left enabled");
      Click(box, answer);
    });
    EXPECT_EQ(
        dialogs_.MessageBox("Replace it?\rReally?", "Question caption", kMbYesNo | kMbIconQuestion),
        answer);
    EXPECT_EQ(driver.Finish(), "");
    EXPECT_TRUE(IsWindowEnabled(bystander.get()));
    EXPECT_EQ(GetActiveWindow(), bystander.get());
  }
}

TEST_F(Win32DialogsTest, ShowMessageClosesOnEnterAndOnEscape) {
  const auto bystander = Bystander();
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    Driver driver([&](Driver& d) {
      const HWND window = WaitForWindow("QvMessageWindow", kApplicationTitle);
      if (!window) return d.Fail("no message window");
      if (TextOf(GetDlgItem(window, kTextId)) != "Done.") d.Fail("wrong text");
      if (TextOf(GetDlgItem(window, IDOK)) != "OK") d.Fail("no OK button");
      if (IsWindowEnabled(bystander.get())) d.Fail("other window left enabled");
      PressKey(GetDlgItem(window, IDOK), key);
      if (!WaitUntilGone(window)) d.Fail("still open");
    });
    dialogs_.ShowMessage("Done.");
    EXPECT_EQ(driver.Finish(), "") << "key " << key;
    EXPECT_TRUE(IsWindowEnabled(bystander.get()));
  }
}

TEST_F(Win32DialogsTest, ShowMessageCopiesItselfAsPlainText) {
  Driver driver([](Driver& d) {
    const HWND window = WaitForWindow("QvMessageWindow", kApplicationTitle);
    if (!window) return d.Fail("no message window");
    const HWND button = GetDlgItem(window, IDOK);
    Post(button, WM_CHAR, 3);  // what Ctrl+C types
    PressKey(button, VK_RETURN);
  });
  dialogs_.ShowMessage("File not found");
  EXPECT_EQ(driver.Finish(), "");
  const std::string rule = "---------------------------\r\n";
  EXPECT_EQ(ClipboardText(), rule + "Quorvin PDF Configuration Tool\r\n" + rule +
                                 "File not found\r\n" + rule + "OK\r\n" + rule);
}

TEST_F(Win32DialogsTest, ShowMessageWrapsLongTextAtHalfTheScreenAndIsCentred) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += "word" + std::to_string(i) + " ";
  RECT window{}, label{};
  Driver driver([&](Driver& d) {
    const HWND w = WaitForWindow("QvMessageWindow", kApplicationTitle);
    if (!w) return d.Fail("no message window");
    GetWindowRect(w, &window);
    label = RectInParent(GetDlgItem(w, kTextId));
    if (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_APPWINDOW) d.Fail("unexpected style");
    PressKey(w, VK_ESCAPE);
  });
  dialogs_.ShowMessage(text);
  ASSERT_EQ(driver.Finish(), "");
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(label.right - label.left, screenWidth / 2);
  EXPECT_GT(label.bottom - label.top, 2 * 8) << "not wrapped";
  EXPECT_NEAR(window.left + window.right, screenWidth, 1);
  EXPECT_NEAR(window.top + window.bottom, screenHeight, 1);
}

TEST_F(Win32DialogsTest, AQuitRequestTakenInsideAModalWindowIsKept) {
  const DWORD self = GetCurrentThreadId();
  Driver driver([self](Driver& d) {
    const HWND window = WaitForWindow("QvMessageWindow", kApplicationTitle);
    if (!window) return d.Fail("no message window");
    PostThreadMessageA(self, WM_QUIT, 7, 0);
    if (!WaitUntilGone(window)) d.Fail("still open");
  });
  dialogs_.ShowMessage("Quit inside");
  EXPECT_EQ(driver.Finish(), "");
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

class InputQueryTest : public Win32DialogsTest {
 protected:
  // Runs the input dialog with the given value, letting act drive it.
  bool Run(std::string& value, const std::function<void(Driver&, HWND dialog, HWND edit)>& act) {
    Driver driver([&](Driver& d) {
      const HWND dialog = WaitForWindow("QvInputDialog", "Add printer");
      if (!dialog) return d.Fail("no input dialog");
      HWND edit = nullptr;
      for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == "Edit") edit = child;
      }
      if (!edit) return d.Fail("no edit");
      act(d, dialog, edit);
      if (!WaitUntilGone(dialog)) d.Fail("still open");
    });
    const bool result = dialogs_.InputQuery("Add printer", "Printer name:", value);
    EXPECT_EQ(driver.Finish(), "");
    return result;
  }
};

TEST_F(InputQueryTest, OkReturnsTheEditedText) {
  std::string value = "Office PS";
  EXPECT_TRUE(Run(value, [](Driver& d, HWND dialog, HWND edit) {
    if (TextOf(edit) != "Office PS") d.Fail("initial text missing");
    DWORD start = 1, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start != 0 || end != 9) d.Fail("text not all selected");
    bool promptFound = false;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      promptFound |= TextOf(child) == "Printer name:";
    }
    if (!promptFound) d.Fail("no prompt");
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Lab Color"));
    PressKey(edit, VK_RETURN);
  }));
  EXPECT_EQ(value, "Lab Color");
}

TEST_F(InputQueryTest, CancelEscapeAndTheCloseBoxLeaveTheValueUnchanged) {
  const std::function<void(HWND, HWND)> ways[] = {
      [](HWND dialog, HWND) { Click(dialog, IDCANCEL); },
      [](HWND, HWND edit) { PressKey(edit, VK_ESCAPE); },
      [](HWND dialog, HWND) { Post(dialog, WM_SYSCOMMAND, SC_CLOSE); },
  };
  for (const auto& cancel : ways) {
    std::string value = "Office PS";
    EXPECT_FALSE(Run(value, [&](Driver&, HWND dialog, HWND edit) {
      SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("changed"));
      cancel(dialog, edit);
    }));
    EXPECT_EQ(value, "Office PS");
  }
}

TEST_F(InputQueryTest, TypingStopsAt255Characters) {
  std::string value = "old";
  EXPECT_TRUE(Run(value, [](Driver&, HWND dialog, HWND edit) {
    for (int i = 0; i < 300; ++i) Post(edit, WM_CHAR, 'x');
    Click(dialog, IDOK);
  }));
  EXPECT_EQ(value, std::string(255, 'x'));
}

TEST_F(InputQueryTest, TheLayoutFollowsTheDialogUnitsOfItsFont) {
  RECT client{}, window{}, prompt{}, edit{}, ok{}, cancel{};
  LOGFONTA font{};
  SIZE unit{};
  DWORD style = 0;
  std::string value = "x";
  Run(value, [&](Driver&, HWND dialog, HWND editWindow) {
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &window);
    style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (ClassOf(child) == "Static") prompt = RectInParent(child);
    }
    edit = RectInParent(editWindow);
    ok = RectInParent(GetDlgItem(dialog, IDOK));
    cancel = RectInParent(GetDlgItem(dialog, IDCANCEL));
    const auto hfont = reinterpret_cast<HFONT>(SendMessageA(editWindow, WM_GETFONT, 0, 0));
    GetObjectA(hfont, sizeof font, &font);
    const win32::WindowDc dc(nullptr);
    const win32::SelectedObject selected(dc.Get(), hfont);
    unit = win32::DialogBaseUnits(dc.Get());
    Click(dialog, IDCANCEL);
  });
  const win32::WindowDc screen(nullptr);
  EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72));
  ASSERT_GT(unit.cx, 0);
  const int x = unit.cx, y = unit.cy;
  EXPECT_EQ(client.right, MulDiv(180, x, 4));
  EXPECT_EQ(prompt.left, MulDiv(8, x, 4));
  EXPECT_EQ(prompt.top, MulDiv(8, y, 8));
  EXPECT_LE(prompt.right - prompt.left, MulDiv(164, x, 4));
  EXPECT_EQ(edit.left, MulDiv(8, x, 4)) << Describe(edit);
  EXPECT_EQ(edit.top, prompt.bottom + 5);
  EXPECT_EQ(edit.right - edit.left, MulDiv(164, x, 4));
  for (const RECT& button : {ok, cancel}) {
    EXPECT_EQ(button.top, edit.bottom + 15) << Describe(button);
    EXPECT_EQ(button.right - button.left, MulDiv(50, x, 4));
    EXPECT_EQ(button.bottom - button.top, MulDiv(14, y, 8));
  }
  EXPECT_EQ(ok.left, MulDiv(38, x, 4));
  EXPECT_EQ(cancel.left, MulDiv(92, x, 4));
  EXPECT_EQ(client.bottom, ok.bottom + 13);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0u) << "not a fixed dialog border";
  EXPECT_NEAR(window.left + window.right, GetSystemMetrics(SM_CXSCREEN), 1);
  EXPECT_NEAR(window.top + window.bottom, GetSystemMetrics(SM_CYSCREEN), 1);
}

}  // namespace
}  // namespace qv::testing
