// A window moved to a monitor of another scale: WM_DPICHANGED, sent here
// as Windows sends it (Wine never does), moves the main window, the About
// window and an open dialog to the suggested rectangle and lays their
// controls out again in fonts made for the new DPI, freeing the old ones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/win32/about_window.h"
#include "app/main_layout.h"
#include "app/win32/main_window.h"
#include "config/registry_layout.h"
#include "tests/fakes/fake_platform.h"
#include "tests/win32/gui_driver.h"
#include "ui/scaling.h"
#include "ui/win32/gui_util.h"

namespace qv::testing {
namespace {

LOGFONTA FontOf(HWND control) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

int TextWidthIn(HWND control) {
  const win32::WindowDc dc(nullptr);
  const win32::SelectedObject selected(
      dc.Get(), reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  const std::string text = TextOf(control);
  SIZE size{};
  GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// Sends what Windows sends when the window reaches a monitor of dpi.
void ChangeDpi(HWND window, int dpi, const RECT& suggested) {
  SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// Every control of the table where the table puts it at dpi, in its font
// for dpi, its text within its width; the window at the suggested place.
void ExpectTableAt(HWND window, const std::vector<ControlEntry>& table, int dpi,
                   const RECT& suggested) {
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_TRUE(EqualRect(&outer, &suggested)) << "not at the suggested rectangle";
  for (const ControlEntry& entry : table) {
    SCOPED_TRACE(std::string(entry.name) + " at " + std::to_string(dpi));
    const HWND control = GetDlgItem(window, entry.id);
    ASSERT_NE(control, nullptr);
    const Rect96 designed = PositionInWindow(table, entry);
    const RECT r = RectInParent(control);
    EXPECT_EQ(r.left, ScaleToDpi(designed.left, dpi));
    EXPECT_EQ(r.top, ScaleToDpi(designed.top, dpi));
    // A drop-down list's closed box is never lower than its selection
    // field's font needs.
    if (entry.kind == ControlKind::DropDownList) {
      EXPECT_GE(r.bottom - r.top, ScaleToDpi(designed.height, dpi));
    } else {
      EXPECT_EQ(r.bottom - r.top, ScaleToDpi(designed.height, dpi));
    }
    const int width = r.right - r.left;
    if (designed.width != 0) {
      EXPECT_GE(width, ScaleToDpi(designed.width, dpi));
      if (dpi == kDesignDpi) {
        EXPECT_EQ(width, designed.width);
      }
    }
    if (entry.kind == ControlKind::Image) continue;
    // At 96 DPI the design stands, whatever face stands in for a font.
    if (*entry.caption != '\0' && entry.kind != ControlKind::GroupBox && dpi != kDesignDpi) {
      EXPECT_LE(TextWidthIn(control) + TextRoom(entry.kind, dpi), width);
    }
    const FontSpec font = FontFor(entry.font, dpi);
    const LOGFONTA shown = FontOf(control);
    EXPECT_EQ(shown.lfHeight, font.height);
    EXPECT_STREQ(shown.lfFaceName, font.face);
  }
}

// The main window's world: Ghostscript found, one printer, nothing asked.
class DpiChange : public ::testing::Test {
 protected:
  DpiChange() {
    world_.printerBackend.names = {"Office PS"};
    world_.files.files = {"C:\\gs\\gsdll32.dll", "C:\\gs\\gswin32c.exe"};
    world_.registry.PutString(layout::kSettingsKey, "GS_DLL", "C:\\gs\\gsdll32.dll");
    world_.registry.PutString(layout::kSettingsKey, "GSWIN32C", "C:\\gs\\gswin32c.exe");
  }

  fakes::FakeWorld world_;
  Win32Dialogs dialogs_{GetModuleHandleA(nullptr)};
};

TEST_F(DpiChange, TheMainWindowAndTheAboutWindowLayOutAgainAndFreeTheirOldFonts) {
  // The main window's end posts the quit request, which the next modal
  // loop must not find.
  struct TakeQuit {
    ~TakeQuit() {
      MSG quit;
      while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
      }
    }
  } takeQuit;
  MainWindow main(GetModuleHandleA(nullptr), world_.platform, world_.app, dialogs_);
  main.Create();
  AboutWindow about(GetModuleHandleA(nullptr), world_.processes, dialogs_);
  about.Create(main.Handle());
  struct Window {
    HWND handle;
    const std::vector<ControlEntry>& table;
    int firstId;
  };
  for (const Window& w : {Window{main.Handle(), MainWindowControls(), kIdLabel5},
                          Window{about.Handle(), AboutWindowControls(), kIdAboutLabel1}}) {
    const HFONT before =
        reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(w.handle, w.firstId), WM_GETFONT, 0, 0));
    for (int dpi : {192, 120, 144, 96}) {
      RECT suggested{};
      GetWindowRect(w.handle, &suggested);
      OffsetRect(&suggested, 10, 20);
      suggested.right = suggested.left + ScaleToDpi(400, dpi);
      suggested.bottom = suggested.top + ScaleToDpi(200, dpi);
      ChangeDpi(w.handle, dpi, suggested);
      ExpectTableAt(w.handle, w.table, dpi, suggested);
    }
    EXPECT_EQ(GetObjectType(before), 0u) << "the first fonts were not freed";
  }
}

TEST_F(DpiChange, AnOpenInputDialogScalesItsFontAndGaps) {
  RECT prompt{}, edit{}, ok{}, client{}, outer{}, suggested{};
  LOGFONTA font{};
  Driver driver([&](Driver& d) {
    const HWND dialog = WaitForWindow("QvInputDialog", "Add printer");
    if (!dialog) return d.Fail("no input dialog");
    GetWindowRect(dialog, &suggested);
    OffsetRect(&suggested, 30, 0);
    ChangeDpi(dialog, 144, suggested);
    prompt = RectInParent(GetDlgItem(dialog, 100));
    edit = RectInParent(GetDlgItem(dialog, 101));
    ok = RectInParent(GetDlgItem(dialog, IDOK));
    font = FontOf(GetDlgItem(dialog, 101));
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &outer);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  std::string value = "x";
  dialogs_.InputQuery("Add printer", "Printer name:", value);
  ASSERT_EQ(driver.Finish(), "");
  EXPECT_EQ(font.lfHeight, -16);  // 8 points at 144 DPI
  EXPECT_STREQ(font.lfFaceName, "Microsoft Sans Serif");
  EXPECT_EQ(edit.top, prompt.bottom + 8);    // 5 pixels at 96 DPI
  EXPECT_EQ(ok.top, edit.bottom + 23);       // 15
  EXPECT_EQ(client.bottom, ok.bottom + 20);  // 13
  EXPECT_EQ(outer.left, suggested.left);
  EXPECT_EQ(outer.top, suggested.top);
}

TEST_F(DpiChange, AnOpenMessageWindowTakesTheMessageFontOfTheNewDpi) {
  LONG heightBefore = 0, heightAfter = 0;
  RECT text{}, button{}, client{};
  Driver driver([&](Driver& d) {
    const HWND window = WaitForWindow("QvMessageWindow");
    if (!window) return d.Fail("no message window");
    heightBefore = FontOf(GetDlgItem(window, IDOK)).lfHeight;
    RECT suggested{};
    GetWindowRect(window, &suggested);
    ChangeDpi(window, 192, suggested);
    heightAfter = FontOf(GetDlgItem(window, IDOK)).lfHeight;
    text = RectInParent(GetDlgItem(window, 0xFFFF));
    button = RectInParent(GetDlgItem(window, IDOK));
    GetClientRect(window, &client);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  });
  dialogs_.ShowMessage("Done.");
  ASSERT_EQ(driver.Finish(), "");
  const win32::WindowDc screen(nullptr);
  EXPECT_EQ(heightAfter, MulDiv(heightBefore, 192, GetDeviceCaps(screen.Get(), LOGPIXELSY)));
  EXPECT_GT(button.top, text.bottom);
  EXPECT_GT(client.bottom, button.bottom);
  EXPECT_LE(button.right, client.right);
}

}  // namespace
}  // namespace qv::testing
