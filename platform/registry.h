// The registry accessor: every registry operation of the tool goes through
// one of these, created for a single command and released at its end.
// Opens that fail are silent (false); the writes after them raise.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_backend.h"

namespace qv {

// How a command opens the keys it only reads: as the window does (full
// access, so that a user without write access finds them closed), or
// read-only, for reading a machine without changing it.
enum class KeyAccess { Full, ReadOnly };

class Registry {
 public:
  explicit Registry(IRegistryBackend& backend, RegKey root = kHkeyLocalMachine);
  ~Registry();  // release: closes the current key
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  // Opens path (created first when canCreate and the path is not empty).
  // Returns false and changes nothing when that fails.
  bool OpenKey(const std::string& path, bool canCreate);
  // Opens an existing key with read access only: for reading a machine
  // without changing it, and without administrator rights.
  bool OpenKeyReadOnly(const std::string& path);
  // Opens an existing key with the given access.
  bool OpenExisting(const std::string& path, KeyAccess access) {
    return access == KeyAccess::Full ? OpenKey(path, false) : OpenKeyReadOnly(path);
  }
  // Creates path if missing and closes it again; the current key stays.
  // Raises "Failed to create key <path>".
  void CreateKey(const std::string& path);
  // Opens path with read access only and closes it again. Never raises.
  bool KeyExists(const std::string& path);

  // False when the value is missing or no key is open. Any other failure
  // (access denied, a failing backend) is not "missing": it raises
  // "Failed to get data for '<name>'".
  bool ValueExists(const std::string& name);
  // A REG_SZ or REG_EXPAND_SZ, read in UTF-16 and converted to the code
  // page exactly; a text the code page cannot hold raises ENotInCodePage
  // ("The value '<name>' holds characters that this system's code page
  // cannot represent"), as a value of the wrong type raises.
  std::string ReadString(const std::string& name);
  // As ReadString, for a value the tool only compares with what it writes:
  // a text the code page cannot hold cannot equal such a text, and reads
  // as nullopt instead of raising.
  std::optional<std::string> ReadComparable(const std::string& name);
  std::int32_t ReadInteger(const std::string& name);
  // A REG_SZ or REG_EXPAND_SZ value as the registry holds it, read with the
  // wide API so that no character is lost to the code page: its UTF-16 up
  // to the first NUL, and its type. Empty when missing; raises "Invalid
  // data type" for any other type, even an empty one.
  std::u16string ReadWideString(const std::string& name, std::uint32_t* type);
  void WriteString(const std::string& name, const std::string& value);
  void WriteInteger(const std::string& name, std::int32_t value);
  // Removes a value of the current key; false when it is not there or
  // cannot be removed.
  bool DeleteValue(const std::string& name);

  // Replaces names with the current key's direct subkey names.
  void GetKeyNames(std::vector<std::string>& names);

  void CloseKey();

  bool HasCurrentKey() const { return current_ != 0; }
  const std::string& CurrentPath() const { return currentPath_; }

 private:
  // The parent handle and relative path a path resolves to.
  RegKey ResolveParent(const std::string& path, std::string* relative) const;
  bool Open(const std::string& path, bool canCreate, std::uint32_t access);
  void ChangeKey(RegKey key, const std::string& path);

  IRegistryBackend& backend_;
  RegKey root_;
  RegKey current_ = 0;
  std::string currentPath_;
};

}  // namespace qv
