// Every system service the tool's modules work through, in one bundle that
// both programs compose once.
#pragma once

#include "platform/clock.h"
#include "platform/event_log.h"
#include "platform/files.h"
#include "platform/printers.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/registry_backend.h"
#include "platform/restart_lock.h"
#include "platform/spooler.h"

namespace qv {

struct Platform {
  IRegistryBackend& registry;
  PrinterService& printers;
  IProcessRunner& processes;
  IFileSystem& files;
  ISpooler& spooler;
  IClock& clock;
  // The 64-bit registry view, which only status reads; null where Windows
  // has none.
  IRegistryBackend* registry64 = nullptr;
  IRestartLock& restartLock;
  // The Application event log, where every change is recorded.
  IEventLog& events;
};

}  // namespace qv
