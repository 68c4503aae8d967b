// Running NET and rundll32 hidden while the window stays responsive.
#include "app/main.h"
#include "platform/files.h"

namespace qv {

namespace {
constexpr std::uint32_t kWaitSliceMs = 50;
}

void TfrmMain::RunAndWait(const std::string& file, const std::string& parameters) {
  IProcessRunner& processes = platform_.processes;
  ProcessHandle process = 0;
  std::uint32_t error = 0;
  // Messages are answered while the shell starts the program, too.
  const auto pump = [this] { platform_.app.ProcessMessages(); };
  if (!processes.StartHidden(file, parameters, &process, &error, pump)) {
    platform_.dialogs.ShowMessage(processes.SystemErrorText(error));
    return;
  }
  if (process == 0) return;
  // Waits in slices, waking early for window messages, so the window keeps
  // repainting; buttons pressed meanwhile are held back by the dispatcher.
  while (processes.WaitOrMessage(process, kWaitSliceMs) == WaitResult::Woken) {
    platform_.app.ProcessMessages();
  }
  processes.CloseProcess(process);
}

void TfrmMain::RestartSpooler() {
  // From the system folder by its full path: started by bare name, the
  // shell would look in the current folder and the program's folder first,
  // and this program runs as administrator.
  const std::string net = SystemProgram(platform_.files, "net.exe");
  RunAndWait(net, "STOP SPOOLER");
  RunAndWait(net, "START SPOOLER");
}

}  // namespace qv
