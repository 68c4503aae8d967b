// Names beyond the code page (1252 here): the package in a folder whose
// name it cannot hold, and a stored option it cannot hold. Nothing is read
// or written as a look-alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/main_layout.h"
#include "harness.h"

namespace {

using namespace std::chrono_literals;

const std::string kMonitorKey =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Quorvin PDF Port";
const std::string kPortKey = kMonitorKey + "\\Ports\\QuorvinPDF:";
const std::string kOPrinter =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\O-Printer";

std::wstring Ascii(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

std::string ShortForm(const std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
  std::string narrow;
  for (const wchar_t* c = buffer; *c; ++c) narrow += static_cast<char>(*c);  // 8.3 is ASCII
  return narrow;
}

// The console program of that folder, run with these arguments.
int Console(const std::wstring& folder, const std::string& arguments, std::string* out) {
  return e2e::RunProgram(L"\"" + folder + L"QuorvinConfigCmd.exe\" " +
                             std::wstring(arguments.begin(), arguments.end()),
                         out);
}

TEST(Lookalike, APackageFolderBeyondTheCodePageIsWrittenInItsShortForm) {
  ASSERT_EQ(GetACP(), 1252u);
  e2e::PlantGhostscript();
  const std::wstring folder = L"C:\\Program Files\\\u03A9mega PDF\\";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  const std::string from = e2e::ToolFolder();
  for (const char* name :
       {"QuorvinConfig.exe", "QuorvinConfigCmd.exe", "qvpdfrun.exe", "QVPDFDistiller.exe"}) {
    const std::wstring to = folder + std::wstring(name, name + std::strlen(name));
    ASSERT_TRUE(CopyFileW(Ascii(from + name).c_str(), to.c_str(), FALSE)) << name;
  }
  const std::string shortFolder = ShortForm(folder);
  std::printf("short form of the package folder: %s\n", shortFolder.c_str());
  ASSERT_NE(shortFolder.find('~'), std::string::npos);
  e2e::RegDelete(kMonitorKey);
  e2e::RegDelete(e2e::kSettingsKey);  // a first start
  e2e::PlantGhostscript();

  {
    e2e::Tool tool = e2e::Tool::Start(folder + L"QuorvinConfig.exe");
    const e2e::Window main = tool.WaitMainWindow();
    ASSERT_TRUE(static_cast<bool>(main));
    ASSERT_FALSE(tool.FindMessageBox()) << "the start said something";
    EXPECT_EQ(main.Control(qv::kIdEdit3).Text(), shortFolder + "PDFs");
    main.Control(qv::kIdLMDButton2).Press();  // Fix PDF Port
    tool.AnswerMessageBox({"Fix PDF Port"});
    e2e::Exit(tool, main);
  }
  // What was written names the short form, and the file it names exists.
  const std::string command = e2e::RegQuery(kPortKey, "Command").data;
  EXPECT_EQ(command, shortFolder + "qvpdfrun.exe");
  EXPECT_NE(GetFileAttributesA(command.c_str()), INVALID_FILE_ATTRIBUTES) << command;
  EXPECT_EQ(e2e::RegQuery(e2e::kSettingsKey, "defaultPDFDir").data, shortFolder + "PDFs");
  std::printf("written from the folder: Command=%s Arguments=%s defaultPDFDir=%s\n",
              command.c_str(), e2e::RegQuery(kPortKey, "Arguments").data.c_str(),
              e2e::RegQuery(e2e::kSettingsKey, "defaultPDFDir").data.c_str());

  std::string out;
  EXPECT_EQ(Console(folder, "fix-port", &out), 0) << out;
  const std::string port = e2e::RegQuery(kOPrinter, "Port").data;
  e2e::RegAdd(kOPrinter, "Port", "REG_SZ", "QuorvinPDF:");
  EXPECT_EQ(Console(folder, "status", &out), 0) << out;
  e2e::RegAdd(kOPrinter, "Port", "REG_SZ", port);
}

TEST(Lookalike, AStoredOptionBeyondTheCodePageIsRefusedNeverRewritten) {
  e2e::PlantGhostscript();
  const std::wstring value = L"C:\\\u03A9mega\\PDFs";
  ASSERT_EQ(e2e::RunProgram(L"reg.exe add \"" + Ascii(e2e::kSettingsKey) +
                            L"\" /v defaultPDFDir /d \"" + value + L"\" /reg:32 /f"),
            0);
  {
    // The start ends at the value, before its window shows.
    e2e::Tool tool = e2e::Tool::Start();
    tool.AnswerMessageBox({"Quorvin PDF Configuration Tool",
                           "The value 'defaultPDFDir' holds characters that this system's code "
                           "page cannot represent.",
                           "red"});
    const e2e::Window main = tool.WaitMainWindow();
    ASSERT_TRUE(static_cast<bool>(main));
    main.Control(qv::kIdSaveChangesBtn).Press();
    tool.AnswerMessageBox({"Changes Not Saved"});
    e2e::Exit(tool, main);
  }
  // Still the administrator's value, character for character.
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Ascii(e2e::kSettingsKey + 5).c_str(), 0,
                          KEY_READ | KEY_WOW64_32KEY, &opened),
            ERROR_SUCCESS);
  wchar_t stored[64] = {};
  DWORD size = sizeof stored;
  EXPECT_EQ(RegQueryValueExW(opened, L"defaultPDFDir", nullptr, nullptr,
                             reinterpret_cast<BYTE*>(stored), &size),
            ERROR_SUCCESS);
  RegCloseKey(opened);
  EXPECT_EQ(std::wstring(stored), value);

  std::string out;
  EXPECT_EQ(e2e::RunProgram("\"" + e2e::ToolFolder() + "QuorvinConfigCmd.exe\" status", &out), 3);
  EXPECT_NE(out.find("  defaultPDFDir = [not in the code page]\r\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Some values hold characters that this system's code page cannot "
                     "represent.\r\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(e2e::RunProgram("\"" + e2e::ToolFolder() +
                            "QuorvinConfigCmd.exe\" set \"defaultPDFDir=C:\\Out\""),
            0);
  EXPECT_EQ(e2e::RegQuery(e2e::kSettingsKey, "defaultPDFDir").data, "C:\\Out");
}

}  // namespace
