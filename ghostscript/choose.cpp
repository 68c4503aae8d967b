#include "ghostscript/choose.h"

#include "config/registry_layout.h"
#include "platform/errors.h"

namespace qv {
namespace {

namespace L = layout;

// The stored paths; false with the error when one cannot be read.
bool ReadStored(Registry& reg, KeyAccess access, GhostscriptChoice* choice) {
  if (!reg.KeyExists(L::kSettingsKey)) return true;
  try {
    if (reg.OpenExisting(L::kSettingsKey, access)) {
      if (reg.ValueExists(L::kGsDll)) choice->gsDll = reg.ReadString(L::kGsDll);
      if (reg.ValueExists(L::kGsWin32c)) choice->gsExe = reg.ReadString(L::kGsWin32c);
    }
  } catch (const ERegistryException& error) {
    choice->error = error.what();
  }
  reg.CloseKey();
  return !choice->error;
}

void Take(GhostscriptChoice* choice, int index) {
  const GhostscriptVersion& version = choice->registered[static_cast<std::size_t>(index)];
  choice->gsDll = version.gsDll;
  choice->chosen = index;
  choice->stores.push_back({L::kGsDll, version.gsDll});
}

}  // namespace

GhostscriptChoice ChooseGhostscript(Registry& reg, IFileSystem& files, KeyAccess access) {
  GhostscriptChoice choice;
  GhostscriptVersions& all = choice.registered;
  ReadGhostscriptVersions(reg, L::kAfplGhostscriptFamily, L::kGhostscriptVersionPrefix, access,
                          files, &all);
  const int afplCount = static_cast<int>(all.size());
  ReadLaterGhostscriptVersions(reg, files, &all);
  if (!ReadStored(reg, access, &choice)) return choice;

  // The AFPL registration: every version with a GS_DLL is taken in turn,
  // and one that cannot be read ends the search.
  if (!files.FileExists(choice.gsDll)) {
    for (int i = 0; i < afplCount; ++i) {
      const GhostscriptVersion& version = all[static_cast<std::size_t>(i)];
      if (!version.hasGsDll) continue;
      if (!version.readError.empty()) {
        choice.error = version.readError;
        choice.chosen = -1;
        return choice;
      }
      Take(&choice, i);
    }
  }
  // Today's installers: the highest version whose library exists.
  if (!files.FileExists(choice.gsDll)) {
    const auto best = HighestInstalled(all.begin() + afplCount, all.end());
    if (best != all.end()) Take(&choice, static_cast<int>(best - all.begin()));
  }

  choice.exeExists = files.FileExists(choice.gsExe);
  if (!choice.exeExists) {
    const std::string candidate = ExtractFilePath(choice.gsDll, files) + L::kGsExeName;
    if (files.FileExists(candidate)) {
      choice.gsExe = candidate;
      choice.exeExists = true;
      choice.stores.push_back({L::kGsWin32c, candidate});
    }
  }
  choice.dllExists = files.FileExists(choice.gsDll);
  return choice;
}

void StoreGhostscriptPath(Registry& reg, const char* name, const std::string& path) {
  reg.OpenKey(L::kSettingsKey, true);
  reg.WriteString(name, path);
  reg.CloseKey();
}

}  // namespace qv
