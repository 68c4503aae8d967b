// Every change can be undone and is on record: attach records the CUPS port
// it replaces, status shows it, detach puts it back; the attach registers
// the event source and reports one event that names the printer with its
// port before and after (Wine prints ReportEventW's strings on its own
// standard error, which the scenario's log receives).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "harness.h"

namespace {

const std::string kPrinter = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office_PS";
const std::string kPreviousPorts = std::string(e2e::kSettingsKey) + "\\Previous Ports";
const std::string kEventSource =
    "HKLM\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Quorvin PDF "
    "Configuration Tool";

struct Outcome {
  int code = -1;
  std::string out, err;
};

// Runs the console program and prints what it said, for the log.
Outcome Command(const std::string& arguments) {
  Outcome run;
  run.code = e2e::RunProgram("\"" + e2e::ToolFolder() + "QuorvinConfigCmd.exe\" " + arguments,
                             &run.out, &run.err);
  for (std::string* text : {&run.out, &run.err}) {
    text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
  }
  std::printf("> QuorvinConfigCmd %s\nexit %d\n%s%s", arguments.c_str(), run.code, run.out.c_str(),
              run.err.c_str());
  std::fflush(stdout);
  return run;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The scenario's log, where Wine's debug output of every program lands.
std::string LogText() {
  char shots[MAX_PATH] = {};
  GetEnvironmentVariableA("QV_SHOTS", shots, MAX_PATH);
  std::ifstream in(std::string(shots) + "\\tests.log", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs a command with Wine's event log channel on, and returns the event
// lines Wine printed meanwhile.
std::vector<std::string> WithEventTrace(const std::string& arguments, Outcome* run) {
  char saved[256] = {};
  const bool had = GetEnvironmentVariableA("WINEDEBUG", saved, sizeof saved) > 0;
  const std::size_t from = LogText().size();
  SetEnvironmentVariableA("WINEDEBUG", "-all,+eventlog");
  *run = Command(arguments);
  SetEnvironmentVariableA("WINEDEBUG", had ? saved : nullptr);
  const std::string log = LogText();
  std::vector<std::string> lines;
  for (std::size_t at = from, end; at < log.size(); at = end + 1) {
    end = std::min(log.find('\n', at), log.size());
    const std::string line = log.substr(at, end - at);
    if (Contains(line, ":eventlog:")) lines.push_back(line);
  }
  return lines;
}

class Undo : public e2e::ToolTest {
 protected:
  Undo() : ToolTest(Launch::kNone) {}
};

TEST_F(Undo, DetachGivesBackTheCupsPortAndTheAttachIsOnRecord) {
  const std::string cups = e2e::RegQuery(kPrinter, "Port").data;
  ASSERT_FALSE(cups.empty());
  EXPECT_FALSE(e2e::RegQuery(kEventSource, "TypesSupported").found);

  Outcome attach;
  const std::vector<std::string> events = WithEventTrace("attach Office_PS", &attach);
  ASSERT_EQ(attach.code, 0) << attach.err;
  EXPECT_EQ(e2e::RegQuery(kPrinter, "Port").data, "QuorvinPDF:");
  EXPECT_EQ(e2e::RegQuery(kPreviousPorts, "Office_PS").data, cups);
  std::printf("Wine's event log trace:\n");
  for (const std::string& line : events) std::printf("%s\n", line.c_str());
  const std::string what =
      "Printer \\\"Office_PS\\\": port \\\"" + cups + "\\\" -> \\\"QuorvinPDF:\\\"";
  EXPECT_EQ(std::count_if(events.begin(), events.end(),
                          [&](const std::string& line) { return Contains(line, what); }),
            1)
      << what;
  // The first change registered the source for the running program.
  EXPECT_EQ(e2e::RegQuery(kEventSource, "TypesSupported").data, "0x7");
  const e2e::RegValue file = e2e::RegQuery(kEventSource, "EventMessageFile");
  EXPECT_EQ(file.type, "REG_EXPAND_SZ");
  EXPECT_TRUE(Contains(file.data, "QuorvinConfigCmd.exe")) << file.data;

  const Outcome status = Command("status --json");
  EXPECT_TRUE(Contains(status.out, "\"previous_port\": \"" + cups + "\"")) << status.out;

  const Outcome check = Command("detach Office_PS --check --json");
  EXPECT_EQ(check.code, 3) << check.err;
  EXPECT_TRUE(Contains(check.out, "\"before\": \"QuorvinPDF:\"")) << check.out;
  EXPECT_TRUE(Contains(check.out, "\"after\": \"" + cups + "\"")) << check.out;
  EXPECT_TRUE(Contains(check.out, "\"ended\": \"held back\"")) << check.out;
  EXPECT_EQ(e2e::RegQuery(kPrinter, "Port").data, "QuorvinPDF:");  // a check changes nothing

  const Outcome detach = Command("detach Office_PS");
  EXPECT_EQ(detach.code, 0) << detach.err;
  EXPECT_EQ(e2e::RegQuery(kPrinter, "Port").data, cups);
  EXPECT_FALSE(e2e::RegQuery(kPreviousPorts, "Office_PS").found);  // the record is done with
}

}  // namespace
