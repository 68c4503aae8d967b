// TfrmMain: construction, the start-up sequence, and the handlers that
// belong to no subsystem of their own.
#include "app/main.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "app/main_layout.h"
#include "config/registry_layout.h"
#include "platform/errors.h"
#include "printing/change_event.h"
#include "printing/pdf_port.h"

namespace qv {
namespace {

constexpr const char* kWindowProgram = "QuorvinConfig.exe";
constexpr const char* kStartUpCommand = "start-up";
// The outcome of a command that tells nothing when it succeeds.
constexpr const char* kCompletedText = "Completed.";

}  // namespace

// The designer names number the fields from Edit2 and the boxes from
// CheckBox1.
ITextControl& MainFormControls::Text(const std::string& name) const {
  ITextControl* const fields[] = {&Edit2, &Edit3, &Edit4, &Edit5, &Edit6};
  for (int i = 0; i < 5; ++i) {
    if (name == "Edit" + std::to_string(i + 2)) return *fields[i];
  }
  throw std::logic_error("The main window has no field " + name);
}

ICheckControl& MainFormControls::Check(const std::string& name) const {
  ICheckControl* const boxes[] = {&CheckBox1, &CheckBox2, &CheckBox3};
  for (int i = 0; i < 3; ++i) {
    if (name == "CheckBox" + std::to_string(i + 1)) return *boxes[i];
  }
  throw std::logic_error("The main window has no check box " + name);
}

TfrmMain::TfrmMain(Platform& platform, IApplication& app, IDialogs& dialogs,
                   const MainFormControls& controls)
    : machine_(platform),
      platform_(&platform),
      dialogs_(dialogs),
      controls_(controls),
      commands_([&dialogs](const std::exception& error) { ShowException(dialogs, error); }),
      wait_(app, platform.clock, dialogs) {
  OpenDialog1.defaultExt = "exe";
  OpenDialog1.fileName = "gswin32c.exe";
  OpenDialog1.filter = "Application Program (*.exe)|*.exe|All Files|*.*";
  OpenDialog1.onCanClose = [this](FileDialog& d, bool& c) { OpenDialog1CanClose(d, c); };

  OpenDialog2.defaultExt = "dll";
  OpenDialog2.fileName = "gsdll32.dll";
  OpenDialog2.filter = "Dynamic Link Library|*.dll|All Files|*.*";
  OpenDialog2.onCanClose = [this](FileDialog& d, bool& c) { OpenDialog2CanClose(d, c); };

  SaveDialog3.defaultExt = "pdf";
  SaveDialog3.fileName = layout::kDefaultPdfFileValue;
  SaveDialog3.filter = "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*";
  SaveDialog3.onCanClose = [this](FileDialog& d, bool& c) { SaveDialog3CanClose(d, c); };
}

void TfrmMain::FormCreate() {
  const std::optional<std::string> desktopFolder = platform_->files.DesktopFolder();
  // What the start-up stores is on record as one event per kind: the
  // Ghostscript paths found or chosen, the defaults written for missing
  // options, and a silent repair of the port.
  Recorded(kEventGhostscriptPath, kStartUpCommand, [this](CommandOutcome& outcome) {
    Registry reg(platform_->registry);
    LocateGhostscript(reg);
    outcome.Done(nullptr);
  });

  // A printer list the system cannot give (a stopped spooler) is shown,
  // and the start goes on: the options must still be read, or a later
  // Save Changes would store the empty fields over them. No printer is
  // offered then, since the list is unknown rather than empty.
  bool listed = true;
  try {
    RefreshPrinterList();
  } catch (const EPlatformError& error) {
    ShowException(dialogs_, error);
    listed = false;
  }
  if (listed && controls_.ComboBox1.Count() == 0 &&
      dialogs_.MessageBox("You do not have any printer drivers installed to monitor for PDF "
                          "creation.\rWould you like to install one now?",
                          "Install Quorvin PostScript Printer Driver?",
                          kMbYesNo | kMbIconQuestion) == kIdYes) {
    installpsdriverBtnClick();
  }
  RefreshMonitoredList();

  // A folder the code page cannot hold is told once; the writes made from
  // it are skipped, and the start goes on.
  if (!OwnFolder(platform_->files)) {
    ShowException(dialogs_, std::runtime_error(kFolderNotInCodePageText));
  }
  Recorded(kEventOptions, kStartUpCommand, [this, &desktopFolder](CommandOutcome& outcome) {
    Registry reg(platform_->registry);
    LoadSettings(reg, desktopFolder);
    outcome.Done(nullptr);
  });

  // A missing or foreign port monitor registration is repaired silently.
  Recorded(kEventPdfPort, kStartUpCommand, [this](CommandOutcome& outcome) {
    Registry reg(platform_->registry);
    if (!MonitorIsRegistered(reg)) RestorePdfPort(false);
    outcome.Done(nullptr);
  });
  ShowSettings();
}

void TfrmMain::CommandOutcome::Done(const char* notice) {
  level = EventLevel::Information;
  text = notice != nullptr ? notice : kCompletedText;
}

void TfrmMain::CommandOutcome::After(const RestartOutcome& restart, const char* notice) {
  if (restart.result == RestartResult::Restarted) {
    Done(notice);
    return;
  }
  level = restart.result == RestartResult::DependentNotStarted ? EventLevel::Warning
                                                               : EventLevel::Error;
  text = restart.text;
}

void TfrmMain::Recorded(std::uint32_t eventId, const char* command,
                        const std::function<void(CommandOutcome&)>& body) {
  CommandOutcome outcome;
  if (platform_ != &machine_) {
    body(outcome);
    return;
  }
  ChangePlatform changes(machine_, false, layout::kPrintersKeyPrefix);
  struct Swap {
    Platform*& current;
    Platform& machine;
    ~Swap() { current = &machine; }
  } swap{platform_, machine_};
  platform_ = &changes.platform();
  try {
    body(outcome);
  } catch (const std::exception& error) {
    outcome.level = EventLevel::Error;
    outcome.text = error.what();
    ReportEvent(eventId, command, changes.record(), outcome);
    throw;
  }
  ReportEvent(eventId, command, changes.record(), outcome);
}

void TfrmMain::ReportEvent(std::uint32_t eventId, const char* command, const ChangeRecord& record,
                           const CommandOutcome& outcome) noexcept {
  if (!record.Changed()) return;
  try {
    const ToUtf8Function toUtf8 = [this](const std::string& text) {
      return machine_.files.ToUtf8(text);
    };
    EventRecord event;
    event.what = EventSummary(eventId, record.changes, toUtf8);
    event.program = kWindowProgram;
    event.command = command;
    for (const Change& change : record.changes) {
      event.changes.push_back(MadeChangeLine(change, toUtf8));
    }
    // The window's texts break lines with CR alone.
    std::string text = outcome.text;
    for (char& c : text) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    event.outcome = toUtf8(text);
    machine_.events.Report(outcome.level, eventId, EventText(event));
  } catch (...) {
    // The event is skipped; the command's outcome stands.
  }
}

bool TfrmMain::ButtonClick(int controlId) {
  struct Button {
    int id;
    void (TfrmMain::*handler)();
    bool heldBack;  // while another command waits
  };
  static const Button kButtons[] = {
      {kIdLMDButton1, &TfrmMain::LMDButton1Click, true},
      {kIdLMDButton2, &TfrmMain::LMDButton2Click, true},
      {kIdLMDButton3, &TfrmMain::LMDButton3Click, false},
      {kIdLMDButton4, &TfrmMain::LMDButton4Click, true},
      {kIdLMDButton5, &TfrmMain::LMDButton5Click, true},
      {kIdLMDButton6, &TfrmMain::LMDButton6Click, true},
      {kIdLMDButton7, &TfrmMain::LMDButton7Click, false},
      {kIdLMDButton9, &TfrmMain::LMDButton9Click, true},
      {kIdLMDButton10, &TfrmMain::LMDButton10Click, true},
      {kIdSaveChangesBtn, &TfrmMain::savechangesBtnClick, true},
      {kIdInstallPsDriverBtn, &TfrmMain::installpsdriverBtnClick, true},
  };
  for (const Button& button : kButtons) {
    if (button.id != controlId) continue;
    const auto run = [this, &button] { (this->*button.handler)(); };
    if (button.heldBack) {
      commands_.Execute(run);
    } else {
      commands_.ExecuteAlongside(run);
    }
    return true;
  }
  return false;
}

void TfrmMain::LMDButton3Click() {
  // While another command waits, the window closes once it has finished.
  if (closeWindow) commands_.RequestClose(closeWindow);
}

void TfrmMain::LMDButton7Click() {
  if (showAbout) showAbout();
}

}  // namespace qv
