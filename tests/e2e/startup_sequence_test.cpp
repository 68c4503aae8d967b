// The start as a user meets it on a prepared machine: Ghostscript
// installed and registered, printer queues in CUPS, none of the package's
// keys yet.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "app/main_layout.h"
#include "harness.h"

namespace {

using e2e::Tool;
using e2e::Window;
using namespace std::chrono_literals;

constexpr const char* kPortKey =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF "
    "Port\\Ports\\QuorvinPDF:";

// Ghostscript 8.50's files and its own registration, nothing of ours.
void InstallGhostscript() {
  e2e::CreateEmptyFile(e2e::kGsDll);
  e2e::CreateEmptyFile(e2e::kGsExe);
  e2e::RegAdd("HKLM\\SOFTWARE\\AFPL Ghostscript\\8.50", "GS_DLL", "REG_SZ", e2e::kGsDll);
}

// Starts the tool and watches every window it shows until the main window
// is up, then a little longer: nothing but the main window may appear.
Window StartWithoutAnyQuestion(const Tool& tool) {
  Window main;
  std::set<std::string> others;
  e2e::WaitFor([&] {
    for (const Window& w : tool.TopLevelWindows()) {
      if (w.ClassName() == "QuorvinConfigMain") {
        main = w;
      } else {
        others.insert(w.ClassName() + " '" + w.Text() + "'");
      }
    }
    return static_cast<bool>(main) || !tool.Running();
  });
  Sleep(1000);
  for (const Window& w : tool.TopLevelWindows()) {
    if (w.ClassName() != "QuorvinConfigMain") others.insert(w.ClassName() + " '" + w.Text() + "'");
  }
  for (const std::string& other : others) ADD_FAILURE() << "the start showed " << other;
  EXPECT_TRUE(static_cast<bool>(main)) << "no main window";
  return main;
}

void ExpectOptionDefaults(const Window& main) {
  EXPECT_EQ(main.Control(qv::kIdEdit2).Text(), "QuorvinPDF.pdf");
  EXPECT_EQ(main.Control(qv::kIdEdit3).Text(), e2e::ToolFolder() + "PDFs");
  EXPECT_EQ(main.Control(qv::kIdEdit4).Text(), "Copy");
  EXPECT_FALSE(main.Control(qv::kIdCheckBox1).Checked());
  EXPECT_TRUE(main.Control(qv::kIdCheckBox2).Checked());
  EXPECT_TRUE(main.Control(qv::kIdCheckBox3).Checked());
}

TEST(StartupSequence, FirstStartOnAPreparedMachineAsksNothing) {
  ASSERT_TRUE(e2e::RegQueryKeyText(e2e::kSettingsKey).empty()) << "the world is not fresh";
  InstallGhostscript();
  Tool tool = Tool::Start();
  const Window main = StartWithoutAnyQuestion(tool);
  ASSERT_TRUE(static_cast<bool>(main));

  EXPECT_EQ(main.Control(qv::kIdComboBox1).Items(), std::vector<std::string>{"Office_PS"});
  EXPECT_EQ(main.Control(qv::kIdComboBox1).SelectedIndex(), 0);
  EXPECT_TRUE(main.Control(qv::kIdListBox1).Items().empty());
  EXPECT_EQ(main.Control(qv::kIdEdit5).Text(), e2e::kGsExe);
  EXPECT_EQ(main.Control(qv::kIdEdit6).Text(), e2e::kGsDll);
  ExpectOptionDefaults(main);

  // Every key complete: the nine settings and the twelve port values.
  std::set<std::string> settings, port;
  for (const auto& [name, value] : e2e::RegQueryKey(e2e::kSettingsKey)) settings.insert(name);
  for (const auto& [name, value] : e2e::RegQueryKey(kPortKey)) port.insert(name);
  EXPECT_EQ(settings, (std::set<std::string>{"GS_DLL", "GSWIN32C", "userDesktopDir",
                                             "defaultPDFFile", "defaultPDFDir", "defaultPDFAppend",
                                             "promptPDF", "finishMessage", "launchPDFApp"}));
  EXPECT_EQ(port, (std::set<std::string>{"Description", "Command", "Arguments", "Printer", "Output",
                                         "ShowWindow", "RunUser", "Delay", "LogFileUse",
                                         "LogFileName", "LogFileDebug", "PrintError"}));
  EXPECT_EQ(e2e::RegQuery("HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin "
                          "PDF Port",
                          "Driver")
                .data,
            "quorvinmonnt.dll");
  EXPECT_EQ(
      e2e::RegQuery("HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office_PS", "Port")
          .data,
      "CUPS:Office_PS");
  Exit(tool, main);

  // The second start asks nothing either and shows the same.
  Tool again = Tool::Start();
  const Window main2 = StartWithoutAnyQuestion(again);
  ASSERT_TRUE(static_cast<bool>(main2));
  ExpectOptionDefaults(main2);
  Exit(again, main2);
}

// What Wine makes of a CUPS without a default destination. winspool is
// loaded only here: loading it makes Wine sync its printers with CUPS.
void PrintWinesDefaultPrinter() {
  const HMODULE winspool = LoadLibraryA("winspool.drv");
  ASSERT_NE(winspool, nullptr);
  using GetDefault = BOOL(WINAPI*)(LPSTR, LPDWORD);
  const auto get = reinterpret_cast<GetDefault>(
      reinterpret_cast<void (*)()>(GetProcAddress(winspool, "GetDefaultPrinterA")));
  ASSERT_NE(get, nullptr);
  char name[256] = {};
  DWORD size = sizeof name;
  if (get(name, &size)) {
    std::printf("Wine's default printer without a CUPS default: %s\n", name);
  } else {
    std::printf("Wine has no default printer (error %lu)\n", GetLastError());
  }
  FreeLibrary(winspool);
}

// CUPS has queues but no default destination (the scenario checks
// `lpstat -d`). The printers are listed all the same.
TEST(NoDefaultPrinter, PrintersAreListedAndTheStartCompletes) {
  const char* cupsDefault = std::getenv("QV_CUPS_DEFAULT");
  ASSERT_NE(cupsDefault, nullptr);
  ASSERT_NE(std::string(cupsDefault).find("no system default"), std::string::npos)
      << "CUPS has a default: " << cupsDefault;
  InstallGhostscript();
  Tool tool = Tool::Start();
  const Window main = StartWithoutAnyQuestion(tool);
  ASSERT_TRUE(static_cast<bool>(main));
  EXPECT_EQ(main.Control(qv::kIdComboBox1).Items(),
            (std::vector<std::string>{"Office_PS", "Studio_PS"}));
  EXPECT_EQ(main.Control(qv::kIdComboBox1).SelectedIndex(), 0);
  EXPECT_TRUE(main.Control(qv::kIdListBox1).Items().empty());
  ExpectOptionDefaults(main);
  PrintWinesDefaultPrinter();

  main.Control(qv::kIdLMDButton9).Press();
  Sleep(500);
  EXPECT_FALSE(tool.FindMessageBox());
  EXPECT_EQ(main.Control(qv::kIdComboBox1).Items(),
            (std::vector<std::string>{"Office_PS", "Studio_PS"}));
  Exit(tool, main);
}

}  // namespace
