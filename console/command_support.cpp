#include "console/command_support.h"

#include "config/registry_layout.h"
#include "platform/commands.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace qv {

bool RunReporting(ConsoleServices& services, const std::function<void()>& work) {
  CommandDispatcher commands([&services](const std::exception& error) {
    services.out.Write(Stream::Err, AsConsoleLines(ErrorDisplayText(error.what())));
  });
  commands.Execute(work);
  return commands.Errors() == 0;
}

int Refuse(ConsoleServices& services, const std::string& text) {
  services.out.Write(Stream::Err, AsConsoleLines(text));
  return kExitRefused;
}

int Done(ConsoleServices& services, const std::string& notice) {
  services.out.Write(Stream::Out, AsConsoleLines(notice));
  return kExitDone;
}

bool InPackageFolder(ConsoleServices& services, std::optional<std::string>* folder) {
  IFileSystem& files = services.platform.files;
  *folder = OwnFolder(files);
  if (!*folder || files.FileExists(**folder + layout::kRunProgramName)) return true;
  // The folder is named exactly, whatever the code page holds of it.
  std::string shown = OwnFolderUtf8(files);
  if (!shown.empty() && shown.back() == '\\') shown.pop_back();
  services.out.WriteUtf8Text(
      Stream::Err, std::string(layout::kRunProgramName) + " is not in " + shown +
                       ". Run QuorvinConfigCmd.exe from the folder the package is installed in.\n");
  return false;
}

}  // namespace qv
