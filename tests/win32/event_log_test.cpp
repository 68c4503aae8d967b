// The event log on the real (Wine) system: the source's registration in
// the registry, the event reported, and both programs' message tables.
// Wine's RegisterEventSourceW is a stub and it keeps no log; with
// WINEDEBUG=+eventlog it prints the strings ReportEventW receives.
#include "platform/event_log.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/win32/text_conversion.h"
#include "platform/win32/win_event_log.h"
#include "platform/win32/win_files.h"
#include "platform/win32/win_util.h"

namespace qv::testing {
namespace {

class Win32EventSource : public ::testing::Test {
 protected:
  void SetUp() override { Remove(); }
  void TearDown() override { Remove(); }
  static void Remove() { RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kEventSourceKey, KEY_WOW64_64KEY, 0); }
  // A value of the source's key as UTF-16, with its type.
  static std::wstring Value(const char* name, DWORD* type) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    *type = REG_NONE;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, win32::Widen(kEventSourceKey, CP_UTF8).c_str(),
                     win32::Widen(name, CP_UTF8).c_str(), RRF_RT_ANY | RRF_NOEXPAND, type, data,
                     &size) != ERROR_SUCCESS) {
      return L"";
    }
    if (*type != REG_DWORD) return data;
    DWORD number = 0;
    std::memcpy(&number, data, sizeof number);
    return std::to_wstring(number);
  }
};

TEST_F(Win32EventSource, TheFirstEventRegistersTheRunningProgramAndAMoveRewritesIt) {
  Win32FileSystem files;
  const std::wstring own = win32::Widen(*files.OwnExecutablePath(), CP_ACP);
  for (const wchar_t* before : {L"", L"D:\\moved\\QuorvinConfigCmd.exe"}) {
    if (*before != L'\0') {
      ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, win32::Widen(kEventSourceKey, CP_UTF8).c_str(),
                                L"EventMessageFile", REG_EXPAND_SZ, before,
                                static_cast<DWORD>((wcslen(before) + 1) * sizeof(wchar_t))),
                ERROR_SUCCESS);
    }
    Win32EventLog log(files);
    log.Report(EventLevel::Information, kEventAttach,
               "Printer \"Caf\xc3\xa9 \xce\xa9\": port LPT1: -> QuorvinPDF:");
    DWORD type = REG_NONE;
    EXPECT_EQ(Value(kEventMessageFile, &type), own);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(Value(kEventTypesSupported, &type), L"7");
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  }
}

TEST(Win32EventMessages, BothProgramsShowTheEventTextForEveryEventId) {
  const std::wstring text =
      L"Printer \"Caf\u00e9 \u03a9\": port LPT1: -> QuorvinPDF:\r\n\r\n"
      L"Outcome: Done. 100% %2";
  for (const wchar_t* program : {L"QuorvinConfig.exe", L"QuorvinConfigCmd.exe"}) {
    SCOPED_TRACE(win32::Narrow(program, CP_UTF8));
    const std::wstring path = win32::Widen(QV_PROGRAMS_FOLDER, CP_UTF8) + L"/" + program;
    const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << GetLastError();
    for (const DWORD id : {kEventAttach, kEventInstall, kEventDetach, kEventPdfPort, kEventOptions,
                           kEventGhostscriptPath}) {
      const DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(text.c_str())};
      wchar_t shown[512] = {};
      const DWORD length =
          FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, module, id, 0,
                         shown, sizeof shown / sizeof *shown,
                         reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(inserts)));
      EXPECT_EQ(std::wstring(shown, length), text + L"\r\n") << id;
    }
    FreeLibrary(module);
  }
}

}  // namespace
}  // namespace qv::testing
