#include "tests/fakes/fake_platform.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "config/registry_layout.h"
#include "platform/errors.h"

namespace qv::fakes {

std::string Latin1ToUtf8(const std::string& text) {
  std::string utf8;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

std::vector<PrinterName> FakePrinters::EnumPrinterNames() {
  ++enumerations;
  if (!failure.empty()) throw ESystemError(failure);
  std::vector<PrinterName> listed;
  for (const std::string& name : names) {
    const auto own = inexact.find(name);
    listed.push_back(own == inexact.end() ? PrinterName{name, true, Latin1ToUtf8(name)}
                                          : PrinterName{name, false, own->second});
  }
  return listed;
}

ServiceState FakeSpooler::State(const std::string& service) {
  if (service != kSpoolerService) {
    const Dependent* dependent = Find(service);
    if (!dependent) return ServiceState::Unknown;
    return clock_.NowMs() < dependent->readyAt ? ServiceState::Changing : dependent->state;
  }
  const std::string last = processes_.starts.empty() ? "" : processes_.starts.back().parameters;
  const bool stop = last == "STOP SPOOLER";
  if (!stop && last != "START SPOOLER") return afterStart;
  if (netSeen_ != processes_.starts.size()) {
    netSeen_ = processes_.starts.size();
    netAt_ = clock_.NowMs();
  }
  if (clock_.NowMs() - netAt_ < (stop ? stoppingMs : startingMs)) return ServiceState::Changing;
  return stop ? afterStop : afterStart;
}

std::vector<Service> FakeSpooler::RunningDependents() {
  std::vector<Service> running;
  for (const Dependent& d : dependents) {
    if (d.state == ServiceState::Running) running.push_back(d.service);
  }
  return running;
}

FakeSpooler::Dependent* FakeSpooler::Find(const std::string& service) {
  for (Dependent& d : dependents) {
    if (d.service.name == service) return &d;
  }
  return nullptr;
}

bool FakeSpooler::Stop(const std::string& service) {
  requests.push_back("stop " + service);
  Dependent* d = Find(service);
  if (d != nullptr && d->stops) {
    d->state = ServiceState::Stopped;
    d->readyAt = clock_.NowMs() + d->takesMs;
  }
  return d != nullptr;
}

bool FakeSpooler::Start(const std::string& service) {
  requests.push_back("start " + service);
  Dependent* d = Find(service);
  if (d != nullptr && d->starts) {
    d->state = ServiceState::Running;
    d->readyAt = clock_.NowMs() + d->startTakesMs.value_or(d->takesMs);
  }
  return d != nullptr;
}

std::optional<std::string> FakeSpooler::PrinterPort(const std::string& printer) {
  ++portQuestions;
  if (printerUnknownFor > 0) {
    --printerUnknownFor;
    return std::nullopt;
  }
  if (reportedPort) return reportedPort;
  return registry_.GetString(layout::kPrintersKeyPrefix + printer, layout::kPort);
}

std::optional<std::string> FakeSpooler::PrinterDriver(const std::string& printer) {
  const std::string key = layout::kPrintersKeyPrefix + printer;
  if (!registry_.HasKey(key)) return std::nullopt;
  return registry_.GetString(key, layout::kPrinterDriver).value_or("");
}

std::string FakeSpooler::DefaultPrinter() {
  if (!defaultPrinter.empty()) return defaultPrinter;
  const std::string mark = "/y /n \"";
  for (auto it = processes_.starts.rbegin(); it != processes_.starts.rend(); ++it) {
    const std::size_t at = it->parameters.find(mark);
    if (at == std::string::npos) continue;
    const std::string rest = it->parameters.substr(at + mark.size());
    return rest.substr(0, rest.find('"'));
  }
  return {};
}

bool FakeFiles::ReadBytes(const std::string& path, std::uint64_t offset, std::size_t count,
                          std::string* bytes) {
  bytes->clear();
  if (!files.count(path)) return false;
  const std::string& content = contents[path];
  if (offset < content.size()) *bytes = content.substr(offset, count);
  return true;
}

void FakeFiles::WriteFile(const std::string& path, const std::string& data) {
  if (!writeFailure.empty()) {
    const std::string failure = SystemErrorMessage(112, writeFailure);
    writeFailure.clear();
    throw ESystemError(failure);
  }
  written[path] = data;
}

std::string PeImage(std::uint16_t machine) {
  std::string image(0x80 + 6, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  image[0x3C] = '\x80';  // e_lfanew
  image.replace(0x80, 4, std::string("PE\0\0", 4));
  image[0x84] = static_cast<char>(machine & 0xFF);
  image[0x85] = static_cast<char>(machine >> 8);
  return image;
}

bool FakeFiles::IsLeadByte(unsigned char byte) {
  switch (codePage) {
    case 932:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

bool FakeProcesses::StartHidden(const std::string& file, const std::string& parameters,
                                ProcessHandle* process, std::uint32_t* errorCode,
                                const std::function<void()>& whileStarting) {
  starts.push_back({file, parameters});
  if (whileStarting) whileStarting();
  if (missingPrograms.count(file) || static_cast<int>(starts.size()) == failStart_) {
    *process = 0;
    *errorCode = 2;  // ERROR_FILE_NOT_FOUND
    return false;
  }
  ++openProcesses;
  remaining_ = waitSlices;
  *process = static_cast<ProcessHandle>(starts.size());
  return true;
}

WaitResult FakeProcesses::WaitOrMessage(ProcessHandle, std::uint32_t) {
  if (remaining_ <= 0) return WaitResult::Ended;
  --remaining_;
  if (onWait) onWait();
  return WaitResult::Woken;
}

void FakeProcesses::CloseProcess(ProcessHandle) {
  --openProcesses;
}

std::string FakeProcesses::SystemErrorText(std::uint32_t code) {
  return code == 2 ? "The system cannot find the file specified" : "Error " + std::to_string(code);
}

void FakeProcesses::ShellOpen(std::uintptr_t owner, const ShellCall& call) {
  opened.push_back({owner, call});
}

int FakeDialogs::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  boxes.push_back({text, caption, flags});
  if (onBox) onBox(boxes.back());
  if (!answers.empty()) {
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  if ((flags & kMbTypeMask) == kMbYesNo && yesNoAnswer != 0) return yesNoAnswer;
  if ((flags & kMbTypeMask) == kMbYesNo) {
    ADD_FAILURE() << "unanswered question: " << caption;
    return kIdNo;
  }
  return kIdOk;
}

void PrintTo(const FakeDialogs::Box& box, std::ostream* out) {
  *out << "{" << ::testing::PrintToString(box.text) << ", " << ::testing::PrintToString(box.caption)
       << ", 0x" << std::hex << box.flags << std::dec << "}";
}

::testing::AssertionResult BoxesShown(const FakeDialogs& dialogs,
                                      const std::vector<FakeDialogs::Box>& expected) {
  return BoxesShownSince(dialogs, 0, expected);
}

::testing::AssertionResult BoxesShownSince(const FakeDialogs& dialogs, std::size_t before,
                                           const std::vector<FakeDialogs::Box>& expected) {
  const std::vector<FakeDialogs::Box>& all = dialogs.boxes;
  const std::vector<FakeDialogs::Box> shown(all.begin() + std::min(before, all.size()), all.end());
  if (shown == expected) return ::testing::AssertionSuccess();
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << shown.size() << " boxes shown";
  if (before > 0) failure << " after the first " << before;
  failure << ", " << expected.size() << " expected";
  using ::testing::PrintToString;
  for (std::size_t i = 0; i < std::max(shown.size(), expected.size()); ++i) {
    if (i < shown.size() && i < expected.size() && shown[i] == expected[i]) continue;
    failure << "\n  box " << i + 1 << ": shown "
            << (i < shown.size() ? PrintToString(shown[i]) : "none") << "\n    expected "
            << (i < expected.size() ? PrintToString(expected[i]) : "none");
  }
  return failure;
}

bool FakeDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                             std::string& value) {
  inputs.push_back({caption, prompt, value});
  if (inputAnswers.empty()) return false;
  auto answer = std::move(inputAnswers.front());
  inputAnswers.pop_front();
  return answer(value);
}

bool FakeDialogs::Execute(const char* kind, FileDialog& dialog) {
  fileDialogs.push_back(std::string(kind) + ":" + dialog.fileName);
  fileDialogDirs.push_back(dialog.initialDir);
  if (fileChoices.empty()) return false;
  const FileChoice choice = fileChoices.front();
  fileChoices.pop_front();
  if (!choice.accept) return false;
  dialog.fileName = choice.path;
  bool canClose = true;
  if (dialog.onCanClose) {
    // As the real dialog does: an error in the close-query event is shown
    // and the dialog closes as accepted.
    try {
      dialog.onCanClose(dialog, canClose);
    } catch (const std::exception& e) {
      ShowException(*this, e);
    }
  }
  return true;
}

LockAttempt FakeRestartLock::TryAcquire(std::uint32_t sliceMs) {
  if (denied) return {LockResult::AccessDenied, ""};
  if (!failure.empty()) return {LockResult::Failed, failure};
  EXPECT_FALSE(held) << "the restart lock was taken twice";
  const std::uint64_t now = clock_.NowMs();
  if (now < heldUntil) {
    if (heldUntil - now > sliceMs) {
      clock_.Sleep(sliceMs);
      return {LockResult::Busy, ""};
    }
    clock_.Sleep(static_cast<std::uint32_t>(heldUntil - now));
  }
  held = true;
  ++acquisitions;
  if (onChange) onChange();
  const bool takenOver = abandoned;
  abandoned = false;
  return {takenOver ? LockResult::TakenOver : LockResult::Acquired, ""};
}

void FakeRestartLock::Release() {
  EXPECT_TRUE(held) << "the restart lock was given back unheld";
  held = false;
  if (onChange) onChange();
}

FakeWorld::FakeWorld() {
  MainFormControls controls{Edit2,     Edit3,    Edit4,     Edit5,     Edit6,
                            ComboBox1, ListBox1, CheckBox1, CheckBox2, CheckBox3};
  Edit4.text = "Copy";  // the field's initial text
  form = std::make_unique<TfrmMain>(platform, app, dialogs, controls);
  form->closeWindow = [this] { ++closes; };
  form->showAbout = [this] { ++aboutShown; };
}

FakeWorld::~FakeWorld() {
  EXPECT_EQ(registry.OpenHandleCount(), 0) << "a registry key was left open";
  EXPECT_EQ(processes.openProcesses, 0) << "a process handle was left open";
  EXPECT_FALSE(restartLock.held) << "the restart lock was left held";
}

void AddPrinter(FakeWorld& w, const std::string& name, const std::string& port) {
  w.printerBackend.names.push_back(name);
  w.registry.PutString(layout::kPrintersKeyPrefix + name, "Port", port);
}

void FakeWorld::Click(void (TfrmMain::*handler)()) {
  TfrmMain* f = form.get();
  f->Commands().Execute([f, handler] { (f->*handler)(); });
}

}  // namespace qv::fakes
