#include "platform/changes.h"

#include <utility>

namespace qv {

bool ChangeRecord::Changed() const {
  if (heldBack) return false;
  for (const Change& change : changes) {
    if (change.kind != ChangeKind::Program || change.ended != ProgramEnd::HeldBack) return true;
  }
  return false;
}

std::string RegistryCapitals(const std::string& text) {
  std::string capitals = text;
  for (char& c : capitals) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return capitals;
}

std::string RegistryRootName(RegKey root) {
  return root == kHkeyLocalMachine ? "HKEY_LOCAL_MACHINE" : std::to_string(root);
}

namespace {

std::string Join(const std::string& base, const std::string& relative) {
  return relative.empty() ? base : base + "\\" + relative;
}

std::string ParentOf(const std::string& path) {
  const auto at = path.rfind('\\');
  return at == std::string::npos ? std::string() : path.substr(0, at);
}

}  // namespace

void HeldBackState::CreateKey(const std::string& path) {
  if (path.empty() || HasKey(path)) return;
  CreateKey(ParentOf(path));
  keys_.push_back(path);
  keySet_.insert(RegistryCapitals(path));
}

bool HeldBackState::HasKey(const std::string& path) const {
  return keySet_.count(RegistryCapitals(path)) != 0;
}

void HeldBackState::SetValue(const std::string& path, const std::string& name,
                             const RegistryContent& content) {
  values_[RegistryCapitals(path)][RegistryCapitals(name)] = content;
}

const RegistryContent* HeldBackState::Value(const std::string& path,
                                            const std::string& name) const {
  const auto key = values_.find(RegistryCapitals(path));
  if (key == values_.end()) return nullptr;
  const auto value = key->second.find(RegistryCapitals(name));
  return value == key->second.end() ? nullptr : &value->second;
}

std::vector<std::string> HeldBackState::SubKeys(const std::string& path) const {
  std::vector<std::string> names;
  for (const std::string& key : keys_) {
    if (RegistryCapitals(ParentOf(key)) == RegistryCapitals(path)) {
      names.push_back(key.substr(key.rfind('\\') + 1));
    }
  }
  return names;
}

namespace {

// A string's code-page bytes as UTF-16LE through UTF-8, NUL included.
std::vector<unsigned char> Utf8ToUtf16Le(const std::string& utf8) {
  std::vector<unsigned char> wide;
  const auto unit = [&](char32_t u) {
    wide.push_back(static_cast<unsigned char>(u & 0xFF));
    wide.push_back(static_cast<unsigned char>((u >> 8) & 0xFF));
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += length;
    if (c > 0xFFFF) {
      unit(0xD800 + ((c - 0x10000) >> 10));
      unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      unit(c);
    }
  }
  unit(0);
  return wide;
}

// What a held-back removal leaves in the state: no value.
constexpr std::uint32_t kRemovedType = 0xFFFFFFFF;

bool IsString(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// The registry seen through the held-back state: keys open read-only, a
// missing key is created in the state, writes go to the state, and reads
// see the state first.
class HeldBackRegistry : public IRegistryBackend {
 public:
  HeldBackRegistry(IRegistryBackend& inner, HeldBackState& state, IFileSystem& files)
      : inner_(inner), state_(state), files_(files) {}
  ~HeldBackRegistry() override {
    for (const auto& [handle, open] : handles_) {
      if (open.real != 0) inner_.CloseKey(open.real);
    }
  }

  long OpenKey(RegKey parent, const std::string& path, std::uint32_t, RegKey* result) override {
    return Open(parent, path, false, result);
  }
  long CreateKey(RegKey parent, const std::string& path, std::uint32_t, RegKey* result) override {
    return Open(parent, path, true, result);
  }
  long QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                  std::vector<unsigned char>* data) override {
    return Query(key, name, type, data, false);
  }
  long QueryValueWide(RegKey key, const std::string& name, std::uint32_t* type,
                      std::vector<unsigned char>* data) override {
    return Query(key, name, type, data, true);
  }
  long SetValue(RegKey key, const std::string& name, std::uint32_t type, const unsigned char* data,
                std::size_t size) override {
    const auto open = handles_.find(key);
    if (open == handles_.end()) return kErrorInvalidHandle;
    state_.SetValue(open->second.path, name,
                    RegistryContent{type, std::vector<unsigned char>(data, data + size)});
    return kErrorSuccess;
  }
  long DeleteValue(RegKey key, const std::string& name) override {
    const auto open = handles_.find(key);
    if (open == handles_.end()) return kErrorInvalidHandle;
    std::uint32_t type = kRegNone;
    if (Query(key, name, &type, nullptr, false) != kErrorSuccess) return kErrorFileNotFound;
    state_.SetValue(open->second.path, name, RegistryContent{kRemovedType, {}});
    return kErrorSuccess;
  }
  long QuerySubKeyCount(RegKey key, std::uint32_t* count) override {
    const auto open = handles_.find(key);
    if (open == handles_.end()) return kErrorInvalidHandle;
    std::uint32_t real = 0;
    if (open->second.real != 0) {
      const long rc = inner_.QuerySubKeyCount(open->second.real, &real);
      if (rc != kErrorSuccess) return rc;
    }
    *count = real + static_cast<std::uint32_t>(state_.SubKeys(open->second.path).size());
    return kErrorSuccess;
  }
  long EnumKey(RegKey key, std::uint32_t index, std::string* name) override {
    const auto open = handles_.find(key);
    if (open == handles_.end()) return kErrorInvalidHandle;
    std::uint32_t real = 0;
    if (open->second.real != 0) {
      const long rc = inner_.QuerySubKeyCount(open->second.real, &real);
      if (rc != kErrorSuccess) return rc;
      if (index < real) return inner_.EnumKey(open->second.real, index, name);
    }
    const std::vector<std::string> created = state_.SubKeys(open->second.path);
    if (index - real >= created.size()) return kErrorNoMoreItems;
    *name = created[index - real];
    return kErrorSuccess;
  }
  long CloseKey(RegKey key) override {
    const auto open = handles_.find(key);
    if (open == handles_.end()) return kErrorInvalidHandle;
    if (open->second.real != 0) inner_.CloseKey(open->second.real);
    handles_.erase(open);
    return kErrorSuccess;
  }
  bool ToCodePage(const std::u16string& text, std::string* narrow) override {
    return inner_.ToCodePage(text, narrow);
  }

 private:
  struct OpenKeyState {
    RegKey root;
    std::string relative;  // below the root
    std::string path;      // full
    RegKey real;           // the machine's key, read-only; 0 when only held back
  };

  long Open(RegKey parent, const std::string& path, bool create, RegKey* result) {
    RegKey root = parent;
    std::string relative = path;
    const auto from = handles_.find(parent);
    if (from != handles_.end()) {
      root = from->second.root;
      relative = Join(from->second.relative, path);
    }
    const std::string full = Join(RegistryRootName(root), relative);
    RegKey real = 0;
    long rc = inner_.OpenKey(root, relative, kKeyRead, &real);
    if (rc == kErrorFileNotFound && (create || state_.HasKey(full))) {
      state_.CreateKey(full);
      rc = kErrorSuccess;
      real = 0;
    }
    if (rc != kErrorSuccess) return rc;
    *result = next_++;
    handles_[*result] = {root, relative, full, real};
    return kErrorSuccess;
  }

  long Query(RegKey key, const std::string& name, std::uint32_t* type,
             std::vector<unsigned char>* data, bool wide) {
    const auto open = handles_.find(key);
    if (open == handles_.end()) return kErrorInvalidHandle;
    if (const RegistryContent* held = state_.Value(open->second.path, name)) {
      if (held->type == kRemovedType) return kErrorFileNotFound;
      *type = held->type;
      if (data != nullptr) {
        *data = held->data;
        if (wide && IsString(held->type)) {
          const std::string bytes(held->data.begin(), held->data.end());
          *data = Utf8ToUtf16Le(files_.ToUtf8(bytes.substr(0, bytes.find('\0'))));
        }
      }
      return kErrorSuccess;
    }
    if (open->second.real == 0) return kErrorFileNotFound;
    return wide ? inner_.QueryValueWide(open->second.real, name, type, data)
                : inner_.QueryValue(open->second.real, name, type, data);
  }

  IRegistryBackend& inner_;
  HeldBackState& state_;
  IFileSystem& files_;
  std::map<RegKey, OpenKeyState> handles_;
  RegKey next_ = 0x10000;
};

// A string value from the registry, as a spooler restarted now would
// report it; nullopt when the key or value is missing.
std::optional<std::string> ReadText(IRegistryBackend& registry, const std::string& path,
                                    const std::string& name) {
  RegKey key = 0;
  if (registry.OpenKey(kHkeyLocalMachine, path, kKeyRead, &key) != kErrorSuccess) {
    return std::nullopt;
  }
  std::uint32_t type = 0;
  std::vector<unsigned char> data;
  const long rc = registry.QueryValue(key, name, &type, &data);
  registry.CloseKey(key);
  if (rc != kErrorSuccess || !IsString(type)) return std::nullopt;
  const std::string text(data.begin(), data.end());
  return text.substr(0, text.find('\0'));
}

// The spooler seen through the held-back state: requests are not made but
// count as done at once; after a held-back restart, the printers' ports
// are their registry's as the held-back registry has them.
class HeldBackSpooler : public ISpooler {
 public:
  HeldBackSpooler(ISpooler& inner, HeldBackState& state, IRegistryBackend& registry,
                  std::string printersKeyPrefix)
      : inner_(inner),
        state_(state),
        registry_(registry),
        printersKeyPrefix_(std::move(printersKeyPrefix)) {}
  ServiceState State(const std::string& service) override {
    const auto held = state_.services.find(RegistryCapitals(service));
    return held != state_.services.end() ? held->second : inner_.State(service);
  }
  std::vector<Service> RunningDependents() override {
    std::vector<Service> running;
    for (Service& service : inner_.RunningDependents()) {
      if (State(service.name) == ServiceState::Running) running.push_back(std::move(service));
    }
    return running;
  }
  bool Stop(const std::string& service) override {
    state_.services[RegistryCapitals(service)] = ServiceState::Stopped;
    return true;
  }
  bool Start(const std::string& service) override {
    state_.services[RegistryCapitals(service)] = ServiceState::Running;
    return true;
  }
  std::optional<std::string> PrinterPort(const std::string& printer) override {
    const std::string key = printersKeyPrefix_ + printer;
    if (!state_.spoolerRestarted &&
        !state_.HasKey(Join(RegistryRootName(kHkeyLocalMachine), key))) {
      return inner_.PrinterPort(printer);
    }
    return ReadText(registry_, key, "Port");
  }
  std::optional<std::string> PrinterDriver(const std::string& printer) override {
    const auto held = state_.drivers.find(printer);
    return held != state_.drivers.end() ? held->second : inner_.PrinterDriver(printer);
  }
  std::string DefaultPrinter() override {
    return state_.defaultPrinter ? *state_.defaultPrinter : inner_.DefaultPrinter();
  }

 private:
  ISpooler& inner_;
  HeldBackState& state_;
  IRegistryBackend& registry_;
  std::string printersKeyPrefix_;
};

// Programs that are not started: each counts as started and ended at once,
// with nothing to wait for. NET STOP and NET START of a service count as
// done; what any other program makes, effect tells the state.
class HeldBackProcesses : public IProcessRunner {
 public:
  HeldBackProcesses(IProcessRunner& inner, HeldBackState& state) : inner_(inner), state_(state) {}
  HeldBackProgram effect;

  bool StartHidden(const std::string& file, const std::string& parameters, ProcessHandle* process,
                   std::uint32_t*, const std::function<void()>&) override {
    const std::string program = RegistryCapitals(file);
    const std::string words = RegistryCapitals(parameters);
    const std::string net = "\\NET.EXE";
    if (program.size() >= net.size() &&
        program.compare(program.size() - net.size(), net.size(), net) == 0) {
      const auto blank = words.find(' ');
      const std::string verb = words.substr(0, blank);
      const std::string service = blank == std::string::npos ? "" : words.substr(blank + 1);
      if (verb == "STOP" || verb == "START") {
        const bool start = verb == "START";
        if (start && service == RegistryCapitals(kSpoolerService) &&
            state_.services[service] == ServiceState::Stopped) {
          state_.spoolerRestarted = true;
        }
        state_.services[service] = start ? ServiceState::Running : ServiceState::Stopped;
      }
    }
    if (effect) effect(state_, file, parameters);
    *process = 0;
    return true;
  }
  WaitResult WaitOrMessage(ProcessHandle, std::uint32_t) override { return WaitResult::Ended; }
  void CloseProcess(ProcessHandle) override {}
  std::string SystemErrorText(std::uint32_t code) override { return inner_.SystemErrorText(code); }
  void ShellOpen(std::uintptr_t, const ShellCall&) override {}
  bool IsElevated() override { return inner_.IsElevated(); }
  bool OpenAsDesktopUser(const ShellCall&) override { return true; }

 private:
  IProcessRunner& inner_;
  HeldBackState& state_;
};

// Records each value whose content a write changes.
class RecordingRegistry : public IRegistryBackend {
 public:
  RecordingRegistry(IRegistryBackend& inner, ChangeRecord& record, std::string view)
      : inner_(inner), record_(record), view_(std::move(view)) {}

  long OpenKey(RegKey parent, const std::string& path, std::uint32_t access,
               RegKey* result) override {
    return Track(parent, path, inner_.OpenKey(parent, path, access, result), result);
  }
  long CreateKey(RegKey parent, const std::string& path, std::uint32_t access,
                 RegKey* result) override {
    return Track(parent, path, inner_.CreateKey(parent, path, access, result), result);
  }
  long QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                  std::vector<unsigned char>* data) override {
    return inner_.QueryValue(key, name, type, data);
  }
  long QueryValueWide(RegKey key, const std::string& name, std::uint32_t* type,
                      std::vector<unsigned char>* data) override {
    return inner_.QueryValueWide(key, name, type, data);
  }
  long SetValue(RegKey key, const std::string& name, std::uint32_t type, const unsigned char* data,
                std::size_t size) override {
    std::optional<RegistryContent> before;
    RegistryContent now;
    if (inner_.QueryValue(key, name, &now.type, &now.data) == kErrorSuccess) before = now;
    const long rc = inner_.SetValue(key, name, type, data, size);
    RegistryContent after{type, std::vector<unsigned char>(data, data + size)};
    if (rc == kErrorSuccess && before != after) {
      Change change;
      change.kind = ChangeKind::Value;
      change.key = PathOf(key);
      change.valueName = name;
      change.view = view_;
      change.before = std::move(before);
      change.after = std::move(after);
      record_.changes.push_back(std::move(change));
    }
    return rc;
  }
  long DeleteValue(RegKey key, const std::string& name) override {
    RegistryContent before;
    const bool existed = inner_.QueryValue(key, name, &before.type, &before.data) == kErrorSuccess;
    const long rc = inner_.DeleteValue(key, name);
    if (rc == kErrorSuccess && existed) {
      Change change;
      change.kind = ChangeKind::Value;
      change.key = PathOf(key);
      change.valueName = name;
      change.view = view_;
      change.before = std::move(before);
      record_.changes.push_back(std::move(change));
    }
    return rc;
  }
  long QuerySubKeyCount(RegKey key, std::uint32_t* count) override {
    return inner_.QuerySubKeyCount(key, count);
  }
  long EnumKey(RegKey key, std::uint32_t index, std::string* name) override {
    return inner_.EnumKey(key, index, name);
  }
  long CloseKey(RegKey key) override {
    paths_.erase(key);
    return inner_.CloseKey(key);
  }
  bool ToCodePage(const std::u16string& text, std::string* narrow) override {
    return inner_.ToCodePage(text, narrow);
  }

 private:
  std::string PathOf(RegKey key) const {
    const auto open = paths_.find(key);
    return open != paths_.end() ? open->second : RegistryRootName(key);
  }
  long Track(RegKey parent, const std::string& path, long rc, const RegKey* result) {
    if (rc == kErrorSuccess) paths_[*result] = Join(PathOf(parent), path);
    return rc;
  }

  IRegistryBackend& inner_;
  ChangeRecord& record_;
  std::string view_;
  std::map<RegKey, std::string> paths_;
};

// Records each program started, and how it ended.
class RecordingProcesses : public IProcessRunner {
 public:
  RecordingProcesses(IProcessRunner& inner, ChangeRecord& record, bool heldBack)
      : inner_(inner), record_(record), heldBack_(heldBack) {}

  bool StartHidden(const std::string& file, const std::string& parameters, ProcessHandle* process,
                   std::uint32_t* errorCode, const std::function<void()>& whileStarting) override {
    if (!inner_.StartHidden(file, parameters, process, errorCode, whileStarting)) return false;
    Change change;
    change.kind = ChangeKind::Program;
    change.file = file;
    change.parameters = parameters;
    change.ended = heldBack_       ? ProgramEnd::HeldBack
                   : *process == 0 ? ProgramEnd::Ended
                                   : ProgramEnd::Running;
    record_.changes.push_back(std::move(change));
    if (*process != 0) running_[*process] = record_.changes.size() - 1;
    return true;
  }
  WaitResult WaitOrMessage(ProcessHandle process, std::uint32_t timeoutMs) override {
    const WaitResult result = inner_.WaitOrMessage(process, timeoutMs);
    const auto started = running_.find(process);
    if (result == WaitResult::Ended && started != running_.end()) {
      record_.changes[started->second].ended = ProgramEnd::Ended;
    }
    return result;
  }
  void CloseProcess(ProcessHandle process) override {
    const auto started = running_.find(process);
    if (started != running_.end()) {
      ProgramEnd& ended = record_.changes[started->second].ended;
      if (ended == ProgramEnd::Running) ended = ProgramEnd::StillRunning;
      running_.erase(started);
    }
    inner_.CloseProcess(process);
  }
  std::string SystemErrorText(std::uint32_t code) override { return inner_.SystemErrorText(code); }
  void ShellOpen(std::uintptr_t owner, const ShellCall& call) override {
    inner_.ShellOpen(owner, call);
  }
  bool IsElevated() override { return inner_.IsElevated(); }
  bool OpenAsDesktopUser(const ShellCall& call) override { return inner_.OpenAsDesktopUser(call); }

 private:
  IProcessRunner& inner_;
  ChangeRecord& record_;
  bool heldBack_;
  std::map<ProcessHandle, std::size_t> running_;
};

// Records each service request the service manager took.
class RecordingSpooler : public ISpooler {
 public:
  RecordingSpooler(ISpooler& inner, ChangeRecord& record) : inner_(inner), record_(record) {}
  ServiceState State(const std::string& service) override { return inner_.State(service); }
  std::vector<Service> RunningDependents() override { return inner_.RunningDependents(); }
  bool Stop(const std::string& service) override {
    return Record(service, ServiceAction::Stopped, inner_.Stop(service));
  }
  bool Start(const std::string& service) override {
    return Record(service, ServiceAction::Started, inner_.Start(service));
  }
  std::optional<std::string> PrinterPort(const std::string& printer) override {
    return inner_.PrinterPort(printer);
  }
  std::optional<std::string> PrinterDriver(const std::string& printer) override {
    return inner_.PrinterDriver(printer);
  }
  std::string DefaultPrinter() override { return inner_.DefaultPrinter(); }

 private:
  bool Record(const std::string& service, ServiceAction action, bool taken) {
    if (taken) {
      Change change;
      change.kind = ChangeKind::Service;
      change.service = service;
      change.action = action;
      record_.changes.push_back(std::move(change));
    }
    return taken;
  }
  ISpooler& inner_;
  ChangeRecord& record_;
};

// A check waits for no other restart: the lock counts as taken at once.
class HeldBackLock : public IRestartLock {
 public:
  LockAttempt TryAcquire(std::uint32_t) override { return {}; }
  void Release() override {}
};

}  // namespace

struct ChangePlatform::Held {
  Held(Platform& machine, std::string printersKeyPrefix)
      : registry(machine.registry, state, machine.files),
        spooler(machine.spooler, state, registry, std::move(printersKeyPrefix)),
        processes(machine.processes, state) {}
  HeldBackState state;
  HeldBackRegistry registry;
  HeldBackSpooler spooler;
  HeldBackProcesses processes;
  HeldBackLock lock;
};

struct ChangePlatform::Recording {
  Recording(IRegistryBackend& registry, IProcessRunner& processes, ISpooler& spooler,
            ChangeRecord& record, bool heldBack)
      : registry(registry, record, "32-bit"),
        processes(processes, record, heldBack),
        spooler(spooler, record) {}
  RecordingRegistry registry;
  RecordingProcesses processes;
  RecordingSpooler spooler;
};

ChangePlatform::ChangePlatform(Platform& machine, bool holdBack, std::string printersKeyPrefix) {
  record_.heldBack = holdBack;
  if (holdBack) held_ = std::make_unique<Held>(machine, std::move(printersKeyPrefix));
  recording_ = std::make_unique<Recording>(
      held_ ? static_cast<IRegistryBackend&>(held_->registry) : machine.registry,
      held_ ? static_cast<IProcessRunner&>(held_->processes) : machine.processes,
      held_ ? static_cast<ISpooler&>(held_->spooler) : machine.spooler, record_, holdBack);
  // Only status reads the 64-bit view; no change command is given it.
  platform_.reset(new Platform{
      recording_->registry, machine.printers, recording_->processes, machine.files,
      recording_->spooler, machine.clock, nullptr,
      held_ ? static_cast<IRestartLock&>(held_->lock) : machine.restartLock, machine.events});
}

ChangePlatform::~ChangePlatform() = default;

void ChangePlatform::OnProgramHeldBack(HeldBackProgram effect) {
  if (held_) held_->processes.effect = std::move(effect);
}

}  // namespace qv
