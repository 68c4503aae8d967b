// The record of what a command changes on the machine, and the platform
// that holds changes back.
//
// A change command works through decorators over the registry backend, the
// process runner and the spooler that record each change as it is made:
// a registry value whose content changed, a service stopped or started, a
// program started. With its changes held back (a check), the same command
// runs over held-back services: keys open read-only and writes go to an
// overlay that later reads see; a program or a service request is not
// made but counts as done at once. Both runs fill the same record, so the
// prediction and the change cannot disagree.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qv {

// A registry value's content: its type and all of its bytes.
struct RegistryContent {
  std::uint32_t type = kRegNone;
  std::vector<unsigned char> data;
  bool operator==(const RegistryContent& other) const {
    return type == other.type && data == other.data;
  }
  bool operator!=(const RegistryContent& other) const { return !(*this == other); }
};

enum class ChangeKind { Value, Service, Program };
enum class ServiceAction { Stopped, Started };
enum class ProgramEnd {
  Running,       // started; not waited for (yet)
  Ended,         // ended, or gave nothing to wait for
  StillRunning,  // given up while it still ran
  HeldBack,      // not started: a check
};

struct Change {
  ChangeKind kind = ChangeKind::Value;
  // A value: its key's full path ("HKEY_LOCAL_MACHINE\..."), its name, the
  // registry view, its content before (nullopt: missing) and after.
  std::string key, valueName, view;
  std::optional<RegistryContent> before;
  std::optional<RegistryContent> after;  // nullopt: removed
  // A service: its key name and what was asked of it.
  std::string service;
  ServiceAction action = ServiceAction::Stopped;
  // A program: its file and parameters in UTF-8, and how it ended.
  std::string file, parameters;
  ProgramEnd ended = ProgramEnd::Running;
};

struct ChangeRecord {
  std::vector<Change> changes;
  bool heldBack = false;  // a check: the changes would be made
  // Something on the machine changed: a value's content, a service, or a
  // program that ran. False for a check, which changes nothing.
  bool Changed() const;
};

// The held-back world's state, shared by its services: the keys and values
// written, the services asked to stop or start, and what the held-back
// programs are assumed to have made.
class HeldBackState {
 public:
  // Key paths are full ("HKEY_LOCAL_MACHINE\..."); names compare as the
  // registry compares them.
  void CreateKey(const std::string& path);
  bool HasKey(const std::string& path) const;
  void SetValue(const std::string& path, const std::string& name, const RegistryContent& content);
  const RegistryContent* Value(const std::string& path, const std::string& name) const;
  // The created keys directly below path, in the order created.
  std::vector<std::string> SubKeys(const std::string& path) const;

  std::map<std::string, ServiceState> services;  // by the service's name in capitals
  std::map<std::string, std::string> drivers;    // a printer's driver, by its name
  std::optional<std::string> defaultPrinter;
  bool spoolerRestarted = false;

 private:
  std::vector<std::string> keys_;  // as created
  std::set<std::string> keySet_;   // in capitals
  std::map<std::string, std::map<std::string, RegistryContent>> values_;
};

// Upper-case ASCII, as the registry compares key and value names.
std::string RegistryCapitals(const std::string& text);
// "HKEY_LOCAL_MACHINE" for that root; the number for any other.
std::string RegistryRootName(RegKey root);

// A program that was held back, with what it would have made.
using HeldBackProgram =
    std::function<void(HeldBackState& state, const std::string& file, const std::string& params)>;

// The platform a change command works through.
class ChangePlatform {
 public:
  // machine: the real services. holdBack: a check. printersKeyPrefix: the
  // spooler's printer keys, from which a held-back restart reports ports.
  ChangePlatform(Platform& machine, bool holdBack, std::string printersKeyPrefix);
  ~ChangePlatform();
  ChangePlatform(const ChangePlatform&) = delete;
  ChangePlatform& operator=(const ChangePlatform&) = delete;

  Platform& platform() { return *platform_; }
  const ChangeRecord& record() const { return record_; }
  bool holdsBack() const { return held_ != nullptr; }
  // Runs for each program held back (a check only): what the program
  // would have made, told to the held-back state.
  void OnProgramHeldBack(HeldBackProgram effect);

 private:
  struct Held;
  struct Recording;
  ChangeRecord record_;
  std::unique_ptr<Held> held_;
  std::unique_ptr<Recording> recording_;
  std::unique_ptr<Platform> platform_;
};

}  // namespace qv
