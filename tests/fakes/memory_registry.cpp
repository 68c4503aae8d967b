#include "tests/fakes/memory_registry.h"

#include <algorithm>
#include <cctype>

namespace qv::fakes {
namespace {

std::string Lower(const std::string& s) {
  std::string r = s;
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

// Splits a key path at backslashes. A trailing backslash is allowed; an
// empty component elsewhere makes the path invalid.
bool SplitPath(const std::string& path, std::vector<std::string>* parts) {
  parts->clear();
  if (path.empty()) return true;
  std::string::size_type start = 0;
  while (true) {
    const auto pos = path.find('\\', start);
    const std::string part = path.substr(start, pos == std::string::npos ? pos : pos - start);
    if (pos == std::string::npos) {
      if (!part.empty()) parts->push_back(part);
      return true;
    }
    if (part.empty()) return false;
    parts->push_back(part);
    start = pos + 1;
    if (start == path.size()) return true;
  }
}

bool CanWrite(std::uint32_t access) {
  return (access & 0x2u) != 0;
}  // KEY_SET_VALUE
bool CanQuery(std::uint32_t access) {
  return (access & 0x1u) != 0;
}  // KEY_QUERY_VALUE
bool CanEnumerate(std::uint32_t access) {
  return (access & 0x8u) != 0;
}

}  // namespace

struct MemoryRegistry::Node {
  std::string name;
  Node* parent = nullptr;
  bool readOnly = false;
  std::map<std::string, std::unique_ptr<Node>> children;  // by lower-case name: sorted
  std::vector<std::pair<std::string, RawValue>> values;   // write order

  std::pair<std::string, RawValue>* FindValue(const std::string& n) {
    const std::string key = Lower(n);
    for (auto& v : values) {
      if (Lower(v.first) == key) return &v;
    }
    return nullptr;
  }
};

MemoryRegistry::MemoryRegistry() : root_(std::make_unique<Node>()) {}
MemoryRegistry::~MemoryRegistry() = default;

bool MemoryRegistry::Writable(const Node* node) const {
  if (allReadOnly_) return false;
  for (const Node* n = node; n; n = n->parent) {
    if (n->readOnly) return false;
  }
  return true;
}

MemoryRegistry::Node* MemoryRegistry::Find(Node* from, const std::string& path, bool create,
                                           long* error) {
  std::vector<std::string> parts;
  if (!SplitPath(path, &parts)) {
    *error = kErrorFileNotFound;
    return nullptr;
  }
  Node* node = from;
  for (const auto& part : parts) {
    auto it = node->children.find(Lower(part));
    if (it == node->children.end()) {
      if (!create) {
        *error = kErrorFileNotFound;
        return nullptr;
      }
      if (!Writable(node)) {
        *error = kErrorAccessDenied;
        return nullptr;
      }
      auto child = std::make_unique<Node>();
      child->name = part;
      child->parent = node;
      it = node->children.emplace(Lower(part), std::move(child)).first;
    }
    node = it->second.get();
  }
  *error = kErrorSuccess;
  return node;
}

const MemoryRegistry::Node* MemoryRegistry::FindConst(const std::string& path) const {
  long error = 0;
  return const_cast<MemoryRegistry*>(this)->Find(root_.get(), path, false, &error);
}

MemoryRegistry::Node* MemoryRegistry::NodeOf(RegKey key) {
  if (key == kHkeyLocalMachine) return root_.get();
  const auto it = handles_.find(key);
  return it == handles_.end() ? nullptr : it->second.node;
}

RegKey MemoryRegistry::NewHandle(Node* node, std::uint32_t access) {
  const RegKey key = nextHandle_;
  nextHandle_ += 4;
  handles_[key] = Handle{node, access};
  return key;
}

long MemoryRegistry::Open(RegKey parent, const std::string& path, std::uint32_t access, bool create,
                          RegKey* result) {
  *result = 0;
  Node* from = NodeOf(parent);
  if (!from) return kErrorInvalidHandle;
  long error = 0;
  Node* node = Find(from, path, create, &error);
  if (!node) return error;
  if (CanWrite(access) && !Writable(node)) return kErrorAccessDenied;
  *result = NewHandle(node, access);
  return kErrorSuccess;
}

bool MemoryRegistry::Faulted() {
  return ++calls_ == failAt_;
}

long MemoryRegistry::OpenKey(RegKey parent, const std::string& path, std::uint32_t access,
                             RegKey* result) {
  if (Faulted()) return *result = 0, failWith_;
  return Open(parent, path, access, false, result);
}

long MemoryRegistry::CreateKey(RegKey parent, const std::string& path, std::uint32_t access,
                               RegKey* result) {
  if (Faulted()) return *result = 0, failWith_;
  return Open(parent, path, access, true, result);
}

long MemoryRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                std::vector<unsigned char>* data) {
  if (Faulted() || (!failingValue_.empty() && Lower(name) == Lower(failingValue_)))
    return failWith_;
  if (key == kHkeyLocalMachine || !handles_.count(key)) return kErrorInvalidHandle;
  const Handle& h = handles_[key];
  if (!CanQuery(h.access)) return kErrorAccessDenied;
  auto* v = h.node->FindValue(name);
  if (!v) return kErrorFileNotFound;
  *type = v->second.type;
  if (!data) return kErrorSuccess;
  *data = v->second.data;
  if (v->second.utf16) {
    std::vector<unsigned char> ansi;
    for (std::size_t i = 0; i + 1 < data->size(); i += 2) {
      ansi.push_back((*data)[i + 1] == 0 ? (*data)[i] : '?');
    }
    *data = std::move(ansi);
  }
  return kErrorSuccess;
}

long MemoryRegistry::QueryValueWide(RegKey key, const std::string& name, std::uint32_t* type,
                                    std::vector<unsigned char>* data) {
  if (Faulted()) return failWith_;
  const long rc = QueryValue(key, name, type, data);
  if (rc != kErrorSuccess || !data) return rc;
  const auto* stored = handles_[key].node->FindValue(name);
  if (stored->second.utf16) {
    *data = stored->second.data;
    return rc;
  }
  if (*type == kRegSz || *type == kRegExpandSz || *type == kRegMultiSz) {
    std::vector<unsigned char> wide;
    wide.reserve(2 * data->size());
    for (const unsigned char byte : *data) {
      wide.push_back(byte);
      wide.push_back(0);
    }
    *data = std::move(wide);
  }
  return rc;
}

long MemoryRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                              const unsigned char* data, std::size_t size) {
  if (Faulted()) return failWith_;
  if (key == kHkeyLocalMachine || !handles_.count(key)) return kErrorInvalidHandle;
  const Handle& h = handles_[key];
  if (!CanWrite(h.access) || !Writable(h.node)) return kErrorAccessDenied;
  RawValue raw{type, std::vector<unsigned char>(data, data + size)};
  if (auto* v = h.node->FindValue(name)) {
    v->second = std::move(raw);
  } else {
    h.node->values.emplace_back(name, std::move(raw));
  }
  ++writeCount_;
  return kErrorSuccess;
}

long MemoryRegistry::DeleteValue(RegKey key, const std::string& name) {
  if (Faulted()) return failWith_;
  if (key == kHkeyLocalMachine || !handles_.count(key)) return kErrorInvalidHandle;
  const Handle& h = handles_[key];
  if (!CanWrite(h.access) || !Writable(h.node)) return kErrorAccessDenied;
  auto& values = h.node->values;
  const auto it = std::find_if(values.begin(), values.end(),
                               [&](const auto& value) { return value.first == name; });
  if (it == values.end()) return kErrorFileNotFound;
  values.erase(it);
  ++writeCount_;
  return kErrorSuccess;
}

long MemoryRegistry::QuerySubKeyCount(RegKey key, std::uint32_t* count) {
  if (Faulted()) return failWith_;
  Node* node = NodeOf(key);
  if (!node) return kErrorInvalidHandle;
  if (key != kHkeyLocalMachine && !CanQuery(handles_[key].access)) return kErrorAccessDenied;
  *count = static_cast<std::uint32_t>(node->children.size());
  return kErrorSuccess;
}

long MemoryRegistry::EnumKey(RegKey key, std::uint32_t index, std::string* name) {
  if (Faulted()) return failWith_;
  Node* node = NodeOf(key);
  if (!node) return kErrorInvalidHandle;
  if (key != kHkeyLocalMachine && !CanEnumerate(handles_[key].access)) return kErrorAccessDenied;
  if (index >= node->children.size()) return kErrorNoMoreItems;
  auto it = node->children.begin();
  std::advance(it, index);
  *name = it->second->name;
  return kErrorSuccess;
}

long MemoryRegistry::CloseKey(RegKey key) {
  if (key == kHkeyLocalMachine) return kErrorSuccess;
  return handles_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

void MemoryRegistry::AddKey(const std::string& path) {
  long error = 0;
  const bool saved = allReadOnly_;
  allReadOnly_ = false;
  Node* n = Find(root_.get(), path, true, &error);
  allReadOnly_ = saved;
  (void)n;
}

void MemoryRegistry::PutRaw(const std::string& path, const std::string& name, std::uint32_t type,
                            std::vector<unsigned char> data, bool utf16) {
  long error = 0;
  const bool saved = allReadOnly_;
  allReadOnly_ = false;
  Node* node = Find(root_.get(), path, true, &error);
  allReadOnly_ = saved;
  if (!node) return;
  RawValue raw{type, std::move(data), utf16};
  if (auto* v = node->FindValue(name)) {
    v->second = std::move(raw);
  } else {
    node->values.emplace_back(name, std::move(raw));
  }
}

void MemoryRegistry::PutString(const std::string& path, const std::string& name,
                               const std::string& value) {
  std::vector<unsigned char> data(value.begin(), value.end());
  data.push_back(0);
  PutRaw(path, name, kRegSz, std::move(data));
}

void MemoryRegistry::PutDword(const std::string& path, const std::string& name,
                              std::uint32_t value) {
  PutRaw(path, name, kRegDword,
         {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
          static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)});
}

bool MemoryRegistry::HasKey(const std::string& path) const {
  return FindConst(path) != nullptr;
}

std::optional<RawValue> MemoryRegistry::Get(const std::string& path,
                                            const std::string& name) const {
  Node* node = const_cast<Node*>(FindConst(path));
  if (!node) return std::nullopt;
  auto* v = node->FindValue(name);
  if (!v) return std::nullopt;
  return v->second;
}

std::optional<std::string> MemoryRegistry::GetString(const std::string& path,
                                                     const std::string& name) const {
  auto v = Get(path, name);
  if (!v || v->type != kRegSz || v->data.empty() || v->data.back() != 0) return std::nullopt;
  return std::string(v->data.begin(), v->data.end() - 1);
}

std::optional<std::uint32_t> MemoryRegistry::GetDword(const std::string& path,
                                                      const std::string& name) const {
  auto v = Get(path, name);
  if (!v || v->type != kRegDword || v->data.size() != 4) return std::nullopt;
  return std::uint32_t{v->data[0]} | std::uint32_t{v->data[1]} << 8 |
         std::uint32_t{v->data[2]} << 16 | std::uint32_t{v->data[3]} << 24;
}

std::vector<std::string> MemoryRegistry::ValueNames(const std::string& path) const {
  std::vector<std::string> names;
  if (const Node* node = FindConst(path)) {
    for (const auto& v : node->values) names.push_back(v.first);
  }
  return names;
}

std::vector<std::string> MemoryRegistry::SubKeyNames(const std::string& path) const {
  std::vector<std::string> names;
  if (const Node* node = FindConst(path)) {
    for (const auto& c : node->children) names.push_back(c.second->name);
  }
  return names;
}

void MemoryRegistry::SetReadOnly(const std::string& path) {
  AddKey(path);
  long error = 0;
  if (Node* n = Find(root_.get(), path, false, &error)) n->readOnly = true;
}

bool MemoryRegistry::ToCodePage(const std::u16string& text, std::string* narrow) {
  narrow->clear();
  bool exact = true;
  for (const char16_t unit : text) {
    exact = exact && unit <= 0xFF;
    *narrow += unit <= 0xFF ? static_cast<char>(unit) : '?';
  }
  return exact;
}

void MemoryRegistry::PutWide(const std::string& path, const std::string& name,
                             const std::u16string& value) {
  std::vector<unsigned char> data;
  for (const char16_t unit : value + u'\0') {
    data.push_back(static_cast<unsigned char>(unit & 0xFF));
    data.push_back(static_cast<unsigned char>(unit >> 8));
  }
  PutRaw(path, name, kRegSz, data, true);
}

}  // namespace qv::fakes
