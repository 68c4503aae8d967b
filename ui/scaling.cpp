#include "ui/scaling.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace qv {

namespace {

constexpr const char* kBitmapFace = "MS Sans Serif";
constexpr const char* kTrueTypeFace = "Microsoft Sans Serif";

// In FontKind's order: Normal, Title, AboutTitle, Credit, Link; heights at
// 96 DPI. A null face is the program's sans serif (bitmap or TrueType).
const FontSpec kFontRows[] = {
    {-11, false, false, false, nullptr}, {-24, true, true, false, nullptr},
    {-13, true, true, false, nullptr},   {-11, true, false, true, "Arial Narrow"},
    {-11, false, true, false, nullptr},
};
static_assert(std::size(kFontRows) == static_cast<int>(FontKind::Link) + 1);

}  // namespace

int ScaleToDpi(int value, int dpi) {
  const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
  const std::int64_t half = kDesignDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi
                                       : -((-product + half) / kDesignDpi));
}

const char* DialogFace(int dpi) {
  return dpi > kDesignDpi ? kTrueTypeFace : kBitmapFace;
}

FontSpec FontFor(FontKind kind, int dpi) {
  FontSpec font = kFontRows[static_cast<int>(kind)];
  font.height = ScaleToDpi(font.height, dpi);
  if (font.face == nullptr) font.face = DialogFace(dpi);
  return font;
}

int TextRoom(ControlKind kind, int dpi) {
  switch (kind) {
    case ControlKind::CheckBox:
      return ScaleToDpi(18, dpi);  // the 13-pixel box and the gap after it
    case ControlKind::Button:
    case ControlKind::DefaultButton:
      return ScaleToDpi(8, dpi);  // the raised edges and the focus frame
    default:
      return 0;
  }
}

int WidthToFit(ControlKind kind, int scaledWidth, int textWidth, int dpi) {
  switch (kind) {
    case ControlKind::Label:
    case ControlKind::LinkLabel:
    case ControlKind::CheckBox:
    case ControlKind::Button:
    case ControlKind::DefaultButton:
      break;
    default:
      return scaledWidth;
  }
  if (dpi <= kDesignDpi) return scaledWidth;
  return std::max(scaledWidth, textWidth + TextRoom(kind, dpi));
}

Corner CentredWindowCorner(int width, int height, int screenWidth, int screenHeight) {
  return Corner{(screenWidth - width) / 2, (screenHeight - height) / 2};
}

Corner PlaceInWorkArea(Corner centred, int width, int height, const Box& workArea) {
  // Inside on the right and bottom first, so that a window larger than
  // the work area ends with its left and top edges at the work area's.
  const int x = std::max(workArea.left, std::min(centred.x, workArea.right - width));
  const int y = std::max(workArea.top, std::min(centred.y, workArea.bottom - height));
  return Corner{x, y};
}

}  // namespace qv
