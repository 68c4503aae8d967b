// TfrmAbout: the About window's logic and controls. The product name,
// version, the Ghostscript credit, the maker's rights line and two links
// (the maker's web site and a new mail to its support address).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/process.h"
#include "ui/control_table.h"
#include "ui/controls.h"

namespace qv {

constexpr const char* kAboutCaption = "About";
constexpr int kAboutClientWidth = 314;
constexpr int kAboutClientHeight = 111;

constexpr const char* kAboutVersion = "Version 1.01";
constexpr const char* kMakerRights = "Copyright (C) 2026 Hollisfield. All rights reserved.";
constexpr const char* kMakerWebLabel = "http://www.hollisfield.example";
constexpr const char* kMakerWebHost = "www.hollisfield.example";
constexpr const char* kMakerSupportAddress = "support@hollisfield.example";

enum AboutControlId : int {
  kIdAboutImage1 = 200,
  kIdAboutLabel1,
  kIdAboutLabel2,
  kIdAboutLabel6,
  kIdAboutLabel5,
  kIdAboutLabel3,
  kIdAboutLabel4,      // web site link
  kIdAboutLabel7,      // support mail link
  kIdAboutLMDButton1,  // OK
};

// Every control of the About window.
const std::vector<ControlEntry>& AboutWindowControls();

struct AboutFormControls {
  ITextControl& Label2;  // the version line
};

class TfrmAbout {
 public:
  TfrmAbout(IProcessRunner& processes, const AboutFormControls& controls)
      : processes_(processes), controls_(controls) {}

  // Set by the window: hide the window, and the window the shell's links
  // are opened for.
  std::function<void()> closeWindow;
  std::uintptr_t ownerWindow = 0;

  void FormActivate();     // each time the window becomes active
  void LMDButton1Click();  // OK
  void Label4Click();      // the web site
  void Label7Click();      // a new mail to support

 private:
  IProcessRunner& processes_;
  AboutFormControls controls_;
};

}  // namespace qv
