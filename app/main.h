// TfrmMain: the main window's logic. Each handler reads its controls, calls
// a module and shows the message boxes the user expects, so the window
// class only creates controls, binds them here and forwards button clicks
// through Commands().
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/asking_wait.h"
#include "config/settings.h"
#include "platform/changes.h"
#include "platform/commands.h"
#include "platform/event_log.h"
#include "platform/platform.h"
#include "printing/spooler_restart.h"
#include "ui/controls.h"
#include "ui/dialogs.h"

namespace qv {

// The controls the handlers read and fill, by their designer names.
struct MainFormControls {
  ITextControl& Edit2;       // default PDF file name
  ITextControl& Edit3;       // default PDF folder
  ITextControl& Edit4;       // append text
  ITextControl& Edit5;       // gswin32c.exe location
  ITextControl& Edit6;       // gsdll32.dll location
  IListControl& ComboBox1;   // installed printers
  IListControl& ListBox1;    // monitored printers
  ICheckControl& CheckBox1;  // prompt for each PDF
  ICheckControl& CheckBox2;  // confirmation on creation
  ICheckControl& CheckBox3;  // launch PDF application

  // The text field or check box of this designer name (as the options
  // table names them).
  ITextControl& Text(const std::string& name) const;
  ICheckControl& Check(const std::string& name) const;
};

class TfrmMain {
 public:
  TfrmMain(Platform& platform, IApplication& app, IDialogs& dialogs,
           const MainFormControls& controls);

  // Set by the window: close the main window at once (ending the
  // program), and show the About window.
  std::function<void()> closeWindow;
  std::function<void()> showAbout;

  // Every handler runs through this boundary.
  CommandDispatcher& Commands() { return commands_; }
  // A click on the main window's button with this control identifier
  // (app/main_layout.h): runs its handler through the boundary. Exit and
  // About are never held back by a waiting command; Exit then closes once
  // that command has finished, as the close box does. False for an
  // identifier that is not a button.
  bool ButtonClick(int controlId);

  // The start-up sequence, run while the window is created.
  void FormCreate();

  // Button handlers.
  void LMDButton1Click();   // Add
  void LMDButton2Click();   // Fix PDF Port
  void LMDButton3Click();   // Exit
  void LMDButton4Click();   // Change default PDF file and folder
  void LMDButton5Click();   // Change gswin32c.exe
  void LMDButton6Click();   // Change gsdll32.dll
  void LMDButton7Click();   // About
  void LMDButton9Click();   // Query New Printers
  void LMDButton10Click();  // Query Printers Monitored
  void savechangesBtnClick();
  void installpsdriverBtnClick();

  // Shared operations.
  void RefreshPrinterList();
  void RefreshMonitoredList();
  void RestorePdfPort(bool showConfirmation);
  void RestartSpooler();
  void LocateGhostscript(Registry& reg);
  void LoadSettings(Registry& reg, const std::optional<std::string>& desktopFolder);
  void ShowSettings();

  FileDialog OpenDialog1;  // gswin32c.exe
  FileDialog OpenDialog2;  // gsdll32.dll
  FileDialog SaveDialog3;  // default PDF file

  const MainFormControls& controls() const { return controls_; }
  // What the form holds, for reading only.
  const SettingsRecord& Settings() const { return settings; }
  const std::string& GhostscriptDll() const { return GsDllPath; }
  const std::string& GhostscriptExe() const { return GsExePath; }

 private:
  void OpenDialog1CanClose(FileDialog& dialog, bool& canClose);
  void OpenDialog2CanClose(FileDialog& dialog, bool& canClose);
  // A file chosen in a Ghostscript browse dialog: stored as valueName at
  // once, then taken as path and shown in field.
  void TakeChosenPath(const std::string& chosen, const char* valueName, std::string& path,
                      ITextControl& field);
  void SaveDialog3CanClose(FileDialog& dialog, bool& canClose);
  // The end of Add and Install PS Driver after the spooler restart: both
  // lists rebuilt and the notice when the change is in effect, otherwise
  // the failure through the error display.
  void FinishPrinterChange(const RestartOutcome& restart, const char* notice);

  // How a command that changed the machine ended, for its event: the level
  // and the outcome, in the code page.
  struct CommandOutcome {
    EventLevel level = EventLevel::Error;
    std::string text;
    void Done(const char* notice);
    void After(const RestartOutcome& restart, const char* notice);
  };
  // Runs body over a platform that records every change; when something
  // changed, writes one event of eventId naming command (a caption). A
  // failure raised is recorded as an error and raised on. A command run
  // within another is recorded by that one.
  void Recorded(std::uint32_t eventId, const char* command,
                const std::function<void(CommandOutcome&)>& body);
  // Never raises, never tells: a log that cannot be written is skipped.
  void ReportEvent(std::uint32_t eventId, const char* command, const ChangeRecord& record,
                   const CommandOutcome& outcome) noexcept;

  Platform& machine_;
  // The machine, or while a command runs, the platform that records it.
  Platform* platform_;
  IDialogs& dialogs_;
  MainFormControls controls_;
  CommandDispatcher commands_;
  AskingWait wait_;
  // The state the form keeps for the whole run.
  SettingsRecord settings;
  std::string GsDllPath;
  std::string GsExePath;
  // ShowSettings has filled the Options group since the program started.
  bool optionsShown_ = false;
};

}  // namespace qv
