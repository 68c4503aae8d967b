#include "ghostscript/registrations.h"

#include <cstdint>

#include "config/registry_layout.h"
#include "platform/errors.h"

namespace qv {
namespace {

// The parts of a numeric version name; false when the name is not numeric.
bool NumericParts(const std::string& name, std::vector<std::uint32_t>* parts) {
  parts->clear();
  std::uint32_t value = 0;
  int digits = 0;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || name[i] == '.') {
      if (digits == 0) return false;
      parts->push_back(value);
      value = 0;
      digits = 0;
    } else if (name[i] >= '0' && name[i] <= '9' && digits < 9) {
      value = value * 10 + static_cast<std::uint32_t>(name[i] - '0');
      ++digits;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int CompareGhostscriptVersions(const std::string& a, const std::string& b) {
  std::vector<std::uint32_t> left, right;
  const bool leftNumeric = NumericParts(a, &left);
  const bool rightNumeric = NumericParts(b, &right);
  if (!leftNumeric || !rightNumeric) return int{leftNumeric} - int{rightNumeric};
  for (std::size_t i = 0; i < left.size() || i < right.size(); ++i) {
    const std::uint32_t l = i < left.size() ? left[i] : 0;
    const std::uint32_t r = i < right.size() ? right[i] : 0;
    if (l != r) return l < r ? -1 : 1;
  }
  return 0;
}

void ReadGhostscriptVersions(Registry& reg, const std::string& family,
                             const std::string& versionPrefix, KeyAccess access, IFileSystem& files,
                             GhostscriptVersions* versions) {
  const std::string key = layout::kSoftwarePrefix + family;
  reg.CloseKey();
  if (!reg.KeyExists(key) || !reg.OpenExisting(key, access)) return;
  std::vector<std::string> names;
  reg.GetKeyNames(names);
  for (const std::string& name : names) {
    reg.CloseKey();
    GhostscriptVersion version{family, name, "", false, "", false};
    if (reg.OpenExisting(versionPrefix + name, access)) {
      try {
        version.hasGsDll = reg.ValueExists(layout::kGsDll);
        if (version.hasGsDll) version.gsDll = reg.ReadString(layout::kGsDll);
      } catch (const ERegistryException& error) {
        version.hasGsDll = true;
        version.readError = error.what();
      }
    }
    version.exists = !version.gsDll.empty() && files.FileExists(version.gsDll);
    versions->push_back(std::move(version));
  }
  reg.CloseKey();
}

GhostscriptVersions::const_iterator HighestInstalled(GhostscriptVersions::const_iterator first,
                                                     GhostscriptVersions::const_iterator last) {
  auto best = last;
  for (auto it = first; it != last; ++it) {
    if (it->exists &&
        (best == last || CompareGhostscriptVersions(it->version, best->version) > 0)) {
      best = it;
    }
  }
  return best;
}

void ReadLaterGhostscriptVersions(Registry& reg, IFileSystem& files,
                                  GhostscriptVersions* versions) {
  for (const char* family : layout::kLaterGhostscriptFamilies) {
    ReadGhostscriptVersions(reg, family, layout::kSoftwarePrefix + std::string(family) + "\\",
                            KeyAccess::ReadOnly, files, versions);
  }
}

}  // namespace qv
