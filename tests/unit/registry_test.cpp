#include <gtest/gtest.h>

#include "tests/common/registry_semantics.h"
#include "tests/fakes/memory_registry.h"

namespace qv::testing {
namespace {

struct MemoryTraits {
  fakes::MemoryRegistry registry;
  IRegistryBackend& Backend() { return registry; }
  std::string Root() { return "SOFTWARE\\QvSemantics"; }
  bool MakeReadOnly(const std::string& path) {
    registry.SetReadOnly(path);
    return true;
  }
  int OpenHandles() { return registry.OpenHandleCount(); }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistrySemantics, MemoryTraits);

}  // namespace qv::testing
