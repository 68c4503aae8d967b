// Portable pieces of the platform layer: the error display's text rule,
// path splitting, the printer service and the dialog argument helpers.
#include <gtest/gtest.h>

#include "platform/commands.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/printers.h"
#include "platform/process.h"
#include "tests/fakes/fake_platform.h"
#include "ui/dialogs.h"

namespace qv {
namespace {

TEST(ErrorDisplay, AppendsAPeriodOnlyAfterCharactersAboveThePeriod) {
  EXPECT_EQ(ErrorDisplayText("Failed to set data for 'Port'"), "Failed to set data for 'Port'");
  EXPECT_EQ(ErrorDisplayText("Failed to create key SYSTEM\\X"), "Failed to create key SYSTEM\\X.");
  EXPECT_EQ(ErrorDisplayText("There is no default printer currently selected"),
            "There is no default printer currently selected.");
  for (const char* kept : {"a)", "a,", "a-", "a!", "a ", "a.", ""}) {
    EXPECT_EQ(ErrorDisplayText(kept), kept);
  }
  for (const char* extended : {"a7", "a:", "a?", "a/"}) {
    EXPECT_EQ(ErrorDisplayText(extended), std::string(extended) + ".");
  }
  EXPECT_EQ(ErrorDisplayText("caf\xE9"), "caf\xE9.");  // codes above 127 count as above
}

TEST(ErrorDisplay, CommandBoundaryShowsErrorsWithTheTitleAndErrorIcon) {
  fakes::FakeDialogs dialogs;
  CommandDispatcher commands([&dialogs](const std::exception& e) { ShowException(dialogs, e); });
  EXPECT_TRUE(commands.Execute([] { throw ERegistryException("Failed to create key X"); }));
  EXPECT_TRUE(commands.Execute([] { throw std::runtime_error("odd"); }));
  EXPECT_TRUE(fakes::BoxesShown(
      dialogs, {fakes::ErrorBox("Failed to create key X."), fakes::ErrorBox("odd.")}));
}

TEST(CommandBoundary, HoldsBackCommandsAndDefersCloseWhileBusy) {
  fakes::FakeDialogs dialogs;
  CommandDispatcher commands([&dialogs](const std::exception& e) { ShowException(dialogs, e); });
  int inner = 0, closed = 0;
  commands.Execute([&] {
    EXPECT_FALSE(commands.Execute([&] { ++inner; }));
    commands.RequestClose([&] { ++closed; });
    EXPECT_EQ(closed, 0);
  });
  EXPECT_EQ(inner, 0);
  EXPECT_EQ(closed, 1);
  commands.RequestClose([&] { ++closed; });
  EXPECT_EQ(closed, 2);
}

TEST(Paths, SplitAtTheLastBackslashOrColonOfTheCodePage) {
  // "\x83\x5C" is one character in code page 932, whose second byte reads
  // as a backslash elsewhere; "\xB1\x5C" is one in 936.
  struct Case {
    unsigned codePage;
    const char* path;
    const char* folder;
    const char* name;
  };
  const Case cases[] = {
      {1252, "C:\\a\\b.dll", "C:\\a\\", "b.dll"},
      {1252, "b.dll", "", "b.dll"},
      {1252, "D:report.pdf", "D:", "report.pdf"},
      {1252, "C:/x/y.pdf", "C:", "/x/y.pdf"},  // the forward slash is no separator
      {1252, "C:\\dir\\", "C:\\dir\\", ""},
      {1252, "D:\\out\\\x83\x5C.pdf", "D:\\out\\\x83\\", ".pdf"},
      {932, "D:\\out\\\x83\x5C.pdf", "D:\\out\\", "\x83\x5C.pdf"},
      {932, "D:\\\x83\x5C\\x.pdf", "D:\\\x83\x5C\\", "x.pdf"},
      {932, "D:\\out\\\x83", "D:\\out\\", "\x83"},  // a lead byte at the end
      {936, "E:\\\xB1\x5C", "E:\\", "\xB1\x5C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.codePage) + " " + c.path);
    fakes::FakeFiles files;
    files.codePage = c.codePage;
    EXPECT_EQ(ExtractFilePath(c.path, files), c.folder);
    EXPECT_EQ(ExtractFileName(c.path, files), c.name);
  }
  // A character of the set is never the second byte of a double-byte one,
  // nor a NUL.
  fakes::FakeFiles files;
  files.codePage = 932;
  EXPECT_EQ(FindFirstCharacter(std::string("\x83\x5C\0\\", 4), "\\", files), 3u);
}

// The machine of a PE header; anything malformed is no machine at all.
// The Windows tests read real libraries the same way.
TEST(Paths, PeMachineOfWellFormedImagesOnly) {
  const std::string x86 = fakes::PeImage(kMachineX86), x64 = fakes::PeImage(kMachineAmd64);
  std::string farHeader = x86;
  farHeader[0x3D] = '\x10';  // e_lfanew past the end
  std::string noSignature = x64, lateSignature = x64, farAbove = x86, notMz = x86;
  noSignature[0x81] = 'X';
  lateSignature[0x83] = 'X';
  farAbove[0x3F] = '\x01';  // e_lfanew's high byte
  notMz[1] = 'X';
  // The smallest image: its PE header right after the DOS header.
  std::string packed = x64.substr(0, 0x40) + x64.substr(0x80);
  packed[0x3C] = '\x40';
  const std::pair<std::string, std::uint16_t> cases[] = {
      {x86, kMachineX86},
      {x64, kMachineAmd64},
      {fakes::PeImage(kMachineArm64), kMachineArm64},
      {packed, kMachineAmd64},
      {x86.substr(0, 0x84), 0},    // truncated in the header
      {x86.substr(0, 0x85), 0},    // half a machine field
      {x86.substr(0, 40), 0},      // truncated in the DOS header
      {std::string(200, 'a'), 0},  // a text file
      {"", 0},
      {farHeader, 0},
      {noSignature, 0},
      {lateSignature, 0},
      {farAbove, 0},
      {notMz, 0},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    fakes::FakeFiles files;
    files.files = {"C:\\lib.dll"};
    files.contents["C:\\lib.dll"] = cases[i].first;
    EXPECT_EQ(PeMachine(files, "C:\\lib.dll"), cases[i].second) << "case " << i;
  }
  fakes::FakeFiles none;
  EXPECT_EQ(PeMachine(none, "C:\\missing.dll"), 0);
}

// A path from the wide API: exact, else its short form, else refused.
TEST(Paths, ExactShortOrRefused) {
  struct Case {
    const char* longPath;
    bool longExact;
    const char* shortPath;
    bool shortExact;
    std::optional<std::string> chosen;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Pkg", true, "C:\\PROGRA~1\\Pkg", true, "C:\\Program Files\\Pkg"},
      // An exact path: Windows' half asks for no short form.
      {"C:\\Program Files\\Pkg", true, "", false, "C:\\Program Files\\Pkg"},
      {"C:\\Program Files\\?mega PDF", false, "C:\\PROG~FBU\\_MEG~ZOF", true,
       "C:\\PROG~FBU\\_MEG~ZOF"},
      // No short names on this volume: the long path comes back, inexact.
      {"C:\\Program Files\\?mega PDF", false, "C:\\Program Files\\?mega PDF", false, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChoosePath(c.longPath, c.longExact, c.shortPath, c.shortExact), c.chosen)
        << c.longPath << " / " << c.shortPath;
  }
}

TEST(PrinterService, EntriesInRangeOnlyAndCachedUntilRefreshed) {
  fakes::FakePrinters backend;
  backend.names = {"Office PS", "\\\\server\\Shared"};
  PrinterService printers(backend);
  EXPECT_EQ(printers.Entry(1).name, "\\\\server\\Shared");
  try {
    printers.Entry(2);
    FAIL();
  } catch (const EPrinter& e) {
    EXPECT_STREQ(e.what(), "Printer index out of range");
  }
  EXPECT_THROW(printers.Entry(-1), EPrinter);
  printers.Printers();
  EXPECT_EQ(backend.enumerations, 1);
  backend.names = {"Only"};
  printers.Refresh();
  EXPECT_EQ(printers.Printers().size(), 1u);
  EXPECT_EQ(backend.enumerations, 2);
}

TEST(DialogArguments, FilterAndInitialFolderAsTheSystemTakesThem) {
  static const char kExpected[] = "PDF Files (*.pdf)\0*.pdf\0All Files (*.*)\0*.*\0";
  EXPECT_EQ(FilterForSystem("PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*"),
            std::string(kExpected, sizeof kExpected));
  EXPECT_EQ(InitialDirForSystem("C:\\Pkg\\"), "C:\\Pkg");
  EXPECT_EQ(InitialDirForSystem("C:\\"), "C:\\");
  EXPECT_EQ(InitialDirForSystem("C:\\Pkg"), "C:\\Pkg");
  EXPECT_EQ(InitialDirForSystem(""), "");

  // A file dialog is centred across its monitor, its top at a third of the
  // free height; a second monitor lies left of and above the first.
  const struct {
    ScreenRect monitor;
    int width, height, x, y;
  } placements[] = {
      {{0, 0, 1280, 1024}, 600, 400, 340, 208},
      {{-1920, -200, 0, 880}, 600, 401, -1260, 26},
      {{0, 0, 800, 600}, 900, 700, 0, 0},
  };
  for (const auto& p : placements) {
    const ScreenPoint at = FileDialogPosition(p.monitor, p.width, p.height);
    EXPECT_EQ(at.x, p.x);
    EXPECT_EQ(at.y, p.y);
  }
}

TEST(SystemText, TrailingBlanksLineBreaksAndPeriodsAreRemoved) {
  EXPECT_EQ(TrimSystemText("The system cannot find the file specified.\r\n"),
            "The system cannot find the file specified");
  EXPECT_EQ(TrimSystemText(" . \r\n"), "");
  EXPECT_EQ(SystemErrorMessage(5, "Access is denied"),
            "System Error.  Code: 5.\r\nAccess is denied");
}

}  // namespace
}  // namespace qv
