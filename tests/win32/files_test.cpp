// File existence, the program's own path and the desktop folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/errors.h"
#include "platform/win32/win_files.h"
#include "platform/win32/win_util.h"

namespace qv::testing {
namespace {

class Win32Files : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    dir_ = std::string(temp) + "qvfiles_" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  }
  void TearDown() override {
    for (const auto& file : made_) DeleteFileA(file.c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  // A new file, its last-write time set to the given year when not 0.
  std::string MakeFile(const std::string& name, WORD year = 0) {
    const std::string path = dir_ + "\\" + name;
    win32::UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_NE(file.get(), INVALID_HANDLE_VALUE);
    if (file.get() == INVALID_HANDLE_VALUE) {
      file.release();
      return path;
    }
    made_.push_back(path);
    if (year != 0) {
      SYSTEMTIME when{};
      when.wYear = year;
      when.wMonth = 6;
      when.wDay = 1;
      FILETIME time{};
      EXPECT_TRUE(SystemTimeToFileTime(&when, &time));
      EXPECT_TRUE(SetFileTime(file.get(), &time, &time, &time));
    }
    return path;
  }
  std::string dir_;
  std::vector<std::string> made_;
  Win32FileSystem files_;
};

TEST_F(Win32Files, OnlyExistingEntriesThatAreNotFoldersExist) {
  EXPECT_TRUE(files_.FileExists(MakeFile("gsdll32.dll")));
  EXPECT_FALSE(files_.FileExists(dir_));
  EXPECT_FALSE(files_.FileExists(dir_ + "\\missing.exe"));
  EXPECT_FALSE(files_.FileExists(""));
  // Only the exact name: wildcards, as a lossy conversion leaves them,
  // name no file even where one would match.
  for (const char* name : {"gsdll3?.dll", "gs*.dll", "?sdll32.dll", "*"}) {
    EXPECT_FALSE(files_.FileExists(dir_ + "\\" + name)) << name;
  }
}

TEST_F(Win32Files, TimeStampsOutsideTheDosRangeDoNotMatter) {
  EXPECT_TRUE(files_.FileExists(MakeFile("old.exe", 1970)));
  EXPECT_TRUE(files_.FileExists(MakeFile("future.exe", 2150)));
}

TEST_F(Win32Files, RelativeNamesAreLookedUpInTheCurrentDirectory) {
  MakeFile("here.txt");
  char previous[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(sizeof previous, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));
  EXPECT_TRUE(files_.FileExists("here.txt"));
  EXPECT_FALSE(files_.FileExists("there.txt"));
  SetCurrentDirectoryA(previous);
}

TEST_F(Win32Files, PathsSplitWholeCharactersOfTheCodePage) {
  // "\x83\x5C" is one character of code page 932; its second byte is the
  // backslash's.
  const std::string path = "D:\\out\\\x83\x5C.pdf";
  Win32FileSystem japanese(932);
  EXPECT_EQ(ExtractFileName(path, japanese), "\x83\x5C.pdf");
  EXPECT_EQ(ExtractFilePath(path, japanese), "D:\\out\\");
  Win32FileSystem western(1252);
  EXPECT_EQ(ExtractFileName(path, western), ".pdf");
}

TEST_F(Win32Files, WritingReplacesTheFileWholeOrKeepsItAndRaisesTheSystemText) {
  const std::string path = dir_ + "\\export.reg";
  files_.WriteFile(path, "old content");
  // The bytes as they are: a byte-order mark, NULs, no line ends added.
  const std::string bytes("\xff\xfeW\0\r\0\n\0\n", 9);
  files_.WriteFile(path, bytes);
  made_.push_back(path);
  char text[32] = {};
  DWORD got = 0;
  win32::UniqueHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
  ReadFile(file.get(), text, sizeof text, &got, nullptr);
  EXPECT_EQ(std::string(text, got), bytes);
  // A target that cannot be replaced (open in a program that does not
  // share its deletion) keeps what it held, and the finished temporary
  // file is removed again: the folder holds the target alone.
  EXPECT_THROW(files_.WriteFile(path, "new content"), ESystemError);
  file.reset();
  std::string kept;
  EXPECT_TRUE(files_.ReadBytes(path, 0, 64, &kept));
  EXPECT_EQ(kept, bytes);
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA((dir_ + "\\*.tmp").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  try {
    files_.WriteFile(dir_ + "\\missing\\export.reg", "x");
    FAIL() << "no error";
  } catch (const ESystemError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("System Error.  Code: 3.\r\n", 0), 0u) << e.what();
  }
}

TEST_F(Win32Files, LibrariesComeFromTheSystemFolderOnly) {
  // A library planted in the current folder loads until the search is
  // restricted, as every entry point does first.
  char system[MAX_PATH + 1] = {};
  GetSystemDirectoryA(system, sizeof system);
  const std::string planted = dir_ + "\\qvplanted.dll";
  ASSERT_TRUE(CopyFileA((std::string(system) + "\\version.dll").c_str(), planted.c_str(), FALSE));
  made_.push_back(planted);
  char previous[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(sizeof previous, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));
  HMODULE before = LoadLibraryA("qvplanted.dll");
  EXPECT_NE(before, nullptr);
  if (before != nullptr) FreeLibrary(before);
  win32::RestrictDllSearchToSystem();
  HMODULE after = LoadLibraryA("qvplanted.dll");
  EXPECT_EQ(after, nullptr);
  if (after != nullptr) FreeLibrary(after);
  SetCurrentDirectoryA(previous);
}

TEST_F(Win32Files, TheProgramAndTheDesktopAreFound) {
  const std::string self = files_.OwnExecutablePath().value_or("");
  ASSERT_GT(self.size(), 4u);
  EXPECT_EQ(self.substr(self.size() - 4), ".exe");
  EXPECT_TRUE(files_.FileExists(self));

  const std::string desktop = files_.DesktopFolder().value_or("");
  ASSERT_FALSE(desktop.empty());
  const DWORD attributes = GetFileAttributesA(desktop.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << desktop;
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);

  char system[MAX_PATH + 1] = {};
  GetSystemDirectoryA(system, sizeof system);
  EXPECT_EQ(files_.SystemFolder(), system);
  EXPECT_TRUE(files_.FileExists(SystemProgram(files_, "net.exe")));
}

}  // namespace
}  // namespace qv::testing
