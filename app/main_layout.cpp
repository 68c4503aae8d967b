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
      {"Image1", kIdImage1, K::Image, 16, 8, 32, 32, "", kNone, nullptr, F::Normal},
      {"Label5", kIdLabel5, K::Label, 56, 12, 413, 29, "Quorvin PDF Configuration Tool", kNone,
       nullptr, F::Title},
      {"Label3", kIdLabel3, K::Label, 512, 32, 127, 13, "Problems with PDF printer?", kNone,
       nullptr, F::Normal},
      {"LMDButton2", kIdLMDButton2, K::Button, 648, 24, 75, 25, "Fix PDF Port", 12, nullptr,
       F::Normal},
      {"Label6", kIdLabel6, K::Label, 16, 56, 105, 13, "gswin32c.exe location", kNone, nullptr,
       F::Normal},
      {"Edit5", kIdEdit5, K::ReadOnlyEdit, 16, 72, 369, 21, "", 8, nullptr, F::Normal},
      {"LMDButton5", kIdLMDButton5, K::Button, 392, 72, 75, 25, "Change", 9, nullptr, F::Normal},
      {"Label4", kIdLabel4, K::Label, 16, 104, 86, 13, "gsdll32.dll location", kNone, nullptr,
       F::Normal},
      {"Edit6", kIdEdit6, K::ReadOnlyEdit, 16, 120, 369, 21, "", 10, nullptr, F::Normal},
      {"LMDButton6", kIdLMDButton6, K::Button, 392, 120, 75, 25, "Change", 11, nullptr, F::Normal},
      {"Label1", kIdLabel1, K::Label, 16, 152, 77, 13, "Installed Printers", kNone, nullptr,
       F::Normal},
      {"ComboBox1", kIdComboBox1, K::DropDownList, 16, 168, 225, 21, "", 0, nullptr, F::Normal},
      {"LMDButton1", kIdLMDButton1, K::Button, 248, 168, 75, 25, "Add", 2, nullptr, F::Normal},
      {"LMDButton9", kIdLMDButton9, K::Button, 328, 168, 137, 25, "Query New Printers", 6, nullptr,
       F::Normal},
      {"Label2", kIdLabel2, K::Label, 16, 200, 146, 13, "PDF Printers being monitored...", kNone,
       nullptr, F::Normal},
      {"ListBox1", kIdListBox1, K::ListBox, 16, 216, 449, 169, "", 1, nullptr, F::Normal},
      {"LMDButton10", kIdLMDButton10, K::Button, 16, 392, 137, 25, "Query Printers Monitored", 7,
       nullptr, F::Normal},
      {"GroupBox1", kIdGroupBox1, K::GroupBox, 480, 64, 249, 321, "Options", 4, nullptr, F::Normal},
      {"LMDButton7", kIdLMDButton7, K::Button, 576, 392, 75, 25, "About", 5, nullptr, F::Normal},
      {"LMDButton3", kIdLMDButton3, K::Button, 656, 392, 75, 25, "Exit", 3, nullptr, F::Normal},

      {"Label7", kIdLabel7, K::Label, 16, 24, 103, 13, "Default PDF Filename", kNone, kGroup,
       F::Normal},
      {"Edit2", kIdEdit2, K::ReadOnlyEdit, 16, 40, 217, 21, "", 0, kGroup, F::Normal},
      {"Label8", kIdLabel8, K::Label, 16, 72, 144, 13, "Default PDF SaveTo Directory", kNone,
       kGroup, F::Normal},
      {"Edit3", kIdEdit3, K::ReadOnlyEdit, 16, 88, 217, 21, "", 1, kGroup, F::Normal},
      {"LMDButton4", kIdLMDButton4, K::Button, 16, 120, 75, 25, "Change", 2, kGroup, F::Normal},
      {"Label9", kIdLabel9, K::Label, 16, 152, 200, 13,
       "If default PDF filename exists, append with", kNone, kGroup, F::Normal},
      {"Edit4", kIdEdit4, K::Edit, 16, 168, 217, 21, "Copy", 4, kGroup, F::Normal},
      {"Label10", kIdLabel10, K::Label, 16, 192, 213, 13,
       "filename will also be appended with a number", kNone, kGroup, F::Normal},
      {"Label11", kIdLabel11, K::Label, 16, 208, 211, 13,
       "Do not use special characters (, or / or \\ etc)", kNone, kGroup, F::Normal},
      {"CheckBox1", kIdCheckBox1, K::CheckBox, 16, 224, 209, 17, "Prompt me to save each PDF file",
       3, kGroup, F::Normal},
      {"CheckBox2", kIdCheckBox2, K::CheckBox, 16, 240, 209, 17,
       "Display confirmation on PDF creation", 7, kGroup, F::Normal},
      {"CheckBox3", kIdCheckBox3, K::CheckBox, 16, 256, 225, 17,
       "Launch default PDF application on create", 8, kGroup, F::Normal},
      {"savechangesBtn", kIdSaveChangesBtn, K::Button, 16, 280, 97, 25, "Save Changes", 6, kGroup,
       F::Normal},
      {"installpsdriverBtn", kIdInstallPsDriverBtn, K::Button, 136, 280, 97, 25,
       "Install PS Driver", 5, kGroup, F::Normal},
  };
  return controls;
}

}  // namespace qv
