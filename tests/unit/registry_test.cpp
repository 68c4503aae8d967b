#include <gtest/gtest.h>

#include "config/registry_layout.h"
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

// The keys and names the package's distiller, port monitor and spooler
// read, written out here as they must appear in the registry.
TEST(Registry, AReadThatFailsAfterTheValueWasFoundIsAnError) {
  fakes::MemoryRegistry backend;
  backend.PutString("SOFTWARE\\A", "v", "x");
  Registry reg(backend);
  ASSERT_TRUE(reg.OpenKey("SOFTWARE\\A", false));
  backend.FailCall(2);  // the value is found, then its data cannot be read
  try {
    reg.ReadComparable("v");
    FAIL();
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to get data for 'v'");
  }
}

TEST(RegistryLayout, KeysAndNamesAreThoseThePackageReads) {
  namespace L = layout;
  const std::pair<const char*, const char*> names[] = {
      {L::kSettingsKey, "SOFTWARE\\Hollisfield\\Quorvin PDF\\1.01"},
      {L::kGsDll, "GS_DLL"},
      {L::kGsWin32c, "GSWIN32C"},
      {L::kUserDesktopDir, "userDesktopDir"},
      {L::kDefaultPdfFile, "defaultPDFFile"},
      {L::kDefaultPdfDir, "defaultPDFDir"},
      {L::kDefaultPdfAppend, "defaultPDFAppend"},
      {L::kPromptPdf, "promptPDF"},
      {L::kFinishMessage, "finishMessage"},
      {L::kLaunchPdfApp, "launchPDFApp"},
      {L::kMonitorKey, "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF Port"},
      {L::kPortsKey,
       "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF Port\\Ports"},
      {L::kPdfPortKey,
       "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF "
       "Port\\Ports\\QuorvinPDF:"},
      {L::kDriver, "Driver"},
      {L::kMonitorDll, "quorvinmonnt.dll"},
      {L::kPdfPortName, "QuorvinPDF:"},
      {L::kPrintersKeyPrefix, "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\"},
      {L::kPort, "Port"},
      {L::kGhostscriptKey, "SOFTWARE\\AFPL Ghostscript"},
      {L::kGhostscriptVersionPrefix, "SOFTWARE\\AFPL GhostScript\\"},
  };
  for (const auto& [constant, expected] : names) EXPECT_STREQ(constant, expected);

  // The PDF port's values in the order they are written.
  const char* const port[] = {"Description", "Command",     "Arguments",    "Printer",
                              "Output",      "ShowWindow",  "RunUser",      "Delay",
                              "LogFileUse",  "LogFileName", "LogFileDebug", "PrintError"};
  ASSERT_EQ(std::size(L::kPdfPortValues), std::size(port));
  for (std::size_t i = 0; i < std::size(port); ++i) {
    EXPECT_STREQ(L::kPdfPortValues[i].name, port[i]);
  }
}

}  // namespace qv::testing
