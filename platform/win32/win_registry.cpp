#include "platform/win32/win_registry.h"

#include <windows.h>

#include <limits>
#include <string>

#include "platform/win32/text_conversion.h"

namespace qv {
namespace {

// The package's keys live in the 32-bit view on 64-bit Windows.
constexpr REGSAM kView = KEY_WOW64_32KEY;

// Predefined roots are 32-bit values that Windows sign-extends in 64-bit
// builds (HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 there); opened keys are
// handles as they stand.
HKEY ToHkey(RegKey key) {
  if (key >= 0x80000000u && key <= 0x800000FFu) {
    return reinterpret_cast<HKEY>(
        static_cast<LONG_PTR>(static_cast<LONG>(static_cast<std::uint32_t>(key))));
  }
  return reinterpret_cast<HKEY>(key);
}

bool IsPredefined(RegKey key) {
  const auto value = static_cast<std::uint64_t>(key);
  const auto high = value >> 32;
  return (value & 0xFFFFFF00u) == 0x80000000u && (high == 0 || high == 0xFFFFFFFFu);
}

}  // namespace

bool Has64BitRegistryView() {
#ifdef _WIN64
  return true;
#else
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

Win32Registry::Win32Registry(RegistryView view)
    : view_(view == RegistryView::Bits64 ? KEY_WOW64_64KEY : kView) {}

long Win32Registry::OpenKey(RegKey parent, const std::string& path, std::uint32_t access,
                            RegKey* result) {
  HKEY key = nullptr;
  const LONG rc = RegOpenKeyExA(ToHkey(parent), path.c_str(), 0, access | view_, &key);
  *result = rc == ERROR_SUCCESS ? reinterpret_cast<RegKey>(key) : 0;
  return rc;
}

long Win32Registry::CreateKey(RegKey parent, const std::string& path, std::uint32_t access,
                              RegKey* result) {
  HKEY key = nullptr;
  const LONG rc = RegCreateKeyExA(ToHkey(parent), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  access | view_, nullptr, &key, nullptr);
  *result = rc == ERROR_SUCCESS ? reinterpret_cast<RegKey>(key) : 0;
  return rc;
}

namespace {

// A value's type and all of its bytes, from one RegQueryValueEx (A or W)
// given as query(type, buffer, size). The value may grow between the size
// query and the read: ask again until the buffer holds all of it. The
// system never writes more than the size it is given.
template <typename Query>
long QueryWhole(const Query& query, std::uint32_t* type, std::vector<unsigned char>* data) {
  DWORD valueType = REG_NONE;
  DWORD size = 0;
  LONG rc = query(&valueType, nullptr, data ? &size : nullptr);
  if (rc != ERROR_SUCCESS || !data) {
    if (rc == ERROR_SUCCESS) *type = valueType;
    return rc;
  }
  std::vector<unsigned char> buffer;
  for (;;) {
    buffer.resize(size);
    DWORD got = size;
    rc = query(&valueType, buffer.empty() ? nullptr : buffer.data(), &got);
    if (rc == ERROR_MORE_DATA || (rc == ERROR_SUCCESS && buffer.empty() && got > 0)) {
      size = got > size ? got : size + 256;
      continue;
    }
    if (rc != ERROR_SUCCESS) return rc;
    buffer.resize(got < size ? got : size);
    break;
  }
  *type = valueType;
  *data = std::move(buffer);
  return ERROR_SUCCESS;
}

}  // namespace

long Win32Registry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                               std::vector<unsigned char>* data) {
  return QueryWhole(
      [&](DWORD* valueType, BYTE* buffer, DWORD* size) {
        return RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, valueType, buffer, size);
      },
      type, data);
}

long Win32Registry::QueryValueWide(RegKey key, const std::string& name, std::uint32_t* type,
                                   std::vector<unsigned char>* data) {
  // The name is in the system code page, which every UTF-16 form holds.
  const std::wstring wideName = win32::Widen(name, CP_ACP);
  return QueryWhole(
      [&](DWORD* valueType, BYTE* buffer, DWORD* size) {
        return RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, valueType, buffer, size);
      },
      type, data);
}

long Win32Registry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                             const unsigned char* data, std::size_t size) {
  if (size > std::numeric_limits<DWORD>::max()) return ERROR_INVALID_PARAMETER;
  return RegSetValueExA(ToHkey(key), name.c_str(), 0, type, size ? data : nullptr,
                        static_cast<DWORD>(size));
}

long Win32Registry::DeleteValue(RegKey key, const std::string& name) {
  return RegDeleteValueA(ToHkey(key), name.c_str());
}

long Win32Registry::QuerySubKeyCount(RegKey key, std::uint32_t* count) {
  DWORD subKeys = 0;
  const LONG rc = RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &subKeys, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) *count = subKeys;
  return rc;
}

long Win32Registry::EnumKey(RegKey key, std::uint32_t index, std::string* name) {
  // Key names have at most 255 characters; in a multi-byte code page the
  // ANSI form can be longer, so grow the buffer when the system asks.
  std::vector<char> buffer(256);
  for (;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG rc = RegEnumKeyExA(ToHkey(key), index, buffer.data(), &length, nullptr, nullptr,
                                  nullptr, nullptr);
    if (rc == ERROR_MORE_DATA && buffer.size() < 65536) {
      buffer.resize(buffer.size() * 4);
      continue;
    }
    if (rc == ERROR_SUCCESS) name->assign(buffer.data(), length);
    return rc;
  }
}

long Win32Registry::CloseKey(RegKey key) {
  if (IsPredefined(key)) return ERROR_SUCCESS;
  return RegCloseKey(ToHkey(key));
}

bool Win32Registry::ToCodePage(const std::u16string& text, std::string* narrow) {
  bool exact = false;
  *narrow = win32::Narrow(std::wstring(text.begin(), text.end()), CP_ACP, &exact);
  return exact;
}

}  // namespace qv
