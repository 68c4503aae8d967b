#include "platform/registry.h"

#include "platform/errors.h"

namespace qv {
namespace {

[[noreturn]] void Raise(const char* what, const std::string& name) {
  throw ERegistryException(std::string(what) + " '" + name + "'");
}
constexpr const char* kGetFailed = "Failed to get data for";
constexpr const char* kSetFailed = "Failed to set data for";

// A string's UTF-16LE bytes up to the first NUL.
std::u16string WideText(const std::vector<unsigned char>& data) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (unit == u'\0') break;
    text += unit;
  }
  return text;
}

bool IsAbsolute(const std::string& path) {
  return !path.empty() && path[0] == '\\';
}

}  // namespace

Registry::Registry(IRegistryBackend& backend, RegKey root) : backend_(backend), root_(root) {}

Registry::~Registry() {
  CloseKey();
}

RegKey Registry::ResolveParent(const std::string& path, std::string* relative) const {
  const bool absolute = IsAbsolute(path);
  *relative = absolute ? path.substr(1) : path;
  return (absolute || current_ == 0) ? root_ : current_;
}

bool Registry::OpenKey(const std::string& path, bool canCreate) {
  return Open(path, canCreate, kKeyAllAccess);
}

bool Registry::OpenKeyReadOnly(const std::string& path) {
  return Open(path, false, kKeyRead);
}

bool Registry::Open(const std::string& path, bool canCreate, std::uint32_t access) {
  std::string relative;
  const RegKey parent = ResolveParent(path, &relative);
  RegKey key = 0;
  const long rc = (!canCreate || relative.empty())
                      ? backend_.OpenKey(parent, relative, access, &key)
                      : backend_.CreateKey(parent, relative, access, &key);
  if (rc != kErrorSuccess || key == 0) return false;
  std::string fullPath = relative;
  if (current_ != 0 && !IsAbsolute(path)) fullPath = currentPath_ + "\\" + relative;
  ChangeKey(key, fullPath);
  return true;
}

void Registry::CreateKey(const std::string& path) {
  std::string relative;
  const RegKey parent = ResolveParent(path, &relative);
  RegKey key = 0;
  if (backend_.CreateKey(parent, relative, kKeyAllAccess, &key) != kErrorSuccess || key == 0) {
    throw ERegistryException("Failed to create key " + path);
  }
  backend_.CloseKey(key);
}

bool Registry::KeyExists(const std::string& path) {
  std::string relative;
  const RegKey parent = ResolveParent(path, &relative);
  RegKey key = 0;
  if (backend_.OpenKey(parent, relative, kKeyRead, &key) != kErrorSuccess || key == 0) {
    return false;
  }
  backend_.CloseKey(key);
  return true;
}

bool Registry::ValueExists(const std::string& name) {
  if (current_ == 0) return false;
  std::uint32_t type = kRegNone;
  const long rc = backend_.QueryValue(current_, name, &type, nullptr);
  if (rc == kErrorFileNotFound) return false;
  if (rc != kErrorSuccess) Raise(kGetFailed, name);
  return true;
}

std::string Registry::ReadString(const std::string& name) {
  const std::optional<std::string> text = ReadComparable(name);
  if (!text) {
    throw ENotInCodePage("The value '" + name +
                         "' holds characters that this system's code page cannot represent");
  }
  return *text;
}

std::optional<std::string> Registry::ReadComparable(const std::string& name) {
  if (current_ == 0 || !ValueExists(name)) return std::string();
  std::uint32_t type = kRegNone;
  std::vector<unsigned char> data;
  if (backend_.QueryValueWide(current_, name, &type, &data) != kErrorSuccess) {
    Raise(kGetFailed, name);
  }
  if (data.empty()) return std::string();
  if (type != kRegSz && type != kRegExpandSz) Raise("Invalid data type for", name);
  std::string text;
  if (!backend_.ToCodePage(WideText(data), &text)) return std::nullopt;
  return text;
}

std::u16string Registry::ReadWideString(const std::string& name, std::uint32_t* type) {
  *type = kRegNone;
  if (current_ == 0) return std::u16string();
  std::vector<unsigned char> data;
  if (!ValueExists(name)) return std::u16string();
  if (backend_.QueryValueWide(current_, name, type, &data) != kErrorSuccess)
    Raise(kGetFailed, name);
  if (*type != kRegSz && *type != kRegExpandSz) Raise("Invalid data type for", name);
  return WideText(data);
}

std::int32_t Registry::ReadInteger(const std::string& name) {
  if (current_ == 0) Raise(kGetFailed, name);
  std::uint32_t type = kRegNone;
  std::vector<unsigned char> data;
  if (backend_.QueryValue(current_, name, &type, &data) != kErrorSuccess || data.size() > 4) {
    Raise(kGetFailed, name);
  }
  if (type != kRegDword) Raise("Invalid data type for", name);
  // Little-endian; a short value is taken as far as it goes.
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < data.size(); ++i) value |= std::uint32_t{data[i]} << (8 * i);
  return static_cast<std::int32_t>(value);
}

void Registry::WriteString(const std::string& name, const std::string& value) {
  if (current_ == 0) Raise(kSetFailed, name);
  const auto* bytes = reinterpret_cast<const unsigned char*>(value.c_str());
  if (backend_.SetValue(current_, name, kRegSz, bytes, value.size() + 1) != kErrorSuccess) {
    Raise(kSetFailed, name);
  }
}

void Registry::WriteInteger(const std::string& name, std::int32_t value) {
  if (current_ == 0) Raise(kSetFailed, name);
  unsigned char bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(std::uint32_t(value) >> 8 * i);
  if (backend_.SetValue(current_, name, kRegDword, bytes, sizeof bytes) != kErrorSuccess) {
    Raise(kSetFailed, name);
  }
}

bool Registry::DeleteValue(const std::string& name) {
  return current_ != 0 && backend_.DeleteValue(current_, name) == kErrorSuccess;
}

void Registry::GetKeyNames(std::vector<std::string>& names) {
  names.clear();
  if (current_ == 0) return;
  std::uint32_t count = 0;
  if (backend_.QuerySubKeyCount(current_, &count) != kErrorSuccess) return;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::string name;
    if (backend_.EnumKey(current_, i, &name) != kErrorSuccess) break;
    names.push_back(name);
  }
}

void Registry::CloseKey() {
  if (current_ != 0) {
    backend_.CloseKey(current_);
    current_ = 0;
    currentPath_.clear();
  }
}

void Registry::ChangeKey(RegKey key, const std::string& path) {
  CloseKey();
  current_ = key;
  currentPath_ = path;
}

}  // namespace qv
