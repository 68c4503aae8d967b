// Fuzzes the whole form over the in-memory platform: the input decides the
// registry's contents (keys, value names, types, raw bytes), the printers,
// whether the user may write, the files on disk and every dialog answer;
// then the start-up sequence and a series of button handlers run. Any
// crash, sanitizer report, exception other than a registry, printer or
// system error, or registry handle left open after a command is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/registry_layout.h"
#include "platform/errors.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

namespace L = layout;

[[noreturn]] void Finding(const char* what) {
  std::fprintf(stderr, "finding: %s\n", what);
  std::abort();
}

// Dialog answers drawn from the input.
class FuzzDialogs : public IDialogs {
 public:
  explicit FuzzDialogs(FuzzedDataProvider& in) : in_(in) {}
  int MessageBox(const std::string&, const std::string&, unsigned flags) override {
    if ((flags & kMbTypeMask) == kMbYesNo) return in_.ConsumeBool() ? kIdYes : kIdNo;
    return kIdOk;
  }
  void ShowMessage(const std::string&) override {}
  bool InputQuery(const std::string&, const std::string&, std::string& value) override {
    if (!in_.ConsumeBool()) return false;
    if (in_.ConsumeBool()) value = in_.ConsumeRandomLengthString(300);
    return true;
  }
  bool ExecuteOpen(FileDialog& d) override { return Execute(d); }
  bool ExecuteSave(FileDialog& d) override { return Execute(d); }

 private:
  bool Execute(FileDialog& dialog) {
    if (!in_.ConsumeBool()) return false;
    dialog.fileName = in_.ConsumeRandomLengthString(300);
    bool canClose = true;
    if (dialog.onCanClose) {
      try {
        dialog.onCanClose(dialog, canClose);
      } catch (const EPlatformError& e) {
        ShowException(*this, e);
      } catch (...) {
        Finding("unexpected exception in a close-query event");
      }
    }
    return true;
  }
  FuzzedDataProvider& in_;
};

const char* const kKeys[] = {
    L::kSettingsKey,
    L::kMonitorKey,
    L::kPortsKey,
    L::kPdfPortKey,
    "SOFTWARE\\AFPL Ghostscript\\8.50",
    "SOFTWARE\\AFPL Ghostscript\\8.14",
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\P0",
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\P1",
};
const char* const kNames[] = {
    L::kGsDll,         L::kGsWin32c,         L::kUserDesktopDir, L::kDefaultPdfFile,
    L::kDefaultPdfDir, L::kDefaultPdfAppend, L::kPromptPdf,      L::kFinishMessage,
    L::kLaunchPdfApp,  L::kDriver,           L::kPort,           "Delay",
    "Command",
};
const std::uint32_t kTypes[] = {kRegNone,  kRegSz,      kRegExpandSz, kRegBinary,
                                kRegDword, kRegMultiSz, kRegQword,    5};

void (TfrmMain::*const kHandlers[])() = {
    &TfrmMain::LMDButton1Click,     &TfrmMain::LMDButton2Click,         &TfrmMain::LMDButton3Click,
    &TfrmMain::LMDButton4Click,     &TfrmMain::LMDButton5Click,         &TfrmMain::LMDButton6Click,
    &TfrmMain::LMDButton7Click,     &TfrmMain::LMDButton9Click,         &TfrmMain::LMDButton10Click,
    &TfrmMain::savechangesBtnClick, &TfrmMain::installpsdriverBtnClick,
};

void FillRegistry(FuzzedDataProvider& in, fakes::MemoryRegistry& registry,
                  std::vector<std::string>& printers) {
  const int values = in.ConsumeIntegralInRange(0, 24);
  for (int i = 0; i < values; ++i) {
    std::string key = in.PickValueInArray(kKeys);
    if (in.ConsumeIntegralInRange(0, 7) == 0) key = in.ConsumeRandomLengthString(40);
    std::string name = in.PickValueInArray(kNames);
    if (in.ConsumeIntegralInRange(0, 7) == 0) name = in.ConsumeRandomLengthString(16);
    const std::uint32_t type = in.PickValueInArray(kTypes);
    std::vector<unsigned char> data = in.ConsumeBytes<unsigned char>(
        in.ConsumeIntegralInRange<std::size_t>(0, in.ConsumeBool() ? 8 : 64));
    registry.PutRaw(key, name, type, std::move(data));
  }
  const int count = in.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < count; ++i) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0:
        printers.push_back("P" + std::to_string(i));
        break;
      case 1:
        printers.push_back("\\\\server\\P" + std::to_string(i));
        break;
      default:
        printers.push_back(in.ConsumeRandomLengthString(24));
        break;
    }
  }
  if (in.ConsumeIntegralInRange(0, 3) == 0) registry.SetAllReadOnly(true);
  if (in.ConsumeIntegralInRange(0, 3) == 0) registry.SetReadOnly(in.PickValueInArray(kKeys));
}

}  // namespace
}  // namespace qv

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qv;
  FuzzedDataProvider in(data, size);

  fakes::MemoryRegistry registry;
  fakes::FakePrinters printerBackend;
  FillRegistry(in, registry, printerBackend.names);
  PrinterService printers(printerBackend);
  fakes::FakeProcesses processes;
  processes.waitSlices = in.ConsumeIntegralInRange(0, 2);
  if (in.ConsumeBool()) processes.missingPrograms.insert("NET");
  fakes::FakeFiles files;
  if (in.ConsumeBool()) files.files.insert("C:\\gs\\gsdll32.dll");
  if (in.ConsumeBool()) files.files.insert("C:\\gs\\gswin32c.exe");
  if (in.ConsumeBool()) files.executable = in.ConsumeRandomLengthString(40);
  FuzzDialogs dialogs(in);
  fakes::FakeApplication app;
  fakes::FakeClock clock;
  fakes::FakeSpooler spooler(processes, registry, clock);
  // Another restart may hold the lock for up to ten minutes, give it up
  // abandoned, or the lock may be refused.
  fakes::FakeRestartLock restartLock(clock);
  restartLock.heldUntil = in.ConsumeIntegralInRange<std::uint64_t>(0, 600000);
  restartLock.abandoned = in.ConsumeBool();
  restartLock.denied = in.ConsumeBool();
  fakes::FakeEventLog events;
  Platform platform{registry, printers, processes,   files, spooler,
                    clock,    nullptr,  restartLock, events};

  MemoryText e2, e3, e4, e5, e6;
  MemoryList combo, list;
  MemoryCheck c1, c2, c3;
  TfrmMain form(platform, app, dialogs,
                MainFormControls{e2, e3, e4, e5, e6, combo, list, c1, c2, c3});

  auto run = [&](void (TfrmMain::*handler)()) {
    form.Commands().Execute([&] {
      try {
        (form.*handler)();
      } catch (const EPlatformError&) {
        throw;  // shown by the error display, as in the program
      } catch (...) {
        Finding("an exception that is not a registry, printer or system error");
      }
    });
    if (registry.OpenHandleCount() != 0) Finding("registry handle left open");
    if (processes.openProcesses != 0) Finding("process handle left open");
  };
  // Buttons pressed while a command waits must be held back.
  processes.onWait = [&] {
    if (in.ConsumeBool()) {
      auto handler = in.PickValueInArray(kHandlers);
      if (form.Commands().Execute([&] { (form.*handler)(); })) {
        Finding("a command ran inside a waiting one");
      }
    }
  };

  run(&TfrmMain::FormCreate);
  const int commands = in.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < commands && in.remaining_bytes() > 0; ++i) {
    if (in.ConsumeBool()) c1.checked = !c1.checked;
    if (in.ConsumeBool()) combo.SetItemIndex(in.ConsumeIntegralInRange(-1, 4));
    if (in.ConsumeBool()) e4.text = in.ConsumeRandomLengthString(64);
    run(in.PickValueInArray(kHandlers));
  }
  return 0;
}
