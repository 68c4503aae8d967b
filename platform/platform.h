// Every system service the tool's logic uses, in one bundle.
#pragma once

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/printers.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/registry_backend.h"

namespace qv {

struct Platform {
  IRegistryBackend& registry;
  PrinterService& printers;
  IProcessRunner& processes;
  IFileSystem& files;
  IDialogs& dialogs;
  IApplication& app;
};

}  // namespace qv
