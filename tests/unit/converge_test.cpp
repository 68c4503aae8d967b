// The console's change commands as configuration engines run them: set's
// refusals of what the distiller can never use, --check, which predicts
// without touching anything, --json, and commands that change only what
// differs.
#include <gtest/gtest.h>

#include "config/registry_layout.h"
#include "console/console.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

using fakes::FakeWorld;
namespace L = layout;

class CapturedOutput : public IConsoleOutput {
 public:
  std::string out, err;
  void Write(Stream s, const std::string& text) override { (s == Stream::Out ? out : err) += text; }
  void WriteUtf8(Stream s, const std::string& text) override { Write(s, text); }
  void WriteUtf8Text(Stream s, const std::string& text) override { Write(s, text); }
  std::string ToUtf8(const std::string& text) override { return fakes::Latin1ToUtf8(text); }
};

class Converge : public ::testing::Test {
 protected:
  Converge() { w.files.files = {"C:\\Pkg\\qvpdfrun.exe", "C:\\Pkg\\QVPDFDistiller.exe"}; }
  int Run(const std::vector<std::string>& args) {
    output.out.clear();
    output.err.clear();
    return RunConsole(args, services);
  }
  FakeWorld w;
  CapturedOutput output;
  ConsoleServices services{w.platform, output};
};

TEST_F(Converge, SetRefusesWhatTheDistillerCanNeverUseAndWritesNothing) {
  const std::string longName(260, 'a');
  const struct {
    std::string assignment;
    std::string err;  // after "Argument 2: "
  } refused[] = {
      {"defaultPDFFile=a/b:c*?.pdf",
       "defaultPDFFile holds \"/\", which Windows does not allow in a file name."},
      {"defaultPDFFile=a<b",
       "defaultPDFFile holds \"<\", which Windows does not allow in a file name."},
      {"defaultPDFFile=a|b",
       "defaultPDFFile holds \"|\", which Windows does not allow in a file name."},
      {"defaultPDFFile=a\\b.pdf",
       "defaultPDFFile holds \"\\\", which Windows does not allow in a file name."},
      {"defaultPDFFile=a\tb.pdf",
       "defaultPDFFile holds a control character, which Windows does not allow in a file name."},
      {"defaultPDFFile=", "defaultPDFFile is empty: the PDF needs a file name."},
      {"defaultPDFFile=" + longName,
       "defaultPDFFile is 260 characters long; Windows takes at most 259."},
      {"defaultPDFAppend=Copy>",
       "defaultPDFAppend holds \">\", which Windows does not allow in a file name."},
      {"defaultPDFAppend=a,b",
       "defaultPDFAppend holds a comma, which the window warns against in this text."},
      {"defaultPDFAppend=\x1f",
       "defaultPDFAppend holds a control character, which Windows does not allow in a file name."},
      {"defaultPDFDir=", "defaultPDFDir is empty: the PDF needs a folder."},
      {"defaultPDFDir=PDFs",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=C:PDFs",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=\\PDFs",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=\\\\server",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=\\\\server\\",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=\\\\\\share",
       "defaultPDFDir is not a full path: start it with a drive letter and a backslash (C:\\), or "
       "with \\\\server\\share."},
      {"defaultPDFDir=C:\\a:b",
       "defaultPDFDir holds \":\", which Windows does not allow in a folder name."},
      {"defaultPDFDir=\\\\srv\\s?",
       "defaultPDFDir holds \"?\", which Windows does not allow in a folder name."},
      {"defaultPDFDir=C:\\a/b",
       "defaultPDFDir holds \"/\", which Windows does not allow in a folder name."},
      {"defaultPDFDir=C:\\a\rb",
       "defaultPDFDir holds a control character, which Windows does not allow in a folder name."},
      {"GS_DLL=C:\\" + longName, "GS_DLL is 263 characters long; Windows takes at most 259."},
  };
  for (const auto& r : refused) {
    EXPECT_EQ(Run({"set", r.assignment, "promptPDF=1"}), 2) << r.assignment;
    EXPECT_EQ(output.err, "Argument 2: " + r.err + "\n");
    EXPECT_EQ(w.registry.WriteCount(), 0);
  }
  // The second argument is counted as the second.
  EXPECT_EQ(Run({"set", "promptPDF=1", "defaultPDFFile=*"}), 2);
  EXPECT_EQ(output.err.substr(0, 27), "Argument 3: defaultPDFFile ");

  // What any of them may hold; a double-byte character's second byte is
  // no backslash, and 259 characters are not too long.
  w.files.codePage = 932;
  const std::string kanji = "\x95\x5c";  // its second byte reads as '\'
  for (const std::string& usable :
       {"defaultPDFFile=" + std::string(255, 'f') + ".pdf", "defaultPDFFile=" + kanji + ".pdf",
        std::string("defaultPDFAppend="), std::string("defaultPDFAppend=Copy (2)"),
        std::string("defaultPDFDir=C:\\"), std::string("defaultPDFDir=d:\\PDFs\\Ann"),
        std::string("defaultPDFDir=\\\\srv\\share"), "defaultPDFDir=\\\\srv\\" + kanji,
        std::string("GS_DLL=")}) {
    EXPECT_EQ(Run({"set", usable}), 0) << usable << output.err;
  }
}

}  // namespace
}  // namespace qv
