// Which gsdll32.dll and gswin32c.exe the start-up search takes, worked out
// from the registry and the files alone: it writes nothing and asks
// nothing. The window's start-up stores and shows what it returns, and
// status reports it, so the two cannot disagree.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ghostscript/registrations.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace qv {

struct GhostscriptChoice {
  // The paths the search ends with, and whether their files exist.
  std::string gsDll, gsExe;
  bool dllExists = false, exeExists = false;
  // What the search stores in the settings key, in order: GS_DLL for each
  // registration it takes, then GSWIN32C when derived from the library.
  struct Store {
    const char* name;
    std::string path;
  };
  std::vector<Store> stores;
  // The versions the AFPL, GPL and Artifex families registered, in that
  // order, and the one whose library the search takes (-1: none, as when
  // the stored library exists).
  GhostscriptVersions registered;
  int chosen = -1;
  // The registry's error that ends the search (a value of the wrong type);
  // stores then holds the hits found before it.
  std::optional<std::string> error;
};

// The search: the stored paths; when the stored library does not exist,
// Ghostscript's AFPL registration (the last version with a GS_DLL wins);
// when that leaves no existing library, the highest GPL or Artifex version
// whose library exists; gswin32c.exe beside the library when the stored
// one does not exist. The settings key and the AFPL registration are opened
// with the given access (full access, as the start-up opens them, or
// read-only for status); the later registrations always read-only.
GhostscriptChoice ChooseGhostscript(Registry& reg, IFileSystem& files, KeyAccess access);

// Stores one path in the settings key straight away (created when
// missing). Raises the registry's error when the write fails.
void StoreGhostscriptPath(Registry& reg, const char* name, const std::string& path);

}  // namespace qv
