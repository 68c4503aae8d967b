#include "about/about.h"

#include <string>

namespace qv {

constexpr int kSwShow = 5;

const std::vector<ControlEntry>& AboutWindowControls() {
  using K = ControlKind;
  using F = FontKind;
  // The maker's lines are our own texts, longer than the designed labels
  // (206, 123 and 113 pixels): those labels take the width of their text.
  static const std::vector<ControlEntry> controls = {
      {"Image1", kIdAboutImage1, K::Image, 8, 8, 32, 32, ""},
      {"Label1", kIdAboutLabel1, K::Label, 48, 8, 113, 16, "Quorvin PDF", -1, nullptr,
       F::AboutTitle},
      {"Label2", kIdAboutLabel2, K::Label, 48, 27, 59, 13, kAboutVersion},
      {"Label6", kIdAboutLabel6, K::Label, 176, 10, 133, 15, "POWERED BY GHOSTSCRIPT", -1, nullptr,
       F::Credit},
      {"Label5", kIdAboutLabel5, K::Label, 184, 26, 113, 13, "( A GhostScript Plug-In )"},
      {"Label3", kIdAboutLabel3, K::Label, 7, 53, 0, 13, kMakerRights},
      {"Label4", kIdAboutLabel4, K::LinkLabel, 8, 72, 0, 13, kMakerWebLabel, -1, nullptr, F::Link},
      {"Label7", kIdAboutLabel7, K::LinkLabel, 8, 88, 0, 13, kMakerSupportAddress, -1, nullptr,
       F::Link},
      {"LMDButton1", kIdAboutLMDButton1, K::DefaultButton, 232, 80, 75, 25, "OK", 0},
  };
  return controls;
}

void TfrmAbout::FormActivate() {
  controls_.Label2.SetText(kAboutVersion);
}

void TfrmAbout::LMDButton1Click() {
  if (closeWindow) closeWindow();
}

void TfrmAbout::Label4Click() {
  OpenLink(processes_, ownerWindow, {"open", kMakerWebHost, "", "", kSwShow});
}

void TfrmAbout::Label7Click() {
  OpenLink(processes_, ownerWindow,
           {"open", std::string("mailto:") + kMakerSupportAddress, "", "", kSwShow});
}

}  // namespace qv
