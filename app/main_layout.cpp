#include "app/main_layout.h"

namespace qv {

namespace {

constexpr const char* kGroup = "GroupBox1";
constexpr int kNone = -1;

using K = ControlKind;
using F = FontKind;

}  // namespace

const std::vector<ControlEntry>& MainWindowControls() {
  static const std::vector<ControlEntry> controls = {
      {"Image1", kIdImage1, K::Image, 16, 8, 32, 32, ""},
      {"Label5", kIdLabel5, K::Label, 56, 12, 413, 29, "Quorvin PDF Configuration Tool", kNone,
       nullptr, F::Title},
      {"Label3", kIdLabel3, K::Label, 512, 32, 127, 13, "Problems with PDF printer?"},
      {"LMDButton2", kIdLMDButton2, K::Button, 648, 24, 75, 25, "Fix PDF Port", 12},
      {"Label6", kIdLabel6, K::Label, 16, 56, 105, 13, "gswin32c.exe location"},
      {"Edit5", kIdEdit5, K::ReadOnlyEdit, 16, 72, 369, 21, "", 8},
      {"LMDButton5", kIdLMDButton5, K::Button, 392, 72, 75, 25, "Change", 9},
      {"Label4", kIdLabel4, K::Label, 16, 104, 86, 13, "gsdll32.dll location"},
      {"Edit6", kIdEdit6, K::ReadOnlyEdit, 16, 120, 369, 21, "", 10},
      {"LMDButton6", kIdLMDButton6, K::Button, 392, 120, 75, 25, "Change", 11},
      {"Label1", kIdLabel1, K::Label, 16, 152, 77, 13, "Installed Printers"},
      {"ComboBox1", kIdComboBox1, K::DropDownList, 16, 168, 225, 21, "", 0},
      {"LMDButton1", kIdLMDButton1, K::Button, 248, 168, 75, 25, "Add", 2},
      {"LMDButton9", kIdLMDButton9, K::Button, 328, 168, 137, 25, "Query New Printers", 6},
      {"Label2", kIdLabel2, K::Label, 16, 200, 146, 13, "PDF Printers being monitored..."},
      {"ListBox1", kIdListBox1, K::ListBox, 16, 216, 449, 169, "", 1},
      {"LMDButton10", kIdLMDButton10, K::Button, 16, 392, 137, 25, "Query Printers Monitored", 7},
      {"GroupBox1", kIdGroupBox1, K::GroupBox, 480, 64, 249, 321, "Options", 4},
      {"LMDButton7", kIdLMDButton7, K::Button, 576, 392, 75, 25, "About", 5},
      {"LMDButton3", kIdLMDButton3, K::Button, 656, 392, 75, 25, "Exit", 3},

      {"Label7", kIdLabel7, K::Label, 16, 24, 103, 13, "Default PDF Filename", kNone, kGroup},
      {"Edit2", kIdEdit2, K::ReadOnlyEdit, 16, 40, 217, 21, "", 0, kGroup},
      {"Label8", kIdLabel8, K::Label, 16, 72, 144, 13, "Default PDF SaveTo Directory", kNone,
       kGroup},
      {"Edit3", kIdEdit3, K::ReadOnlyEdit, 16, 88, 217, 21, "", 1, kGroup},
      {"LMDButton4", kIdLMDButton4, K::Button, 16, 120, 75, 25, "Change", 2, kGroup},
      {"Label9", kIdLabel9, K::Label, 16, 152, 200, 13,
       "If default PDF filename exists, append with", kNone, kGroup},
      {"Edit4", kIdEdit4, K::Edit, 16, 168, 217, 21, "Copy", 4, kGroup},
      {"Label10", kIdLabel10, K::Label, 16, 192, 213, 13,
       "filename will also be appended with a number", kNone, kGroup},
      {"Label11", kIdLabel11, K::Label, 16, 208, 211, 13,
       "Do not use special characters (, or / or \\ etc)", kNone, kGroup},
      {"CheckBox1", kIdCheckBox1, K::CheckBox, 16, 224, 209, 17, "Prompt me to save each PDF file",
       3, kGroup},
      {"CheckBox2", kIdCheckBox2, K::CheckBox, 16, 240, 209, 17,
       "Display confirmation on PDF creation", 7, kGroup},
      {"CheckBox3", kIdCheckBox3, K::CheckBox, 16, 256, 225, 17,
       "Launch default PDF application on create", 8, kGroup},
      {"savechangesBtn", kIdSaveChangesBtn, K::Button, 16, 280, 97, 25, "Save Changes", 6, kGroup},
      {"installpsdriverBtn", kIdInstallPsDriverBtn, K::Button, 136, 280, 97, 25,
       "Install PS Driver", 5, kGroup},
  };
  return controls;
}

}  // namespace qv
