// The console program as a fleet's management engine runs it: one command
// per run, judged by its exit code and output, against the real registry,
// CUPS queues (Office_PS, Studio_PS) and Wine's NET.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "harness.h"

namespace {

const std::string kMonitorKey =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF Port";
const std::string kPortKey = kMonitorKey + "\\Ports\\QuorvinPDF:";
const std::string kPrintersKey = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";

struct Outcome {
  int code;
  std::string out, err;
};

// Runs the console program; its output with CRLF line ends as LF.
Outcome Command(const std::string& arguments) {
  Outcome run;
  run.code = e2e::RunProgram("\"" + e2e::ToolFolder() + "QuorvinConfigCmd.exe\" " + arguments,
                             &run.out, &run.err);
  for (std::string* text : {&run.out, &run.err}) {
    text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
  }
  return run;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class Console : public ::testing::Test {
 protected:
  void SetUp() override { e2e::PlantGhostscript(); }
};

TEST_F(Console, StatusFixPortAndAttach) {
  // Healthy once the port is registered; broken when a value is changed.
  ASSERT_EQ(Command("fix-port").code, 0);
  EXPECT_EQ(e2e::RegQuery(kPortKey, "Command").data, e2e::ToolFolder() + "qvpdfrun.exe");
  Outcome run = Command("status --json");
  std::printf("status --json on a healthy machine (exit %d):\n%s", run.code, run.out.c_str());
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "\"healthy\": true"));
  EXPECT_TRUE(Contains(run.out, "\"differs\": []"));
  EXPECT_TRUE(Contains(run.out, "\"name\": \"Studio_PS\",\n      \"monitored\": false"));

  e2e::RegAdd(kPortKey, "Delay", "REG_DWORD", "1000");
  run = Command("status --json");
  std::printf("status --json with Delay changed by hand (exit %d):\n%s", run.code, run.out.c_str());
  EXPECT_EQ(run.code, 3);
  EXPECT_TRUE(Contains(run.out, "\"healthy\": false"));
  EXPECT_TRUE(Contains(run.out, "\"differs\": [\n      \"Delay\"\n    ]"));
  EXPECT_TRUE(Contains(Command("status").out, "differ: Delay"));
  EXPECT_EQ(Command("fix-port").code, 0);
  EXPECT_EQ(e2e::RegQuery(kPortKey, "Delay").data, "0x12c");
  EXPECT_EQ(Command("status").code, 0);

  // attach takes only the exact name of a listed printer.
  run = Command("attach studio_ps");
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "No printer named \"studio_ps\" is installed.\n");
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "Studio_PS", "Port").data, "CUPS:Studio_PS");
  run = Command("attach Studio_PS");
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "Processes complete.  The printer should now appear in your Monitored Printers "
            "list.\n");
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "Studio_PS", "Port").data, "QuorvinPDF:");
  EXPECT_TRUE(Contains(Command("status").out, "Studio_PS  [monitored]"));

  // install: the same refusals and the same honest failure as the window.
  run = Command("install office_ps");
  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(Contains(run.err, "A printer named \"office_ps\" already exists.\n"));
  run = Command("install \"Lab PS\" --default");
  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(Contains(run.err, "The printer \"Lab PS\" could not be installed.\n"));
}

TEST_F(Console, SetValidatesFirstAndExportRecreatesEveryValue) {
  ASSERT_EQ(Command("fix-port").code, 0);
  ASSERT_EQ(Command("set defaultPDFFile=fleet.pdf promptPDF=1 GS_DLL=C:\\gs\\gsdll32.dll").code, 0);
  const e2e::RegValue prompt = e2e::RegQuery(e2e::kSettingsKey, "promptPDF");
  EXPECT_EQ(prompt.type, "REG_DWORD");
  EXPECT_EQ(prompt.data, "0x1");
  EXPECT_EQ(e2e::RegQuery(e2e::kSettingsKey, "defaultPDFFile").data, "fleet.pdf");

  // A bad flag or name: exit 2, and nothing written, not even the good one.
  for (const char* bad : {"defaultPDFFile=other.pdf finishMessage=2", "defaultPDFFile=x nope=1"}) {
    SCOPED_TRACE(bad);
    const Outcome run = Command(std::string("set ") + bad);
    EXPECT_EQ(run.code, 2);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(e2e::RegQuery(e2e::kSettingsKey, "defaultPDFFile").data, "fleet.pdf");
  }

  // Export, delete the keys, import into the 32-bit view: all comes back,
  // but userDesktopDir, which belongs to each machine.
  const auto listing = [](const std::string& key) {
    std::string text;
    for (const auto& [name, value] : e2e::RegQueryKey(key)) {
      if (name != "userDesktopDir") text += name + "=" + value.type + ":" + value.data + "\n";
    }
    return text;
  };
  const std::string settings = listing(e2e::kSettingsKey);
  const std::string monitor = listing(kMonitorKey);
  const std::string port = listing(kPortKey);
  ASSERT_EQ(Command("export C:\\fleet.reg").code, 0);
  EXPECT_EQ(Command("export C:\\no-such-folder\\fleet.reg").code, 1);
  for (const std::string& key : {std::string(e2e::kSettingsKey), kMonitorKey}) {
    ASSERT_EQ(e2e::RunProgram("reg.exe delete \"" + key + "\" /f /reg:32"), 0);
  }
  ASSERT_EQ(e2e::RunProgram("reg.exe import C:\\fleet.reg /reg:32"), 0);
  EXPECT_EQ(listing(e2e::kSettingsKey), settings);
  EXPECT_EQ(listing(kMonitorKey), monitor);
  EXPECT_EQ(listing(kPortKey), port);
  EXPECT_FALSE(e2e::RegQuery(e2e::kSettingsKey, "userDesktopDir").found);
}

}  // namespace
