// The Windows system services both programs work through, composed once:
// the registry, the printers, program start, files and the application
// object. Each program adds its own dialogs.
#pragma once

#include "platform/printers.h"
#include "platform/win32/win_application.h"
#include "platform/win32/win_files.h"
#include "platform/win32/win_printers.h"
#include "platform/win32/win_process.h"
#include "platform/win32/win_registry.h"

namespace qv {

struct Win32Services {
  Win32Services() { app.SetTitle(kApplicationTitle); }
  Win32Registry registry;
  Win32PrinterBackend printerBackend;
  PrinterService printers{printerBackend};
  Win32ProcessRunner processes;
  Win32FileSystem files;
  Win32Application app;
};

}  // namespace qv
