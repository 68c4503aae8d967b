// The console program as a fleet's management engine runs it: one command
// per run, judged by its exit code and output, against the real registry,
// CUPS queues (Office_PS, Studio_PS) and Wine's NET. And a printer whose
// name code page 1252 cannot hold ("Ω-Printer", which best fit would read
// as the other queue, "O-Printer"), in the window and on the console.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/main_layout.h"
#include "harness.h"
#include "tests/common/texts.h"

namespace {

using namespace std::chrono_literals;

const std::string kMonitorKey =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF Port";
const std::string kPortKey = kMonitorKey + "\\Ports\\QuorvinPDF:";
const std::string kPrintersKey = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";

struct Outcome {
  int code;
  std::string out, err;
};

// Runs the console program, its arguments passed as UTF-16; its output
// with CRLF line ends as LF.
Outcome Command(const std::wstring& arguments) {
  const std::string program = "\"" + e2e::ToolFolder() + "QuorvinConfigCmd.exe\" ";
  Outcome run;
  run.code =
      e2e::RunProgram(std::wstring(program.begin(), program.end()) + arguments, &run.out, &run.err);
  for (std::string* text : {&run.out, &run.err}) {
    text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
  }
  return run;
}

Outcome Command(const std::string& arguments) {
  return Command(std::wstring(arguments.begin(), arguments.end()));  // ASCII
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

// A key of ours ("HKLM\\...") as a path under HKLM.
std::wstring UnderHklm(const std::string& key) {
  return std::wstring(key.begin() + 5, key.end());
}

// Every key and value under key in the 32-bit view as the registry holds
// them, read with the wide API: "PATH" for a key, "PATH\NAME TYPE:BYTES"
// for a value (but userDesktopDir), sorted.
std::vector<std::string> Tree(const std::wstring& key) {
  std::vector<std::string> lines;
  HKEY open = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &open) !=
      ERROR_SUCCESS) {
    return lines;
  }
  lines.push_back(Utf8(key));
  std::vector<BYTE> data(1 << 16);
  wchar_t name[16384];
  DWORD length = 16384, type = 0, size = static_cast<DWORD>(data.size());
  for (DWORD i = 0;
       RegEnumValueW(open, i, name, &length, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
       ++i, length = 16384, size = static_cast<DWORD>(data.size())) {
    if (std::wstring(name, length) == L"userDesktopDir") continue;
    std::string line =
        Utf8(key + L"\\" + std::wstring(name, length)) + " " + std::to_string(type) + ":";
    char hex[4];
    for (DWORD b = 0; b < size; ++b) {
      std::snprintf(hex, sizeof hex, "%02x", data[b]);
      line += hex;
    }
    lines.push_back(line);
  }
  std::vector<std::wstring> subkeys;
  for (DWORD i = 0; length = 16384, RegEnumKeyExW(open, i, name, &length, nullptr, nullptr, nullptr,
                                                  nullptr) == ERROR_SUCCESS;
       ++i) {
    subkeys.emplace_back(name, length);
  }
  RegCloseKey(open);
  for (const std::wstring& subkey : subkeys) {
    const std::vector<std::string> below = Tree(key + L"\\" + subkey);
    lines.insert(lines.end(), below.begin(), below.end());
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

void SetWide(const std::string& key, const wchar_t* name, DWORD type, const std::wstring& value) {
  HKEY open = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, UnderHklm(key).c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &open, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(open, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  RegCloseKey(open);
}

class Console : public e2e::ToolTest {
 protected:
  Console() : ToolTest(Launch::kNone) {}
};

TEST_F(Console, StatusFixPortAndAttach) {
  // Run from a folder without the package, nothing is written.
  CreateDirectoryA("C:\\elsewhere", nullptr);
  e2e::CopyFileOrFail(e2e::ToolFolder() + "QuorvinConfigCmd.exe", "C:\\elsewhere\\Cmd.exe");
  Outcome run;
  run.code = e2e::RunProgram("C:\\elsewhere\\Cmd.exe fix-port", &run.out, &run.err);
  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(Contains(run.err,
                       "qvpdfrun.exe is not in C:\\elsewhere. Run QuorvinConfigCmd.exe "
                       "from the folder the package is installed in."))
      << run.err;
  EXPECT_FALSE(e2e::RegQuery(kPortKey, "Command").found);

  // The port registered, but no printer on it: PDF printing cannot work.
  ASSERT_EQ(Command("fix-port").code, 0);
  EXPECT_EQ(e2e::RegQuery(kPortKey, "Command").data, e2e::ToolFolder() + "qvpdfrun.exe");
  run = Command("status --json");
  std::printf("status --json without a PDF printer (exit %d):\n%s", run.code, run.out.c_str());
  EXPECT_EQ(run.code, 3) << run.err;
  EXPECT_TRUE(Contains(run.out, "\"differs\": []"));
  EXPECT_TRUE(Contains(run.out, "\"name\": \"Studio_PS\",\n      \"monitored\": false"));
  EXPECT_TRUE(Contains(run.out,
                       "\"problems\": [\n    {\n      \"code\": \"no_pdf_printer\",\n"
                       "      \"text\": \"No printer sends its jobs to the PDF port.\"\n"
                       "    }\n  ]\n}"))
      << run.out;

  // attach with Wine's NET: the spooler stops and starts again, as the
  // service manager confirms.
  run = Command("attach Office_PS");
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "Office_PS", "Port").data, "QuorvinPDF:");
  run = Command("status --json");
  std::printf("status --json on a healthy machine (exit %d):\n%s", run.code, run.out.c_str());
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "\"healthy\": true"));
  EXPECT_TRUE(Contains(run.out, "\"problems\": []"));
  EXPECT_TRUE(Contains(run.out, "\"GS_DLL_32bit\": true,"));
  EXPECT_TRUE(Contains(run.out,
                       "\"monitor_file\": \"C:\\\\windows\\\\system32\\\\quorvinmonnt.dll\",\n"
                       "    \"monitor_file_ok\": true\n  },"));
  EXPECT_TRUE(Contains(run.out, "\"windows\": {\n    \"protected_print_mode\": false\n  },"));
  run = Command("fix-port --if-needed");
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, "The PDF port needed no repair.\n");

  // What stops PDF printing on today's Windows, each shown by taking a
  // stand-in away or swapping its machine, then put back.
  char systemFolder[MAX_PATH + 1] = {};
  GetSystemDirectoryA(systemFolder, sizeof systemFolder);
  const std::string monitor = std::string(systemFolder) + "\\quorvinmonnt.dll";
  const std::string wpp = "HKLM\\SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
  const auto standin = [](const char* name) {
    const char* path = std::getenv(name);
    return std::string(path != nullptr ? path : "");
  };
  struct Fault {
    const char* code;
    std::function<void()> make, undo;
  };
  const Fault faults[] = {
      {"protected_print_mode",
       [&] {
         e2e::RunProgram(
             "reg.exe add \"" + wpp +
             "\" /v WindowsProtectedPrintGroupPolicyState /t REG_DWORD /d 1 /reg:64 /f");
       },
       [&] { e2e::RunProgram("reg.exe delete \"" + wpp + "\" /f /reg:64"); }},
      {"monitor_missing", [&] { DeleteFileA(monitor.c_str()); },
       [&] { e2e::CopyFileOrFail(standin("QV_STANDIN64"), monitor); }},
      {"monitor_missing", [&] { e2e::CopyFileOrFail(standin("QV_STANDIN32"), monitor); },
       [&] { e2e::CopyFileOrFail(standin("QV_STANDIN64"), monitor); }},
      {"ghostscript_not_32bit", [&] { e2e::CopyFileOrFail(standin("QV_STANDIN64"), e2e::kGsDll); },
       [&] { e2e::CopyFileOrFail(standin("QV_STANDIN32"), e2e::kGsDll); }},
  };
  for (const Fault& fault : faults) {
    fault.make();
    run = Command("status --json");
    std::printf("status --json with %s (exit %d):\n%s", fault.code, run.code, run.out.c_str());
    EXPECT_EQ(run.code, 3) << fault.code;
    EXPECT_TRUE(Contains(
        run.out, std::string("\"problems\": [\n    {\n      \"code\": \"") + fault.code + "\",\n"))
        << run.out;
    fault.undo();
  }
  EXPECT_TRUE(Contains(Command("status").out, "  Monitor   " + monitor + "\n"));
  EXPECT_EQ(Command("status").code, 0);

  e2e::RegAdd(kPortKey, "Delay", "REG_DWORD", "1000");
  run = Command("status --json");
  std::printf("status --json with Delay changed by hand (exit %d):\n%s", run.code, run.out.c_str());
  EXPECT_EQ(run.code, 3);
  EXPECT_TRUE(Contains(run.out, "\"healthy\": false"));
  EXPECT_TRUE(Contains(run.out, "\"differs\": [\n      \"Delay\"\n    ]"));
  EXPECT_TRUE(Contains(Command("status").out, "differ: Delay\n"));
  EXPECT_TRUE(Contains(Command("status").out,
                       "Some PDF port values differ from what Fix PDF Port writes.\n"));
  run = Command("fix-port --if-needed");
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, "The default PDF port properties have been restored.\n");
  EXPECT_EQ(e2e::RegQuery(kPortKey, "Delay").data, "0x12c");
  EXPECT_EQ(Command("status").code, 0);
  // A flag stored as text is of the wrong type, not missing.
  e2e::RegAdd(e2e::kSettingsKey, "promptPDF", "REG_SZ", "1");
  run = Command("status");
  EXPECT_EQ(run.code, 3);
  EXPECT_TRUE(Contains(run.out, "  promptPDF = [wrong type]\n")) << run.out;
  EXPECT_TRUE(Contains(Command("status --json").out, "\"invalid\": [\n    \"promptPDF\"\n  ],"));
  ASSERT_EQ(Command("set promptPDF=1").code, 0);
  EXPECT_EQ(Command("status").code, 0);

  // attach takes the name of a listed printer, the case of A to Z aside.
  run = Command("attach Studio");
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "No printer named \"Studio\" is installed.\n");
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "Studio_PS", "Port").data, "CUPS:Studio_PS");
  run = Command("attach studio_ps");
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, std::string(qv::texts::kPrinterAddedText) + "\n");
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
  // A character beyond the code page (1252 or 932: a Thai letter) is
  // refused, never stored as a look-alike.
  Outcome run = Command(L"set defaultPDFFile=\u0e01mega.pdf");
  EXPECT_EQ(run.code, 2);
  EXPECT_EQ(run.err,
            "Argument 2 holds characters that this system's code page cannot represent.\n");
  EXPECT_EQ(e2e::RegQuery(e2e::kSettingsKey, "defaultPDFFile").data, "fleet.pdf");
  // Typed into cmd.exe, "defaultPDFDir=C:\My PDFs\" ends in a quote: the
  // backslash before the closing quote keeps it. Refused, nothing written.
  const e2e::RegValue dir = e2e::RegQuery(e2e::kSettingsKey, "defaultPDFDir");
  run.code = e2e::RunProgram("cmd.exe /c \"\"" + e2e::ToolFolder() +
                                 "QuorvinConfigCmd.exe\" set \"defaultPDFDir=C:\\My PDFs\\\"\"",
                             &run.out, &run.err);
  EXPECT_EQ(run.code, 2);
  EXPECT_EQ(run.err,
            "Argument 2 holds a double quote (\"), which no path or file name can hold. In cmd.exe "
            "a backslash before the closing quote keeps the quote: leave that backslash out, or "
            "double it (\"defaultPDFDir=C:\\My PDFs\\\\\").\r\n");
  EXPECT_EQ(e2e::RegQuery(e2e::kSettingsKey, "defaultPDFDir").data, dir.data);

  // Export, delete the keys, import into the 32-bit view: all comes back,
  // but userDesktopDir, which belongs to each machine.
  const auto listing = [](const std::string& key) {
    std::string text;
    for (const auto& [name, value] : e2e::RegQueryKey(key)) {
      if (name != "userDesktopDir") text += name + "=" + value.type + ":" + value.data + "\n";
    }
    return text;
  };
  // Values that a byte-wise escape or an ANSI file would lose, in this
  // code page: in code page 932 the second byte of "\u30bd" is a backslash's.
  if (const char* lang = std::getenv("LANG"); lang != nullptr && lang[0] == 'j') {
    ASSERT_EQ(GetACP(), 932u) << "Wine gave no Japanese code page";
  }
  const bool japanese = GetACP() == 932;
  const std::wstring letter = japanese ? L"\u65e5\u672c" : L"caf\u00e9";
  struct Row {
    std::string key;
    const wchar_t* name;
    DWORD type;
    std::wstring value;
  };
  const Row rows[] = {
      {e2e::kSettingsKey, L"defaultPDFFile", REG_SZ, L"say \"hi\" " + letter + L".pdf"},
      {e2e::kSettingsKey, L"defaultPDFDir", REG_SZ, japanese ? L"C:\\out\\\u30bd\\" : L"C:\\out\\"},
      {e2e::kSettingsKey, L"defaultPDFAppend", REG_SZ, L"line 1\r\nline 2"},
      {kPortKey, L"LogFileName", REG_EXPAND_SZ, L"%TEMP%\\qv " + letter + L".log"},
      {kPortKey, L"Printer", REG_SZ, japanese ? L"\u30bd" : L"\\\\server\\queue"},
  };
  for (const Row& row : rows) SetWide(row.key, row.name, row.type, row.value);
  std::vector<std::string> before = Tree(UnderHklm(e2e::kSettingsKey));
  const std::vector<std::string> beforeMonitor = Tree(UnderHklm(kMonitorKey));
  // The previous ports recorded by the attach tests before belong to this
  // machine: export leaves them out.
  before.erase(
      std::remove_if(before.begin(), before.end(),
                     [](const std::string& line) { return Contains(line, "\\Previous Ports"); }),
      before.end());
  const std::string settings = listing(e2e::kSettingsKey);
  const std::string monitor = listing(kMonitorKey);
  const std::string port = listing(kPortKey);
  ASSERT_EQ(Command("export C:\\fleet.reg").code, 0);
  EXPECT_EQ(Command("export C:\\no-such-folder\\fleet.reg").code, 1);
  // As the registry editor writes it: UTF-16LE with a byte-order mark.
  std::ifstream file("C:\\fleet.reg", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), {}};
  const std::wstring head = L"\xfeffWindows Registry Editor Version 5.00\r\n";
  ASSERT_GE(bytes.size(), head.size() * 2);
  EXPECT_EQ(std::memcmp(bytes.data(), head.data(), head.size() * 2), 0);
  std::printf(
      "the exported file (code page %u):\n%s\n", GetACP(),
      Utf8(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()) + 1, bytes.size() / 2 - 1))
          .c_str());
  for (const std::string& key : {std::string(e2e::kSettingsKey), kMonitorKey}) {
    ASSERT_TRUE(e2e::RegDelete(key)) << key;
  }
  std::string imported;
  ASSERT_EQ(e2e::RunProgram("reg.exe import C:\\fleet.reg /reg:32", &imported), 0) << imported;
  EXPECT_EQ(listing(e2e::kSettingsKey), settings);
  EXPECT_EQ(listing(kMonitorKey), monitor);
  EXPECT_EQ(listing(kPortKey), port);
  EXPECT_FALSE(e2e::RegQuery(e2e::kSettingsKey, "userDesktopDir").found);
  // Byte for byte, with their types, and nothing more.
  const std::vector<std::string> after = Tree(UnderHklm(e2e::kSettingsKey)),
                                 afterMonitor = Tree(UnderHklm(kMonitorKey));
  EXPECT_EQ(after, before);
  EXPECT_EQ(afterMonitor, beforeMonitor);
  std::printf("reg import gave back:\n");
  for (const auto* tree : {&after, &afterMonitor}) {
    for (const std::string& line : *tree) std::printf("  %s\n", line.c_str());
  }
}

TEST(Lookalike, APrinterIsNeverTakenForAnother) {
  ASSERT_EQ(GetACP(), 1252u);
  e2e::PlantGhostscript();
  const std::string port = "CUPS:O-Printer";
  const std::string refusal =
      "The name of this printer holds characters that this system's code page cannot "
      "represent, so this tool cannot send it to the PDF port.";
  {
    e2e::Tool tool = e2e::Tool::Start();
    const e2e::Window main = tool.WaitMainWindow();
    ASSERT_TRUE(static_cast<bool>(main));
    ASSERT_FALSE(tool.FindMessageBox()) << "the start asked something";
    const e2e::Window combo = main.Control(qv::kIdComboBox1);
    EXPECT_EQ(combo.Items(), (std::vector<std::string>{"O-Printer", "?-Printer"}));
    combo.SelectItem(1);
    main.Control(qv::kIdLMDButton1).Press();
    tool.AnswerMessageBox({"Printer Name Not Supported",
                           refusal + "\rRename the printer, then press Query New Printers.",
                           "red"});
    Sleep(500);
    EXPECT_FALSE(tool.FindMessageBox()) << "the command went on";
    e2e::Exit(tool, main);
  }
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "O-Printer", "Port").data, port);

  Outcome run = Command(L"attach \"\u03A9-Printer\"");
  EXPECT_EQ(run.code, 2);
  EXPECT_EQ(run.err,
            "Argument 2 holds characters that this system's code page cannot represent.\n");
  run = Command("attach \"?-Printer\"");
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, refusal + "\nRename the printer, then press Query New Printers.\n");
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "O-Printer", "Port").data, port);

  // Redirected, text for people is in the OEM code page, which lacks "\x8a"
  // (S with caron): a "?" stands for it, not best fit's "S"; JSON keeps it,
  // escaped: its text is ASCII, the same bytes whatever the code page.
  e2e::RegAdd(e2e::kSettingsKey, "defaultPDFFile", "REG_SZ", "\x8a.pdf");
  EXPECT_TRUE(Contains(Command("status").out, "  defaultPDFFile = ?.pdf\n"));
  run = Command("status --json");
  EXPECT_TRUE(Contains(run.out, "\"defaultPDFFile\": \"\\u0160.pdf\""));
  EXPECT_TRUE(std::all_of(run.out.begin(), run.out.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  EXPECT_TRUE(Contains(run.out, "\\u03a9-Printer"));
  std::printf("status --json with a name beyond the code page (exit %d):\n%s", run.code,
              run.out.c_str());
  EXPECT_TRUE(Contains(run.out,
                       "\"name\": \"O-Printer\",\n      \"monitored\": false,\n      "
                       "\"previous_port\": null,\n      \"addressable\": true"));
  EXPECT_TRUE(Contains(run.out,
                       "\"name\": \"\\u03a9-Printer\",\n      \"monitored\": false,\n      "
                       "\"previous_port\": null,\n      \"addressable\": false"));
}

// Last in its world: the system's net.exe becomes a program that never
// ends, as one waiting for an answer nobody gives.
TEST_F(Console, AttachGivesUpOnAProgramThatNeverEnds) {
  ASSERT_EQ(Command("fix-port").code, 0);
  e2e::RegAdd(kPrintersKey + "Office_PS", "Port", "REG_SZ", "CUPS:Office_PS");
  e2e::ReplaceSystemNet();
  const std::string log = "C:\\net-forever.txt";
  SetEnvironmentVariableA("QV_STANDIN_LOG", log.c_str());  // passed on to NET
  SetEnvironmentVariableA("QV_STANDIN_FOREVER", "1");
  const ULONGLONG start = GetTickCount64();
  const Outcome run = Command("attach Office_PS --timeout 2");
  const ULONGLONG took = GetTickCount64() - start;
  SetEnvironmentVariableA("QV_STANDIN_FOREVER", nullptr);
  std::printf("attach --timeout 2 with a NET that never ends: exit %d after %llu ms\n%s", run.code,
              took, run.err.c_str());
  EXPECT_EQ(run.code, 1);
  char system[MAX_PATH + 1] = {};
  GetSystemDirectoryA(system, sizeof system);
  EXPECT_EQ(run.err, "\"" + std::string(system) +
                         "\\net.exe STOP SPOOLER\" did not finish within 2 seconds; it is still "
                         "running.\n");
  EXPECT_TRUE(run.out.empty()) << run.out;
  EXPECT_LT(took, 6000u);
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "Office_PS", "Port").data, "QuorvinPDF:");
  // NET START never ran; the stand-in still runs, and is ended here.
  std::ifstream calls(log);
  unsigned long pid = 0;
  std::string rest;
  ASSERT_TRUE(static_cast<bool>(calls >> pid)) << "the stand-in did not run";
  std::getline(calls, rest);
  EXPECT_EQ(rest, " STOP SPOOLER");
  EXPECT_FALSE(std::getline(calls, rest)) << "a second program was started: " << rest;
  const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  TerminateProcess(process, 0);
  CloseHandle(process);
}

// A fleet engine's Test, Set and Get on one printer and one option, as
// objects that console_json.py then reads with Python's json: each object
// is saved in the scenario's folder under the name of its step.
TEST(ConsoleJson, CheckPredictsAttachConvergesAndSetTellsOneChange) {
  const char* folder = std::getenv("QV_SHOTS");
  ASSERT_NE(folder, nullptr);
  const auto save = [&](const char* step, const Outcome& run) {
    std::printf("%s (exit %d):\n%s%s", step, run.code, run.out.c_str(), run.err.c_str());
    std::ofstream(std::string(folder) + "\\" + step + ".json", std::ios::binary) << run.out;
  };
  ASSERT_EQ(Command("fix-port").code, 0);
  e2e::RegAdd(kPrintersKey + "Office_PS", "Port", "REG_SZ", "CUPS:Office_PS");

  Outcome run = Command("attach Office_PS --check --json");
  save("attach-check", run);
  EXPECT_EQ(run.code, 3);
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "Office_PS", "Port").data, "CUPS:Office_PS");
  run = Command("attach Office_PS --json");
  save("attach", run);
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "Office_PS", "Port").data, "QuorvinPDF:");
  run = Command("attach Office_PS --json");
  save("attach-again", run);
  EXPECT_EQ(run.code, 0);
  run = Command("attach Office_PS --check");
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, "Nothing would change.\n");

  ASSERT_EQ(Command("set promptPDF=0 defaultPDFFile=report.pdf").code, 0);
  run = Command("set promptPDF=1 defaultPDFFile=report.pdf --check --json");
  save("set-check", run);
  EXPECT_EQ(run.code, 3);
  EXPECT_EQ(e2e::RegQuery(e2e::kSettingsKey, "promptPDF").data, "0x0");
  run = Command("fix-port --check");
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, "Nothing would change.\n");

  // printui does not run under Wine: the printer takes the package's model
  // in its key, where the spooler reads it. install then converges on it.
  e2e::RegAdd(kPrintersKey + "Office_PS", "Printer Driver", "REG_SZ", "Quorvin PDF Printer");
  run = Command("install Office_PS");
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "The printer \"Office_PS\" is already installed with the package's model and feeds "
            "the PDF port.\n");
  e2e::RegAdd(kPrintersKey + "Office_PS", "Port", "REG_SZ", "CUPS:Office_PS");  // detached
  EXPECT_EQ(Command("install Office_PS --check").code, 3);
  run = Command("install Office_PS --json");
  save("install-detached", run);
  EXPECT_EQ(run.code, 0);
  EXPECT_TRUE(Contains(run.out, "\"changed\": true")) << run.out;
  EXPECT_EQ(e2e::RegQuery(kPrintersKey + "Office_PS", "Port").data, "QuorvinPDF:");
}

}  // namespace
