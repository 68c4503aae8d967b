// The low-level registry interface the accessor is written against. It
// mirrors the few advapi32 calls the tool needs, with Win32 error codes as
// results, so that the accessor's semantics are written once and the Win32
// implementation stays a thin translation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

using RegKey = std::uintptr_t;  // an open key handle, or a predefined root

constexpr RegKey kHkeyLocalMachine = 0x80000002u;

// Access rights as the registry API defines them.
constexpr std::uint32_t kKeyAllAccess = 0xF003F;
constexpr std::uint32_t kKeyRead =
    0x20009;  // STANDARD_RIGHTS_READ | QUERY_VALUE | ENUMERATE_SUB_KEYS

// Value types as the registry API defines them.
enum RegType : std::uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
  kRegQword = 11,
};

// Win32 error codes the backends report.
enum RegResult : long {
  kErrorSuccess = 0,
  kErrorFileNotFound = 2,
  kErrorAccessDenied = 5,
  kErrorInvalidHandle = 6,
  kErrorNoMoreItems = 259,
};

class IRegistryBackend {
 public:
  virtual ~IRegistryBackend() = default;

  // RegOpenKeyEx: opens parent\path (path relative, no leading backslash).
  virtual long OpenKey(RegKey parent, const std::string& path, std::uint32_t access,
                       RegKey* result) = 0;
  // RegCreateKeyEx (non-volatile): creates the key if missing and opens it.
  virtual long CreateKey(RegKey parent, const std::string& path, std::uint32_t access,
                         RegKey* result) = 0;
  // RegQueryValueEx: the value's type and all of its bytes. With data null,
  // only the type (and existence) is asked for.
  virtual long QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                          std::vector<unsigned char>* data) = 0;
  // RegQueryValueExW: as QueryValue, but a string's bytes come as the
  // registry holds them, UTF-16LE, with no character lost to the code page.
  virtual long QueryValueWide(RegKey key, const std::string& name, std::uint32_t* type,
                              std::vector<unsigned char>* data) = 0;
  // RegSetValueEx.
  virtual long SetValue(RegKey key, const std::string& name, std::uint32_t type,
                        const unsigned char* data, std::size_t size) = 0;
  // RegDeleteValue.
  virtual long DeleteValue(RegKey key, const std::string& name) = 0;
  // RegQueryInfoKey: number of direct subkeys.
  virtual long QuerySubKeyCount(RegKey key, std::uint32_t* count) = 0;
  // RegEnumKeyEx: the name of subkey number index.
  virtual long EnumKey(RegKey key, std::uint32_t index, std::string* name) = 0;
  // RegCloseKey.
  virtual long CloseKey(RegKey key) = 0;
  // UTF-16 text in the system's code page without best fit: false when a
  // character does not come through as it is.
  virtual bool ToCodePage(const std::u16string& text, std::string* narrow) = 0;
};

}  // namespace qv
