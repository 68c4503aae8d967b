// Drives the real program from outside, as a person would: finds its
// windows by process, waits for them, reads their controls, presses
// buttons and answers message boxes. Registry values are read back with
// the system's own reg.exe, an independent reader.
//
//   e2e::Tool tool = e2e::Tool::Start();
//   tool.AnswerMessageBox({"Caption", "Text", "red", {"OK"}});
//   e2e::Window main = tool.WaitMainWindow();
//   e2e::Exit(tool, main);
//
// Most tests derive their fixture from e2e::ToolTest, which starts the
// tool for them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "harness_programs.h"
#include "harness_registry.h"
#include "harness_windows.h"

namespace e2e {

// Presses the main window's Exit, with no message box open, and waits for
// the program to end.
void Exit(const Tool& tool, const Window& main);

// The world most tests start from: Ghostscript planted (PlantGhostscript)
// and the tool started with its main window up, no question asked on the
// way. A tool still running at the end leaves through its Exit button,
// with no message box left over. Launch::kNone plants the world only: for
// tests of the console program, or tests that start the tool themselves.
class ToolTest : public ::testing::Test {
 protected:
  enum class Launch { kWindow, kNone };
  explicit ToolTest(Launch launch = Launch::kWindow) : launch_(launch) {}
  void SetUp() override;
  void TearDown() override;

  // Starts the tool, in folder when one is given, and waits for its main
  // window; fails the test when it does not come up or a question came
  // first.
  void Start(const std::string& folder = "");
  std::unique_ptr<Tool> tool_;
  Window main_;

 private:
  Launch launch_;
};

}  // namespace e2e
