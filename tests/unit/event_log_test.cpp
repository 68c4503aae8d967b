// The event log's portable half: the event's text, and when the event
// source is written, left alone, or missing so that events are skipped.
#include "platform/event_log.h"

#include <gtest/gtest.h>

#include "tests/fakes/memory_registry.h"

namespace qv {
namespace {

TEST(EventText, WhatChangedFirstThenProgramCommandChangesAndOutcome) {
  EventRecord record{"Printer \"Office\": port LPT1: -> QuorvinPDF:",
                     "QuorvinConfigCmd.exe",
                     "attach \"Office\"",
                     {"HKLM\\...\\Printers\\Office Port (32-bit view): LPT1: -> QuorvinPDF:",
                      "Spooler: stopped, started"},
                     "Done."};
  EXPECT_EQ(EventText(record),
            "Printer \"Office\": port LPT1: -> QuorvinPDF:\r\n\r\n"
            "Program: QuorvinConfigCmd.exe\r\nCommand: attach \"Office\"\r\n"
            "Changes:\r\n"
            "  HKLM\\...\\Printers\\Office Port (32-bit view): LPT1: -> QuorvinPDF:\r\n"
            "  Spooler: stopped, started\r\n"
            "Outcome: Done.");
  record.changes.clear();
  EXPECT_EQ(EventText(record),
            "Printer \"Office\": port LPT1: -> QuorvinPDF:\r\n\r\n"
            "Program: QuorvinConfigCmd.exe\r\nCommand: attach \"Office\"\r\nOutcome: Done.");
}

TEST(EventSource, RegisteredForTheRunningProgramWhereItMayBe) {
  const std::string kOwn = "C:\\Pkg\\QuorvinConfigCmd.exe";
  std::vector<unsigned char> kOwnBytes(kOwn.begin(), kOwn.end());
  kOwnBytes.push_back(0);
  const std::vector<unsigned char> kOld = {'D', ':', '\\', 'x', '.', 'e', 'x', 'e', 0};
  struct Case {
    const char* name;
    std::optional<std::vector<unsigned char>> file;  // the key's EventMessageFile; none: no key
    std::uint32_t fileType, types;
    bool readOnly;
    std::optional<std::string> own;
    bool reports, rewritten;
  };
  const Case cases[] = {
      {"first program, elevated", std::nullopt, 0, 0, false, kOwn, true, true},
      {"first program, plain user", std::nullopt, 0, 0, true, kOwn, false, false},
      {"already registered here", kOwnBytes, kRegExpandSz, 7, false, kOwn, true, false},
      {"the tool has moved", kOld, kRegExpandSz, 7, false, kOwn, true, true},
      {"moved, plain user", kOld, kRegExpandSz, 7, true, kOwn, true, false},
      {"a plain string", kOwnBytes, kRegSz, 7, false, kOwn, true, true},
      {"some levels only", kOwnBytes, kRegExpandSz, 1, false, kOwn, true, true},
      {"one level beyond", kOwnBytes, kRegExpandSz, 0x107, false, kOwn, true, true},
      {"path not in the code page", std::nullopt, 0, 0, false, std::nullopt, false, false},
      {"path not in the code page, registered", kOld, kRegExpandSz, 7, false, std::nullopt, true,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::MemoryRegistry registry;
    if (c.file) {
      registry.PutRaw(kEventSourceKey, kEventMessageFile, c.fileType, *c.file);
      registry.PutDword(kEventSourceKey, kEventTypesSupported, c.types);
    }
    registry.SetAllReadOnly(c.readOnly);
    EXPECT_EQ(EnsureEventSource(registry, c.own), c.reports);
    EXPECT_EQ(registry.OpenHandleCount(), 0);
    EXPECT_EQ(registry.WriteCount() > 0, c.rewritten);
    if (c.rewritten) {
      EXPECT_EQ(registry.Get(kEventSourceKey, kEventMessageFile)->type, kRegExpandSz);
      EXPECT_EQ(registry.Get(kEventSourceKey, kEventMessageFile)->data, kOwnBytes);
      EXPECT_EQ(registry.GetDword(kEventSourceKey, kEventTypesSupported), 7u);
    } else {
      EXPECT_EQ(registry.HasKey(kEventSourceKey), c.file.has_value());
    }
  }
}

TEST(EventSource, AFailingRegistryLeavesEventsSkipped) {
  fakes::MemoryRegistry registry;
  registry.FailCall(3);  // the key is created, its first value is refused
  EXPECT_FALSE(EnsureEventSource(registry, std::string("C:\\Pkg\\QuorvinConfig.exe")));
  EXPECT_EQ(registry.OpenHandleCount(), 0);
}

}  // namespace
}  // namespace qv
