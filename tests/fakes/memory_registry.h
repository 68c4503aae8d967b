// An in-memory registry behind the backend interface: value types and raw
// bytes as stored, case-insensitive key and value names, keys a user may
// read but not write, and a count of the handles left open.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_backend.h"

namespace qv::fakes {

struct RawValue {
  std::uint32_t type = kRegNone;
  std::vector<unsigned char> data;
  // data holds UTF-16LE, as a value written with the wide API; the ANSI
  // read gives "?" for each character beyond Latin-1.
  bool utf16 = false;
};

class MemoryRegistry : public IRegistryBackend {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  long OpenKey(RegKey parent, const std::string& path, std::uint32_t access,
               RegKey* result) override;
  long CreateKey(RegKey parent, const std::string& path, std::uint32_t access,
                 RegKey* result) override;
  long QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                  std::vector<unsigned char>* data) override;
  // A string's bytes as UTF-16LE, each byte read as Latin-1.
  long QueryValueWide(RegKey key, const std::string& name, std::uint32_t* type,
                      std::vector<unsigned char>* data) override;
  long SetValue(RegKey key, const std::string& name, std::uint32_t type, const unsigned char* data,
                std::size_t size) override;
  long DeleteValue(RegKey key, const std::string& name) override;
  long QuerySubKeyCount(RegKey key, std::uint32_t* count) override;
  long EnumKey(RegKey key, std::uint32_t index, std::string* name) override;
  long CloseKey(RegKey key) override;
  // Latin-1 stands for the code page: each unit up to 0xFF is its byte.
  bool ToCodePage(const std::u16string& text, std::string* narrow) override;

  // Arranging and inspecting the contents, all paths under HKLM.
  void AddKey(const std::string& path);
  void PutRaw(const std::string& path, const std::string& name, std::uint32_t type,
              std::vector<unsigned char> data, bool utf16 = false);
  void PutString(const std::string& path, const std::string& name, const std::string& value);
  void PutDword(const std::string& path, const std::string& name, std::uint32_t value);
  // A REG_SZ written in UTF-16, as another tool or a .reg file writes it.
  void PutWide(const std::string& path, const std::string& name, const std::u16string& value);
  bool HasKey(const std::string& path) const;
  std::optional<RawValue> Get(const std::string& path, const std::string& name) const;
  // The REG_SZ content without its NUL; nullopt when missing or another type.
  std::optional<std::string> GetString(const std::string& path, const std::string& name) const;
  std::optional<std::uint32_t> GetDword(const std::string& path, const std::string& name) const;
  std::vector<std::string> ValueNames(const std::string& path) const;  // in write order
  std::vector<std::string> SubKeyNames(const std::string& path) const;

  // The key (and everything below it) can be read but not written.
  void SetReadOnly(const std::string& path);
  // The whole of HKLM can be read but not written, as for a plain user.
  void SetAllReadOnly(bool readOnly) { allReadOnly_ = readOnly; }

  // The calls a command makes (every call but CloseKey), and a fault: the
  // n-th call from now on fails with code, as a backend error would.
  int Calls() const { return calls_; }
  void FailCall(int n, long code = kErrorAccessDenied) {
    failAt_ = calls_ + n;
    failWith_ = code;
  }

  // Every query of the value of that name fails with code.
  void FailValue(const std::string& name, long code = kErrorAccessDenied) {
    failingValue_ = name;
    failWith_ = code;
  }

  int OpenHandleCount() const { return static_cast<int>(handles_.size()); }
  // How many writes (SetValue) succeeded in total.
  int WriteCount() const { return writeCount_; }

 private:
  struct Node;
  long Open(RegKey parent, const std::string& path, std::uint32_t access, bool create,
            RegKey* result);
  Node* Find(Node* from, const std::string& path, bool create, long* error);
  const Node* FindConst(const std::string& path) const;
  Node* NodeOf(RegKey key);
  bool Writable(const Node* node) const;
  RegKey NewHandle(Node* node, std::uint32_t access);
  bool Faulted();

  std::unique_ptr<Node> root_;
  struct Handle {
    Node* node;
    std::uint32_t access;
  };
  std::map<RegKey, Handle> handles_;
  RegKey nextHandle_ = 0x1000;
  bool allReadOnly_ = false;
  int writeCount_ = 0;
  int calls_ = 0;
  int failAt_ = 0;
  long failWith_ = kErrorAccessDenied;
  std::string failingValue_;
};

}  // namespace qv::fakes
