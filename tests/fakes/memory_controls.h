// Controls that live only in memory: the form's handlers run on them in
// the unit tests and the fuzzer, where no window shows the form.
#pragma once

#include <string>
#include <vector>

#include "ui/controls.h"

namespace qv {

class MemoryText : public ITextControl {
 public:
  std::string text;
  std::string Text() const override { return text; }
  void SetText(const std::string& t) override { text = t; }
};

class MemoryList : public IListControl {
 public:
  std::vector<std::string> items;
  int index = -1;
  void Clear() override {
    items.clear();
    index = -1;
  }
  void Add(const std::string& item) override { items.push_back(item); }
  int Count() const override { return static_cast<int>(items.size()); }
  std::string Item(int i) const override {
    return i >= 0 && i < Count() ? items[static_cast<std::size_t>(i)] : std::string();
  }
  int ItemIndex() const override { return index; }
  void SetItemIndex(int i) override { index = i >= 0 && i < Count() ? i : -1; }
};

class MemoryCheck : public ICheckControl {
 public:
  bool checked = false;
  bool Checked() const override { return checked; }
  void SetChecked(bool c) override { checked = c; }
};

}  // namespace qv
