// The registry accessor's semantic suite and the backend's own duties on the
// real registry: 32-bit view, whole values, predefined roots.
#include "platform/registry.h"

#include <aclapi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "platform/win32/win_registry.h"
#include "platform/win32/win_util.h"
#include "tests/common/registry_semantics.h"

namespace qv::testing {
namespace {

using win32::UniqueKey;

// A fresh key name under HKLM\SOFTWARE for each use.
std::string UniqueSoftwarePath(const char* stem) {
  static int counter = 0;
  return std::string("SOFTWARE\\") + stem + "_" + std::to_string(GetCurrentProcessId()) + "_" +
         std::to_string(++counter);
}

UniqueKey OpenRaw(const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return UniqueKey(key);
}

// Gives the key a DACL; null: everyone has full access again.
bool SetDacl(const std::string& path, DWORD everyoneAccess, bool restrict) {
  const UniqueKey key = OpenRaw(path, WRITE_DAC | KEY_WOW64_32KEY);
  if (!key) return false;
  SECURITY_DESCRIPTOR sd;
  InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  alignas(DWORD) unsigned char aclBuffer[256];
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD sidSize = sizeof sid;
  auto* acl = reinterpret_cast<PACL>(aclBuffer);
  if (restrict) {
    if (!CreateWellKnownSid(WinWorldSid, nullptr, sid, &sidSize)) return false;
    if (!InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION)) return false;
    if (!AddAccessAllowedAce(acl, ACL_REVISION, everyoneAccess, sid)) return false;
  }
  if (!SetSecurityDescriptorDacl(&sd, TRUE, restrict ? acl : nullptr, FALSE)) return false;
  return RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
}

void DeleteTree(const std::string& path) {
  const auto slash = path.rfind('\\');
  const UniqueKey parent = OpenRaw(path.substr(0, slash), KEY_ALL_ACCESS | KEY_WOW64_32KEY);
  if (parent) RegDeleteTreeA(parent.get(), path.substr(slash + 1).c_str());
}

// The real backend, counting the handles it hands out so that the suite's
// leak check works here as on the in-memory one.
class CountingRegistry : public IRegistryBackend {
 public:
  long OpenKey(RegKey parent, const std::string& path, std::uint32_t access,
               RegKey* result) override {
    const long rc = real_.OpenKey(parent, path, access, result);
    return Track(rc, *result);
  }
  long CreateKey(RegKey parent, const std::string& path, std::uint32_t access,
                 RegKey* result) override {
    const long rc = real_.CreateKey(parent, path, access, result);
    return Track(rc, *result);
  }
  long QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                  std::vector<unsigned char>* data) override {
    return real_.QueryValue(key, name, type, data);
  }
  long QueryValueWide(RegKey key, const std::string& name, std::uint32_t* type,
                      std::vector<unsigned char>* data) override {
    return real_.QueryValueWide(key, name, type, data);
  }
  long SetValue(RegKey key, const std::string& name, std::uint32_t type, const unsigned char* data,
                std::size_t size) override {
    return real_.SetValue(key, name, type, data, size);
  }
  long DeleteValue(RegKey key, const std::string& name) override {
    return real_.DeleteValue(key, name);
  }
  long QuerySubKeyCount(RegKey key, std::uint32_t* count) override {
    return real_.QuerySubKeyCount(key, count);
  }
  long EnumKey(RegKey key, std::uint32_t index, std::string* name) override {
    return real_.EnumKey(key, index, name);
  }
  long CloseKey(RegKey key) override {
    EXPECT_EQ(open_.erase(key), 1u) << "closing a key that is not open";
    return real_.CloseKey(key);
  }
  bool ToCodePage(const std::u16string& text, std::string* narrow) override {
    return real_.ToCodePage(text, narrow);
  }
  int OpenCount() const { return static_cast<int>(open_.size()); }

 private:
  long Track(long rc, RegKey key) {
    if (rc == ERROR_SUCCESS) open_.insert(key);
    return rc;
  }
  Win32Registry real_;
  std::multiset<RegKey> open_;
};

struct Win32Traits {
  CountingRegistry registry;
  std::string root = UniqueSoftwarePath("QvSemantics");
  std::vector<std::string> restricted;

  ~Win32Traits() {
    for (const auto& path : restricted) SetDacl(path, 0, false);
    DeleteTree(root);
  }
  IRegistryBackend& Backend() { return registry; }
  std::string Root() { return root; }
  bool MakeReadOnly(const std::string& path) {
    restricted.push_back(path);
    if (!SetDacl(path, KEY_READ, true)) return false;
    // Only a registry that enforces the DACL can model a read-only key.
    return !OpenRaw(path, KEY_ALL_ACCESS | KEY_WOW64_32KEY);
  }
  int OpenHandles() { return registry.OpenCount(); }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistrySemantics, Win32Traits);

namespace {

class Win32RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { DeleteTree(path_); }
  std::string path_ = UniqueSoftwarePath("QvView");
  Win32Registry backend_;
};

TEST_F(Win32RegistryTest, KeysLiveInThe32BitView) {
  {
    Registry reg(backend_);
    ASSERT_TRUE(reg.OpenKey(path_, true));
    reg.WriteString("GS_DLL", "C:\\gs\\gsdll32.dll");
  }
  const std::string name = path_.substr(path_.find('\\') + 1);
  const UniqueKey redirected =
      OpenRaw("SOFTWARE\\Wow6432Node\\" + name, KEY_READ | KEY_WOW64_64KEY);
  ASSERT_TRUE(redirected);
  char data[64] = {};
  DWORD size = sizeof data;
  ASSERT_EQ(RegQueryValueExA(redirected.get(), "GS_DLL", nullptr, nullptr,
                             reinterpret_cast<BYTE*>(data), &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(data, "C:\\gs\\gsdll32.dll");
  EXPECT_FALSE(OpenRaw(path_, KEY_READ | KEY_WOW64_64KEY)) << "written to the 64-bit view";

  // The 64-bit view's backend sees only that view's keys.
  ASSERT_TRUE(Has64BitRegistryView());
  Win32Registry view64(RegistryView::Bits64);
  Registry reg64(view64);
  EXPECT_FALSE(reg64.KeyExists(path_));
  EXPECT_TRUE(reg64.KeyExists("SOFTWARE\\Wow6432Node\\" + name));
}

TEST_F(Win32RegistryTest, QueryValueReturnsExactlyTheStoredBytes) {
  RegKey key = 0;
  ASSERT_EQ(backend_.CreateKey(kHkeyLocalMachine, path_, kKeyAllAccess, &key), ERROR_SUCCESS);
  const std::string noNul = "abc";
  ASSERT_EQ(backend_.SetValue(key, "s", kRegSz,
                              reinterpret_cast<const unsigned char*>(noNul.data()), noNul.size()),
            ERROR_SUCCESS);
  const std::vector<unsigned char> bin(70000, 0xA5);
  ASSERT_EQ(backend_.SetValue(key, "bin", kRegBinary, bin.data(), bin.size()), ERROR_SUCCESS);
  ASSERT_EQ(backend_.SetValue(key, "", kRegDword, std::vector<unsigned char>{7, 0, 0, 0}.data(), 4),
            ERROR_SUCCESS);

  std::uint32_t type = 0;
  std::vector<unsigned char> data;
  ASSERT_EQ(backend_.QueryValue(key, "s", &type, &data), ERROR_SUCCESS);
  EXPECT_EQ(type, kRegSz);
  // Wine's ANSI read hands a string stored without its NUL back with one.
  std::string text(data.begin(), data.end());
  if (!text.empty() && text.back() == '\0') text.pop_back();
  EXPECT_EQ(text, "abc");
  ASSERT_EQ(backend_.QueryValue(key, "bin", &type, &data), ERROR_SUCCESS);
  EXPECT_EQ(data, bin);
  ASSERT_EQ(backend_.QueryValue(key, "", &type, &data), ERROR_SUCCESS);  // the default value
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(backend_.QueryValue(key, "missing", &type, &data), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(backend_.QueryValue(key, "missing", &type, nullptr), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(backend_.CloseKey(key), ERROR_SUCCESS);
}

TEST_F(Win32RegistryTest, TheRootIsHklmAndIsNeverClosed) {
  RegKey key = 0;
  ASSERT_EQ(backend_.OpenKey(kHkeyLocalMachine, "SYSTEM", kKeyRead, &key), ERROR_SUCCESS);
  EXPECT_NE(key, 0u);
  EXPECT_EQ(backend_.CloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(backend_.CloseKey(kHkeyLocalMachine), ERROR_SUCCESS);
  // HKLM still works after the attempted close.
  ASSERT_EQ(backend_.OpenKey(kHkeyLocalMachine, "SYSTEM", kKeyRead, &key), ERROR_SUCCESS);
  backend_.CloseKey(key);
  EXPECT_EQ(backend_.OpenKey(kHkeyLocalMachine, path_ + "\\none", kKeyRead, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, 0u);
}

}  // namespace
}  // namespace qv::testing
