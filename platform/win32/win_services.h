// The Windows system services both programs work through, composed once
// into the platform bundle. Each program adds its own front end.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win_clock.h"
#include "platform/win32/win_event_log.h"
#include "platform/win32/win_files.h"
#include "platform/win32/win_printers.h"
#include "platform/win32/win_process.h"
#include "platform/win32/win_registry.h"
#include "platform/win32/win_restart_lock.h"
#include "platform/win32/win_spooler.h"

namespace qv {

struct Win32Services {
  Win32Services() = default;
  Win32Services(const Win32Services&) = delete;
  Win32Services& operator=(const Win32Services&) = delete;

  Win32Registry registry;
  Win32Registry registry64{RegistryView::Bits64};
  Win32PrinterBackend printerBackend;
  PrinterService printers{printerBackend};
  Win32ProcessRunner processes;
  Win32FileSystem files;
  Win32Spooler spooler;
  Win32Clock clock;
  Win32RestartLock restartLock;
  Win32EventLog events{files};
  Platform platform{registry,
                    printers,
                    processes,
                    files,
                    spooler,
                    clock,
                    Has64BitRegistryView() ? &registry64 : nullptr,
                    restartLock,
                    events};
};

}  // namespace qv
