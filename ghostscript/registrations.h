// Reading Ghostscript's registrations and ranking their versions.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/registry.h"

namespace qv {

// One version subkey of a family's registration.
struct GhostscriptVersion {
  std::string family;     // "GPL Ghostscript"
  std::string version;    // the subkey's name, "10.04.0"
  std::string gsDll;      // its GS_DLL; empty when missing or unreadable
  bool hasGsDll = false;  // GS_DLL is there (readable or not)
  // The registry's error for a GS_DLL that is there but cannot be read as
  // text (a value of the wrong type); empty otherwise.
  std::string readError;
  bool exists = false;  // gsDll names an existing file
};
using GhostscriptVersions = std::vector<GhostscriptVersion>;

// Compares two version names: negative, zero or positive as a is lower,
// equal or higher. A name is numeric when its dot-separated parts are each
// 1 to 9 decimal digits; numeric names compare part by part as numbers, a
// missing part counting as 0 (9.5 = 9.5.0 = 9.05 < 9.10). Every other name
// ranks below every numeric one, and all of them rank equal.
int CompareGhostscriptVersions(const std::string& a, const std::string& b);

// Appends the versions registered under "SOFTWARE\" + family, in
// enumeration order, each version's key being versionPrefix + its name.
// The family's key is tested for existence first and nothing is ever
// created; keys are opened with the given access. Leaves no key open.
void ReadGhostscriptVersions(Registry& reg, const std::string& family,
                             const std::string& versionPrefix, KeyAccess access, IFileSystem& files,
                             GhostscriptVersions* versions);

// Appends the versions of today's installers' families (GPL, then
// Artifex), read with read-only opens.
void ReadLaterGhostscriptVersions(Registry& reg, IFileSystem& files, GhostscriptVersions* versions);

// The highest version in [first, last) whose library exists, the first
// found among equals; last when there is none.
GhostscriptVersions::const_iterator HighestInstalled(GhostscriptVersions::const_iterator first,
                                                     GhostscriptVersions::const_iterator last);

}  // namespace qv
