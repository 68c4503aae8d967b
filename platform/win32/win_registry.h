// The registry backend on advapi32. Every key is opened in one registry
// view: the 32-bit view (KEY_WOW64_32KEY), where the package's other
// programs and a 32-bit Ghostscript keep their keys, unless the 64-bit
// view is asked for.
#pragma once

#include "platform/registry_backend.h"

namespace qv {

enum class RegistryView { Bits32, Bits64 };

// Whether this Windows has a 64-bit view: always for a 64-bit program, and
// for a 32-bit one only when it runs on 64-bit Windows.
bool Has64BitRegistryView();

class Win32Registry : public IRegistryBackend {
 public:
  explicit Win32Registry(RegistryView view = RegistryView::Bits32);
  long OpenKey(RegKey parent, const std::string& path, std::uint32_t access,
               RegKey* result) override;
  long CreateKey(RegKey parent, const std::string& path, std::uint32_t access,
                 RegKey* result) override;
  long QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                  std::vector<unsigned char>* data) override;
  long QueryValueWide(RegKey key, const std::string& name, std::uint32_t* type,
                      std::vector<unsigned char>* data) override;
  long SetValue(RegKey key, const std::string& name, std::uint32_t type, const unsigned char* data,
                std::size_t size) override;
  long DeleteValue(RegKey key, const std::string& name) override;
  long QuerySubKeyCount(RegKey key, std::uint32_t* count) override;
  long EnumKey(RegKey key, std::uint32_t index, std::string* name) override;
  long CloseKey(RegKey key) override;
  bool ToCodePage(const std::u16string& text, std::string* narrow) override;

 private:
  std::uint32_t view_;  // KEY_WOW64_32KEY or KEY_WOW64_64KEY
};

}  // namespace qv
