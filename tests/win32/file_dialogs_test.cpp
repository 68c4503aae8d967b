// The system's file open and save dialogs with the program's hook: placing,
// the close-query event, errors raised in it, and Cancel.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/errors.h"
#include "tests/win32/gui_driver.h"
#include "ui/win32/win_dialogs.h"

namespace qv::testing {
namespace {

constexpr char kTitle[] = "Locate gswin32c.exe";

// The file name field: cmb13 in the Explorer-style dialog (a ComboBoxEx32
// under Wine, whose WM_SETTEXT fills its edit), or edt1 where there is no
// combo box.
HWND FileNameField(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, 0x47C)) return combo;
  return GetDlgItem(dialog, 0x480);
}

void TypeAndConfirm(HWND dialog, const std::string& path) {
  SendMessageA(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    folder_ = temp;
    if (!folder_.empty() && folder_.back() == '\\') folder_.pop_back();
    dialog_.title = kTitle;
    dialog_.filter = "Programs|*.exe|All files|*.*";
    dialog_.defaultExt = "exe";
    dialog_.initialDir = folder_ + "\\";
  }
  std::string Chosen(const char* name) const { return folder_ + "\\" + name; }

  Win32Dialogs dialogs_{GetModuleHandleA(nullptr)};
  FileDialog dialog_;
  std::string folder_;
};

// A file name the code page cannot hold is refused by the close check: a
// box owned by the dialog, which stays open; the event never sees it.
TEST_F(FileDialogTest, ANameBeyondTheCodePageKeepsTheDialogOpen) {
  std::vector<std::string> seen;
  dialog_.onCanClose = [&](FileDialog& d, bool&) { seen.push_back(d.fileName); };
  Driver driver([&](Driver& d) {
    const HWND dialog = WaitForWindow("#32770", kTitle);
    if (!dialog) return d.Fail("no file dialog");
    const std::wstring name = std::wstring(folder_.begin(), folder_.end()) + L"\\\u03A9.pdf";
    SendMessageW(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    const HWND box = WaitForWindow("#32770", kApplicationTitle);
    if (!box) return d.Fail("no refusal");
    if (GetWindow(box, GW_OWNER) != dialog) d.Fail("the box is not the dialog's");
    if (TextOf(GetDlgItem(box, 0xFFFF)) !=
        "The path of the chosen file holds characters that this system's code page cannot "
        "represent.\rChoose a file in another folder.") {
      d.Fail("wrong text: " + TextOf(GetDlgItem(box, 0xFFFF)));
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    if (!WaitUntilGone(box)) return d.Fail("the box stayed");
    if (!IsWindowVisible(dialog)) return d.Fail("closed although refused");
    TypeAndConfirm(dialog, Chosen("ok.pdf"));
    if (!WaitUntilGone(dialog)) d.Fail("still open");
  });
  dialog_.defaultExt = "pdf";
  EXPECT_TRUE(dialogs_.ExecuteSave(dialog_));
  ASSERT_EQ(driver.Finish(), "");
  EXPECT_EQ(seen, std::vector<std::string>{Chosen("ok.pdf")});
}

TEST_F(FileDialogTest, TheCloseQueryEventSeesThePathAndCanKeepTheDialogOpen) {
  std::vector<std::string> seen;
  dialog_.onCanClose = [&](FileDialog& d, bool& canClose) {
    seen.push_back(d.fileName);
    canClose = seen.size() > 1;  // refuse the first choice
  };
  RECT placed{};
  Driver driver([&](Driver& d) {
    const HWND dialog = WaitForWindow("#32770", kTitle);
    if (!dialog) return d.Fail("no file dialog");
    GetWindowRect(dialog, &placed);
    if (!FileNameField(dialog)) return d.Fail("no file name field");
    TypeAndConfirm(dialog, Chosen("first.exe"));
    Sleep(300);
    if (!IsWindowVisible(dialog)) return d.Fail("closed although refused");
    TypeAndConfirm(dialog, Chosen("gswin32c.exe"));
    if (!WaitUntilGone(dialog)) d.Fail("still open");
  });
  EXPECT_TRUE(dialogs_.ExecuteOpen(dialog_));
  ASSERT_EQ(driver.Finish(), "");
  EXPECT_EQ(seen, (std::vector<std::string>{Chosen("first.exe"), Chosen("gswin32c.exe")}));
  EXPECT_EQ(dialog_.fileName, Chosen("gswin32c.exe"));

  // Placed on the primary monitor: centred, its top at a third of the free height.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& screen = monitor.rcMonitor;
  const int height = placed.bottom - placed.top;
  EXPECT_NEAR(placed.left + placed.right, screen.left + screen.right, 1);
  EXPECT_NEAR(placed.top, screen.top + (screen.bottom - screen.top - height) / 3, 1);
}

TEST_F(FileDialogTest, AnErrorInTheCloseQueryEventIsShownAndTheFileAccepted) {
  dialog_.onCanClose = [](FileDialog&, bool& canClose) {
    canClose = false;
    throw ERegistryException("Failed to create key SOFTWARE\\X");
  };
  std::string shown;
  Driver driver([&](Driver& d) {
    const HWND dialog = WaitForWindow("#32770", kTitle);
    if (!dialog) return d.Fail("no file dialog");
    TypeAndConfirm(dialog, Chosen("out.pdf"));
    const HWND box = WaitForWindow("#32770", kApplicationTitle);
    if (!box) return d.Fail("no error message");
    shown = TextOf(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    if (!WaitUntilGone(dialog)) d.Fail("file dialog still open");
  });
  EXPECT_TRUE(dialogs_.ExecuteSave(dialog_));
  ASSERT_EQ(driver.Finish(), "");
  EXPECT_EQ(shown, "Failed to create key SOFTWARE\\X.");
  EXPECT_EQ(dialog_.fileName, Chosen("out.pdf"));
}

TEST_F(FileDialogTest, CancelReturnsFalseAndKeepsTheName) {
  dialog_.fileName = "gswin32c.exe";
  bool asked = false;
  dialog_.onCanClose = [&](FileDialog&, bool&) { asked = true; };
  Driver driver([](Driver& d) {
    const HWND dialog = WaitForWindow("#32770", kTitle);
    if (!dialog) return d.Fail("no file dialog");
    const std::string fieldClass = ClassOf(FileNameField(dialog));
    if (fieldClass != "ComboBoxEx32" && fieldClass != "ComboBox" && fieldClass != "Edit") {
      d.Fail("file name field: " + fieldClass);
    }
    if (TextOf(FileNameField(dialog)) != "gswin32c.exe") d.Fail("initial name not shown");
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    if (!WaitUntilGone(dialog)) d.Fail("still open");
  });
  EXPECT_FALSE(dialogs_.ExecuteOpen(dialog_));
  EXPECT_EQ(driver.Finish(), "");
  EXPECT_FALSE(asked);
  EXPECT_EQ(dialog_.fileName, "gswin32c.exe");
}

}  // namespace
}  // namespace qv::testing
