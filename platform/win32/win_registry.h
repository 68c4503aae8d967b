// The registry backend on advapi32. Every key is opened in the 32-bit
// registry view (KEY_WOW64_32KEY), where the package's other programs and a
// 32-bit Ghostscript keep their keys.
#pragma once

#include "platform/registry_backend.h"

namespace qv {

class Win32Registry : public IRegistryBackend {
 public:
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
  long QuerySubKeyCount(RegKey key, std::uint32_t* count) override;
  long EnumKey(RegKey key, std::uint32_t index, std::string* name) override;
  long CloseKey(RegKey key) override;
};

}  // namespace qv
