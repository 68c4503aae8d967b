// export's file: written whole or not at all, and a failure names it.
#include <gtest/gtest.h>

#include "console/console.h"
#include "tests/fakes/fake_platform.h"

namespace qv {
namespace {

TEST(Export, TheOldFileStaysUnlessTheNewOneIsWholeAndAFailureNamesThePath) {
  const std::string kOld = "an export that stood before";
  struct Case {
    const char* name;
    const char* file;
    const char* failure;  // the system's text for a write that fails halfway
    int exitCode;
    const char* out;
    const char* err;
    bool replaced;
  };
  const Case cases[] = {
      {"written", "C:\\fleet.reg", "", 0, "Exported to C:\\fleet.reg.\n", "", true},
      {"disk full", "C:\\fleet.reg", "There is not enough space on the disk", 1, "",
       "Could not write C:\\fleet.reg.\nSystem Error.  Code: 112.\n"
       "There is not enough space on the disk.\n",
       false},
      {"empty name", "", "", 2, "", "\"export\" needs a file name, not an empty one.\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::FakeWorld w;
    fakes::FakeOutput output;
    ConsoleServices services{w.platform, output};
    w.files.written[c.file] = kOld;
    w.files.writeFailure = c.failure;
    EXPECT_EQ(RunConsole(std::vector<std::string>{"export", c.file}, services), c.exitCode);
    EXPECT_EQ(output.out, c.out);
    EXPECT_EQ(output.err, c.err);
    EXPECT_EQ(w.files.written[c.file] != kOld, c.replaced);
    EXPECT_EQ(w.files.written.size(), 1u);
  }
}

}  // namespace
}  // namespace qv
