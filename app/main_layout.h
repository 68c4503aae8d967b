// The main window's controls as data (the control table's description):
// their identifiers, the window's caption and size, and the table itself.
#pragma once

#include <vector>

#include "ui/control_table.h"

namespace qv {

// Control identifiers. They start above IDOK/IDCANCEL, which the dialog
// manager sends for Enter and Esc.
enum MainControlId : int {
  kIdImage1 = 100,
  kIdLabel5,
  kIdLabel3,
  kIdLMDButton2,  // Fix PDF Port
  kIdLabel6,
  kIdEdit5,
  kIdLMDButton5,  // Change (gswin32c.exe)
  kIdLabel4,
  kIdEdit6,
  kIdLMDButton6,  // Change (gsdll32.dll)
  kIdLabel1,
  kIdComboBox1,
  kIdLMDButton1,  // Add
  kIdLMDButton9,  // Query New Printers
  kIdLabel2,
  kIdListBox1,
  kIdLMDButton10,  // Query Printers Monitored
  kIdGroupBox1,
  kIdLMDButton7,  // About
  kIdLMDButton3,  // Exit
  kIdLabel7,
  kIdEdit2,
  kIdLabel8,
  kIdEdit3,
  kIdLMDButton4,  // Change (default PDF file and folder)
  kIdLabel9,
  kIdEdit4,
  kIdLabel10,
  kIdLabel11,
  kIdCheckBox1,
  kIdCheckBox2,
  kIdCheckBox3,
  kIdSaveChangesBtn,
  kIdInstallPsDriverBtn,
};

// The main window: caption, outer size at 96 DPI.
constexpr const char* kMainWindowCaption = "Quorvin PDF - Configuration Tool";
constexpr int kMainWindowWidth = 752;
constexpr int kMainWindowHeight = 460;

// Every control of the main window, in table order.
const std::vector<ControlEntry>& MainWindowControls();

}  // namespace qv
