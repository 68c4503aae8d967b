#include "ui/control_table.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

bool SameParent(const ControlEntry& control, const char* parent) {
  if (control.parent == nullptr || parent == nullptr) return control.parent == parent;
  return std::strcmp(control.parent, parent) == 0;
}

// Appends the controls of one parent: those without a tab stop first, in
// table order, then the others by tab order. A group box is preceded by
// its own contents, so that it lies below them and Tab reaches them at the
// group box's place.
void AppendChildren(const std::vector<ControlEntry>& controls, const char* parent,
                    std::vector<ControlEntry>& out) {
  std::vector<ControlEntry> children;
  for (const ControlEntry& c : controls) {
    if (SameParent(c, parent)) children.push_back(c);
  }
  std::stable_sort(
      children.begin(), children.end(),
      [](const ControlEntry& a, const ControlEntry& b) { return a.tabOrder < b.tabOrder; });
  for (const ControlEntry& c : children) {
    if (c.kind == ControlKind::GroupBox) AppendChildren(controls, c.name, out);
    out.push_back(c);
  }
}

}  // namespace

std::vector<ControlEntry> InCreationOrder(const std::vector<ControlEntry>& controls) {
  std::vector<ControlEntry> out;
  AppendChildren(controls, nullptr, out);
  return out;
}

Rect96 PositionInWindow(const std::vector<ControlEntry>& controls, const ControlEntry& control) {
  Rect96 r{control.left, control.top, control.width, control.height};
  if (control.parent == nullptr) return r;
  const auto group = std::find_if(controls.begin(), controls.end(), [&](const ControlEntry& c) {
    return std::strcmp(c.name, control.parent) == 0;
  });
  if (group != controls.end()) {
    const Rect96 origin = PositionInWindow(controls, *group);
    r.left += origin.left;
    r.top += origin.top;
  }
  return r;
}

}  // namespace qv
