// The window's arithmetic at every scale: lengths and fonts per DPI, the
// width a control's text needs, and a window's place in the work area.
#include "ui/scaling.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

struct DpiRow {
  int dpi;
  int exit;    // the Exit button's left edge, 656 at 96 DPI
  int normal;  // the normal font's height, -11 at 96 DPI
  int title;   // the title's, -24 at 96 DPI
  const char* face;
};

TEST(Scaling, LengthsAndFontsAtEachDpi) {
  const DpiRow rows[] = {
      {96, 656, -11, -24, "MS Sans Serif"},
      {120, 820, -14, -30, "Microsoft Sans Serif"},
      {144, 984, -17, -36, "Microsoft Sans Serif"},
      {192, 1312, -22, -48, "Microsoft Sans Serif"},
  };
  for (const DpiRow& row : rows) {
    SCOPED_TRACE(row.dpi);
    EXPECT_EQ(ScaleToDpi(656, row.dpi), row.exit);
    EXPECT_EQ(FontFor(FontKind::Normal, row.dpi).height, row.normal);
    EXPECT_EQ(FontFor(FontKind::Title, row.dpi).height, row.title);
    for (FontKind kind :
         {FontKind::Normal, FontKind::Title, FontKind::AboutTitle, FontKind::Link}) {
      EXPECT_EQ(std::string(FontFor(kind, row.dpi).face), row.face);
    }
    EXPECT_EQ(std::string(DialogFace(row.dpi)), row.face);
    // The credit line keeps its narrow face, in the ANSI character set.
    EXPECT_EQ(std::string(FontFor(FontKind::Credit, row.dpi).face), "Arial Narrow");
  }
}

TEST(Scaling, RoundsHalvesAwayFromZeroAsMulDiv) {
  EXPECT_EQ(ScaleToDpi(1, 144), 2);    // 1.5
  EXPECT_EQ(ScaleToDpi(-1, 144), -2);  // -1.5
  EXPECT_EQ(ScaleToDpi(13, 120), 16);  // 16.25
  EXPECT_EQ(ScaleToDpi(-13, 120), -16);
  EXPECT_EQ(ScaleToDpi(-11, 120), -14);  // -13.75
  EXPECT_EQ(ScaleToDpi(0, 192), 0);
}

TEST(Scaling, EachFontKindAtTheDesignScale) {
  struct FontRow {
    FontKind kind;
    FontSpec font;
  };
  const FontRow rows[] = {
      {FontKind::Normal, {-11, false, false, false, "MS Sans Serif"}},
      {FontKind::Title, {-24, true, true, false, "MS Sans Serif"}},
      {FontKind::AboutTitle, {-13, true, true, false, "MS Sans Serif"}},
      {FontKind::Credit, {-11, true, false, true, "Arial Narrow"}},
      {FontKind::Link, {-11, false, true, false, "MS Sans Serif"}},
  };
  for (const FontRow& row : rows) {
    const FontSpec font = FontFor(row.kind, 96);
    SCOPED_TRACE(static_cast<int>(row.kind));
    EXPECT_EQ(font.height, row.font.height);
    EXPECT_EQ(font.bold, row.font.bold);
    EXPECT_EQ(font.underline, row.font.underline);
    EXPECT_EQ(font.ansiCharset, row.font.ansiCharset);
    EXPECT_EQ(std::string(font.face), row.font.face);
  }
  EXPECT_EQ(FontFor(FontKind::AboutTitle, 144).height, -20);
}

struct FitRow {
  const char* what;
  ControlKind kind;
  int dpi, scaledWidth, textWidth, width;
};

TEST(Scaling, ControlsGrowToTheirTextAboveTheDesignScale) {
  const FitRow rows[] = {
      {"label, text wider", ControlKind::Label, 120, 108, 115, 115},
      {"label, text narrower", ControlKind::Label, 120, 108, 90, 108},
      {"label, text as wide", ControlKind::Label, 144, 129, 129, 129},
      {"link, text wider", ControlKind::LinkLabel, 192, 100, 130, 130},
      {"check box, room for the box", ControlKind::CheckBox, 120, 261, 250, 273},
      {"check box, fits with its box", ControlKind::CheckBox, 120, 261, 238, 261},
      {"button, room for the edges", ControlKind::Button, 144, 113, 110, 122},
      {"default button", ControlKind::DefaultButton, 192, 150, 150, 166},
      {"button, fits", ControlKind::Button, 192, 150, 100, 150},
      {"at 96 DPI the design stands", ControlKind::Label, 96, 86, 90, 86},
      {"check box at 96 DPI", ControlKind::CheckBox, 96, 209, 200, 209},
      {"an edit never grows", ControlKind::Edit, 120, 271, 400, 271},
      {"a group box never grows", ControlKind::GroupBox, 120, 311, 400, 311},
      {"a list never grows", ControlKind::DropDownList, 192, 450, 500, 450},
  };
  for (const FitRow& row : rows) {
    EXPECT_EQ(WidthToFit(row.kind, row.scaledWidth, row.textWidth, row.dpi), row.width) << row.what;
  }
  EXPECT_EQ(TextRoom(ControlKind::Label, 192), 0);
  EXPECT_EQ(TextRoom(ControlKind::CheckBox, 96), 18);
  EXPECT_EQ(TextRoom(ControlKind::Button, 120), 10);
}

struct PlaceRow {
  const char* what;
  int width, height;
  int screenWidth, screenHeight;
  Box work;
  int x, y;
};

TEST(Scaling, AWindowStaysWithinTheWorkAreaOfItsMonitor) {
  const PlaceRow rows[] = {
      {"fits: centred on the screen", 752, 460, 1024, 768, {0, 0, 1024, 738}, 136, 154},
      {"fits beside a taskbar on the left", 400, 300, 1280, 1024, {60, 0, 1280, 1024}, 440, 362},
      {"overflows the work area's top", 400, 700, 1024, 768, {0, 100, 1024, 768}, 312, 100},
      {"overflows the bottom: moved up", 400, 700, 1024, 768, {0, 0, 1024, 720}, 312, 20},
      {"overflows to the left", 1000, 300, 1024, 768, {100, 0, 1024, 768}, 100, 234},
      {"overflows to the right", 600, 300, 1024, 768, {0, 0, 800, 768}, 200, 234},
      {"larger than the work area", 1504, 920, 1280, 1024, {0, 0, 1280, 994}, 0, 52},
      {"larger both ways", 1504, 1100, 1280, 1024, {0, 0, 1280, 994}, 0, 0},
      {"larger, work area not at 0", 2000, 1500, 1280, 1024, {40, 30, 1280, 994}, 40, 30},
  };
  for (const PlaceRow& row : rows) {
    const Corner centred =
        CentredWindowCorner(row.width, row.height, row.screenWidth, row.screenHeight);
    const Corner at = PlaceInWorkArea(centred, row.width, row.height, row.work);
    EXPECT_EQ(at.x, row.x) << row.what;
    EXPECT_EQ(at.y, row.y) << row.what;
  }
}

}  // namespace
}  // namespace qv
