#include "console/change_run.h"

#include "config/registry_layout.h"
#include "console/commands.h"
#include "console/json.h"
#include "platform/event_log.h"
#include "printing/change_event.h"

namespace qv {
namespace {

// The console's conversion from the code page, for the shared texts.
ToUtf8Function Converter(IConsoleOutput& out) {
  return [&out](const std::string& text) { return out.ToUtf8(text); };
}

void JsonContent(JsonWriter& json, const std::optional<RegistryContent>& content,
                 IConsoleOutput& out) {
  if (!content) {
    json.Null();
  } else if (IsTextContent(*content)) {
    json.String(ContentText(*content, Converter(out)));
  } else if (content->type == kRegDword) {
    json.Number(ContentDword(*content));
  } else {
    json.String(ContentHex(*content));
  }
}

void JsonChange(JsonWriter& json, const Change& change, IConsoleOutput& out) {
  json.BeginObject();
  switch (change.kind) {
    case ChangeKind::Value:
      json.Key("kind").String("value");
      json.Key("key").String(out.ToUtf8(change.key));
      json.Key("name").String(out.ToUtf8(change.valueName));
      json.Key("view").String(change.view);
      json.Key("before");
      JsonContent(json, change.before, out);
      json.Key("after");
      JsonContent(json, change.after, out);
      break;
    case ChangeKind::Service:
      json.Key("kind").String("service");
      json.Key("name").String(out.ToUtf8(change.service));
      json.Key("action").String(change.action == ServiceAction::Stopped ? "stopped" : "started");
      break;
    case ChangeKind::Program:
      json.Key("kind").String("program");
      json.Key("file").String(change.file);
      json.Key("parameters").String(change.parameters);
      json.Key("ended").String(ProgramEndName(change.ended));
      break;
  }
  json.EndObject();
}

void JsonTexts(JsonWriter& json, const char* key, const std::vector<std::string>& texts) {
  json.Key(key).BeginArray();
  for (const std::string& text : texts) json.String(text);
  json.EndArray();
}

constexpr const char* kNothingWouldChangeText = "Nothing would change.";

}  // namespace

std::string ChangeLine(const Change& change, IConsoleOutput& out) {
  switch (change.kind) {
    case ChangeKind::Value:
      return "Would set " + out.ToUtf8(change.key + "\\" + change.valueName) + " (" + change.view +
             " view): now " + ShownContent(change.before, Converter(out)) + ", after " +
             ShownContent(change.after, Converter(out)) + ".";
    case ChangeKind::Service:
      return std::string(change.action == ServiceAction::Stopped ? "Would stop" : "Would start") +
             " the service " + out.ToUtf8(change.service) + ".";
    case ChangeKind::Program:
      return "Would run \"" + change.file + "\" " + change.parameters + ".";
  }
  return "";
}

void ChangeRun::Captured::Keep(Stream s, const std::string& utf8) {
  std::string text = utf8;
  if (!text.empty() && text.back() == '\n') text.pop_back();
  (s == Stream::Out ? notices : errors).push_back(text);
}

void ChangeRun::Captured::Write(Stream s, const std::string& text) {
  Keep(s, real_.ToUtf8(text));
  if (s == Stream::Out ? passNotices_ : passErrors_) real_.Write(s, text);
}

void ChangeRun::Captured::WriteUtf8(Stream s, const std::string& text) {
  Keep(s, text);
  if (s == Stream::Out ? passNotices_ : passErrors_) real_.WriteUtf8(s, text);
}

void ChangeRun::Captured::WriteUtf8Text(Stream s, const std::string& text) {
  Keep(s, text);
  if (s == Stream::Out ? passNotices_ : passErrors_) real_.WriteUtf8Text(s, text);
}

ChangeRun::ChangeRun(const ConsoleArguments& args, ConsoleServices& services)
    : args_(args),
      machine_(services),
      out_(services.out),
      check_(args.check),
      json_(args.json),
      changes_(services.platform, args.check, layout::kPrintersKeyPrefix),
      // A check's notices would tell of changes made: its lines replace
      // them. JSON takes everything into its object.
      captured_(services.out, !args.check && !args.json, !args.json),
      inner_{changes_.platform(), captured_} {}

void ChangeRun::RecordEvent(int exit) const {
  const ChangeRecord& record = changes_.record();
  if (check_ || !record.Changed()) return;
  const std::string name = args_.command != nullptr ? args_.command->name : "";
  const std::uint32_t id = name == "attach"    ? kEventAttach
                           : name == "install" ? kEventInstall
                           : name == "detach"  ? kEventDetach
                           : name == "set"     ? kEventOptions
                                               : kEventPdfPort;
  EventRecord event;
  const ToUtf8Function toUtf8 = Converter(out_);
  event.what = EventSummary(id, record.changes, toUtf8);
  event.program = "QuorvinConfigCmd.exe";
  event.command = name;
  for (const std::string& operand : args_.operands)
    event.command += " \"" + out_.ToUtf8(operand) + "\"";
  for (const Change& change : record.changes)
    event.changes.push_back(MadeChangeLine(change, toUtf8));
  std::string outcome = "Exit code " + std::to_string(exit) + ".";
  for (const std::string& text : captured_.notices) outcome += " " + text;
  for (const std::string& text : captured_.errors) outcome += " " + text;
  event.outcome = outcome;
  // A dependent service left stopped: the change took effect, with a warning.
  bool warning = false;
  for (const std::string& text : captured_.errors) {
    warning = warning || text.rfind("The printer now feeds the PDF port, but", 0) == 0;
  }
  const EventLevel level = exit == kExitDone ? EventLevel::Information
                           : warning         ? EventLevel::Warning
                                             : EventLevel::Error;
  machine_.platform.events.Report(level, id, EventText(event));
}

int ChangeRun::Finish(int exit) {
  RecordEvent(exit);
  const std::vector<Change>& changes = changes_.record().changes;
  std::vector<std::string> notices = captured_.notices;
  if (check_) {
    // The command's own notices would tell of changes made: a check tells
    // each change it would make instead.
    notices.clear();
    std::vector<std::string> lines;
    if (exit == kExitDone) {
      for (const Change& change : changes) lines.push_back(ChangeLine(change, out_));
      if (changes.empty()) notices.push_back(kNothingWouldChangeText);
      if (!changes.empty()) exit = kExitNeedsRepair;
    }
    if (!json_) {
      for (const std::string& line : lines) out_.WriteUtf8Text(Stream::Out, line + "\n");
      for (const std::string& line : notices) out_.WriteUtf8Text(Stream::Out, line + "\n");
    }
  }
  if (json_) {
    JsonWriter json;
    json.BeginObject();
    json.Key("changed").Bool(changes_.record().Changed());
    json.Key("changes").BeginArray();
    for (const Change& change : changes) JsonChange(json, change, out_);
    json.EndArray();
    JsonTexts(json, "notices", notices);
    JsonTexts(json, "errors", captured_.errors);
    json.Key("exit").Number(exit);
    json.EndObject();
    out_.WriteUtf8(Stream::Out, json.Text());
  }
  return exit;
}

}  // namespace qv
