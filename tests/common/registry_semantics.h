// What the registry accessor does, checked against any backend. It runs on
// the in-memory backend natively and on the real registry under Wine, which
// is what shows the in-memory one behaves like the real thing.
//
// Include this header in one test file per backend and instantiate with
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, RegistrySemantics, Traits);
// where Traits is default-constructible and offers:
//   IRegistryBackend& Backend();
//   std::string Root();     // a fresh, empty key path under HKLM for this test
//   bool MakeReadOnly(const std::string& path);  // false: cannot be modelled
//   int OpenHandles();      // handles open in the backend; -1 when unknown
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/registry.h"

namespace qv::testing {

template <typename Traits>
class RegistrySemantics : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = traits_.Root();
    handlesBefore_ = traits_.OpenHandles();
  }
  void TearDown() override {
    if (handlesBefore_ >= 0) {
      EXPECT_EQ(traits_.OpenHandles(), handlesBefore_) << "handle leak";
    }
  }

  // Writes a value of any type and size straight through the backend.
  void PutRaw(const std::string& path, const std::string& name, std::uint32_t type,
              const std::vector<unsigned char>& data) {
    RegKey key = 0;
    ASSERT_EQ(traits_.Backend().CreateKey(kHkeyLocalMachine, path, kKeyAllAccess, &key), 0);
    ASSERT_EQ(traits_.Backend().SetValue(key, name, type, data.data(), data.size()), 0);
    traits_.Backend().CloseKey(key);
  }
  static std::vector<unsigned char> Bytes(const std::string& s) {
    return std::vector<unsigned char>(s.begin(), s.end());
  }
  std::string Path(const std::string& sub) const { return root_ + "\\" + sub; }

  Traits traits_;
  std::string root_;
  int handlesBefore_ = -1;
};

TYPED_TEST_SUITE_P(RegistrySemantics);

TYPED_TEST_P(RegistrySemantics, OpenWithoutCreationFailsSilentlyOnMissingKey) {
  Registry reg(this->traits_.Backend());
  EXPECT_FALSE(reg.OpenKey(this->Path("missing"), false));
  EXPECT_FALSE(reg.HasCurrentKey());
  EXPECT_FALSE(reg.KeyExists(this->Path("missing")));
  EXPECT_TRUE(reg.OpenKey(this->Path("made"), true));
  EXPECT_EQ(reg.CurrentPath(), this->Path("made"));
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists(this->Path("made")));
}

TYPED_TEST_P(RegistrySemantics, FailedOpenKeepsThePreviousKey) {
  Registry reg(this->traits_.Backend());
  ASSERT_TRUE(reg.OpenKey(this->Path("a"), true));
  reg.WriteString("v", "first");
  EXPECT_FALSE(reg.OpenKey("\\" + this->Path("missing"), false));
  EXPECT_EQ(reg.ReadString("v"), "first");
}

TYPED_TEST_P(RegistrySemantics, StringsRoundTripWithTheirNul) {
  Registry reg(this->traits_.Backend());
  ASSERT_TRUE(reg.OpenKey(this->Path("s"), true));
  reg.WriteString("text", "C:\\Pkg\\PDFs");
  reg.WriteString("empty", "");
  EXPECT_TRUE(reg.ValueExists("text"));
  EXPECT_TRUE(reg.ValueExists("EMPTY"));  // names compare without case
  EXPECT_FALSE(reg.ValueExists("other"));
  EXPECT_EQ(reg.ReadString("text"), "C:\\Pkg\\PDFs");
  EXPECT_EQ(reg.ReadString("empty"), "");
  EXPECT_EQ(reg.ReadString("missing"), "");
  const std::string big(100000, 'x');
  reg.WriteString("big", big);
  EXPECT_EQ(reg.ReadString("big"), big);
}

TYPED_TEST_P(RegistrySemantics, IntegersRoundTripAndMissingOnesRaise) {
  Registry reg(this->traits_.Backend());
  ASSERT_TRUE(reg.OpenKey(this->Path("i"), true));
  reg.WriteInteger("n", 300);
  reg.WriteInteger("neg", -1);
  EXPECT_EQ(reg.ReadInteger("n"), 300);
  EXPECT_EQ(reg.ReadInteger("neg"), -1);
  try {
    reg.ReadInteger("missing");
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to get data for 'missing'");
  }
}

TYPED_TEST_P(RegistrySemantics, OddStringDataIsReadSafely) {
  const std::string p = this->Path("odd");
  this->PutRaw(p, "nonul", kRegSz, this->Bytes("abc"));
  this->PutRaw(p, "embedded", kRegSz, this->Bytes(std::string("ab\0cd\0", 6)));
  this->PutRaw(p, "expand", kRegExpandSz, this->Bytes(std::string("%TEMP%\\x\0", 9)));
  this->PutRaw(p, "emptybin", kRegBinary, {});
  Registry reg(this->traits_.Backend());
  ASSERT_TRUE(reg.OpenKey(p, false));
  EXPECT_EQ(reg.ReadString("nonul"), "abc");
  EXPECT_EQ(reg.ReadString("embedded"), "ab");
  EXPECT_EQ(reg.ReadString("expand"), "%TEMP%\\x");  // not expanded
  EXPECT_EQ(reg.ReadString("emptybin"), "");
  // The wide read: the same characters, and the type kept.
  this->PutRaw(p, "latin", kRegSz, this->Bytes(std::string("caf\xe9\0", 5)));
  std::uint32_t type = 0;
  EXPECT_EQ(reg.ReadWideString("latin", &type), u"caf\u00e9");
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(reg.ReadWideString("expand", &type), u"%TEMP%\\x");
  EXPECT_EQ(type, kRegExpandSz);
  EXPECT_EQ(reg.ReadWideString("nonul", &type), u"abc");
  EXPECT_EQ(reg.ReadWideString("embedded", &type), u"ab");
  EXPECT_EQ(reg.ReadWideString("missing", &type), u"");
  EXPECT_THROW(reg.ReadWideString("emptybin", &type), ERegistryException);
}

TYPED_TEST_P(RegistrySemantics, WrongTypesGiveTheRegistryErrors) {
  const std::string p = this->Path("types");
  this->PutRaw(p, "dword", kRegDword, {1, 0, 0, 0});
  this->PutRaw(p, "binary", kRegBinary, {1, 2, 3});
  this->PutRaw(p, "short", kRegSz, this->Bytes(std::string("ab\0", 3)));
  this->PutRaw(p, "long", kRegSz, this->Bytes(std::string("abcd\0", 5)));
  this->PutRaw(p, "qword", kRegQword, {1, 0, 0, 0, 0, 0, 0, 0});
  this->PutRaw(p, "two", kRegDword, {0x34, 0x12});
  Registry reg(this->traits_.Backend());
  ASSERT_TRUE(reg.OpenKey(p, false));
  auto message = [&](auto&& call) -> std::string {
    try {
      call();
    } catch (const ERegistryException& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(message([&] { reg.ReadString("dword"); }), "Invalid data type for 'dword'");
  EXPECT_EQ(message([&] { reg.ReadString("binary"); }), "Invalid data type for 'binary'");
  std::uint32_t type = 0;
  EXPECT_EQ(message([&] { reg.ReadWideString("dword", &type); }), "Invalid data type for 'dword'");
  EXPECT_EQ(message([&] { reg.ReadInteger("short"); }), "Invalid data type for 'short'");
  EXPECT_EQ(message([&] { reg.ReadInteger("long"); }), "Failed to get data for 'long'");
  EXPECT_EQ(message([&] { reg.ReadInteger("qword"); }), "Failed to get data for 'qword'");
  EXPECT_EQ(reg.ReadInteger("two"), 0x1234);
}

TYPED_TEST_P(RegistrySemantics, NoOpenKeyReadsEmptyAndWritesRaise) {
  Registry reg(this->traits_.Backend());
  EXPECT_FALSE(reg.ValueExists("x"));
  EXPECT_EQ(reg.ReadString("x"), "");
  std::vector<std::string> names{"stale"};
  reg.GetKeyNames(names);
  EXPECT_TRUE(names.empty());
  try {
    reg.WriteString("Port", "QuorvinPDF:");
    FAIL() << "no error";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Port'");
  }
  EXPECT_THROW(reg.WriteInteger("Delay", 300), ERegistryException);
}

TYPED_TEST_P(RegistrySemantics, SubkeysAreListedInEnumerationOrder) {
  Registry reg(this->traits_.Backend());
  reg.CreateKey(this->Path("list\\gs8.50"));
  reg.CreateKey(this->Path("list\\gs8.14"));
  reg.CreateKey(this->Path("list\\Beta"));
  EXPECT_FALSE(reg.HasCurrentKey());  // create key leaves the current key alone
  ASSERT_TRUE(reg.OpenKey(this->Path("list"), false));
  std::vector<std::string> names;
  reg.GetKeyNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"Beta", "gs8.14", "gs8.50"}));
}

TYPED_TEST_P(RegistrySemantics, PathsResolveAgainstTheCurrentKey) {
  Registry reg(this->traits_.Backend());
  ASSERT_TRUE(reg.OpenKey(this->Path("rel"), true));
  ASSERT_TRUE(reg.OpenKey("child", true));  // relative: under the open key
  EXPECT_EQ(reg.CurrentPath(), this->Path("rel") + "\\child");
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists(this->Path("rel\\child")));
  EXPECT_TRUE(reg.KeyExists("\\" + this->Path("rel\\child")));  // absolute
  EXPECT_TRUE(reg.OpenKey(this->Path("rel") + "\\", false));    // trailing backslash
  reg.CloseKey();
}

TYPED_TEST_P(RegistrySemantics, ReadOnlyKeyOpensForExistenceOnly) {
  const std::string p = this->Path("ro");
  this->PutRaw(p, "Port", kRegSz, this->Bytes(std::string("LPT1:\0", 6)));
  if (!this->traits_.MakeReadOnly(p)) GTEST_SKIP() << "backend cannot restrict a key";
  Registry reg(this->traits_.Backend());
  EXPECT_TRUE(reg.KeyExists(p));
  EXPECT_FALSE(reg.OpenKey(p, false));
  EXPECT_FALSE(reg.OpenKey(p, true));
  EXPECT_FALSE(reg.ValueExists("Port"));
  EXPECT_EQ(reg.ReadString("Port"), "");
  EXPECT_THROW(reg.WriteString("Port", "x"), ERegistryException);
  // A read-only open reads it, still refuses writes, and never creates.
  EXPECT_TRUE(reg.OpenKeyReadOnly(p));
  EXPECT_EQ(reg.ReadString("Port"), "LPT1:");
  EXPECT_THROW(reg.WriteString("Port", "x"), ERegistryException);
  reg.CloseKey();
  EXPECT_FALSE(reg.OpenKeyReadOnly(p + "\\missing"));
  EXPECT_FALSE(reg.KeyExists(p + "\\missing"));
}

REGISTER_TYPED_TEST_SUITE_P(RegistrySemantics, OpenWithoutCreationFailsSilentlyOnMissingKey,
                            FailedOpenKeepsThePreviousKey, StringsRoundTripWithTheirNul,
                            IntegersRoundTripAndMissingOnesRaise, OddStringDataIsReadSafely,
                            WrongTypesGiveTheRegistryErrors, NoOpenKeyReadsEmptyAndWritesRaise,
                            SubkeysAreListedInEnumerationOrder, PathsResolveAgainstTheCurrentKey,
                            ReadOnlyKeyOpensForExistenceOnly);

}  // namespace qv::testing
