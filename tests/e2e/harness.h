// Drives the real program from outside, as a person would: finds its
// windows by process, waits for them, reads their controls, presses
// buttons and answers message boxes. Registry values are read back with
// the system's own reg.exe, an independent reader.
//
//   e2e::Tool tool = e2e::Tool::Start();
//   e2e::MessageBoxWindow box = tool.WaitMessageBox();
//   EXPECT_EQ(box.Text(), "...");
//   box.Press("OK");
//   e2e::Window main = tool.WaitMainWindow();
#pragma once

#include "harness_programs.h"
#include "harness_registry.h"
#include "harness_windows.h"
