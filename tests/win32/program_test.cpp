// The window program composed with in-memory services: an error while its
// windows are created is shown, without an owner, once the main window is
// gone.
#include "app/win32/program.h"

#include <gtest/gtest.h>

#include "config/registry_layout.h"
#include "tests/fakes/fake_platform.h"
#include "tests/win32/gui_driver.h"

namespace qv::testing {
namespace {

// Refuses to create windows of one class, as a system out of resources would.
HHOOK failingHook = nullptr;
LRESULT CALLBACK RefuseAboutWindow(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
    const auto name = reinterpret_cast<ULONG_PTR>(create->lpszClass);
    if (name > 0xFFFF && lstrcmpA(create->lpszClass, "QuorvinConfigAbout") == 0) return 1;
  }
  return CallNextHookEx(failingHook, code, wParam, lParam);
}

TEST(WindowProgram, AFailingAboutWindowIsShownWithoutAnOwner) {
  fakes::MemoryRegistry registry;
  fakes::FakePrinters printerBackend;
  printerBackend.names = {"Office PS"};
  PrinterService printers(printerBackend);
  fakes::FakeProcesses processes;
  fakes::FakeFiles files;
  files.files = {"C:\\gs\\gsdll32.dll", "C:\\gs\\gswin32c.exe"};
  registry.PutString(layout::kSettingsKey, "GS_DLL", "C:\\gs\\gsdll32.dll");
  registry.PutString(layout::kSettingsKey, "GSWIN32C", "C:\\gs\\gswin32c.exe");
  Win32Dialogs dialogs(GetModuleHandleA(nullptr));
  Win32Application app;
  fakes::FakeClock clock;
  fakes::FakeSpooler spooler(processes, registry, clock);
  fakes::FakeRestartLock restartLock(clock);
  fakes::FakeEventLog events;
  Platform platform{registry, printers, processes,   files, spooler,
                    clock,    nullptr,  restartLock, events};

  failingHook = SetWindowsHookExA(WH_CBT, RefuseAboutWindow, nullptr, GetCurrentThreadId());
  ASSERT_NE(failingHook, nullptr);
  Driver driver([](Driver& d) {
    const HWND box = WaitForWindow("#32770", kApplicationTitle);
    if (!box) return d.Fail("no error box");
    if (TextOf(GetDlgItem(box, 0xFFFF)) != "The About window could not be created.") {
      d.Fail("wrong text: " + TextOf(GetDlgItem(box, 0xFFFF)));
    }
    if (GetWindow(box, GW_OWNER) != nullptr) d.Fail("the box has an owner");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  const int code = RunWindowProgram(GetModuleHandleA(nullptr), platform, dialogs, app);
  UnhookWindowsHookEx(failingHook);
  EXPECT_EQ(driver.Finish(), "");
  EXPECT_EQ(code, 1);
  EXPECT_EQ(registry.OpenHandleCount(), 0);
}

}  // namespace
}  // namespace qv::testing
