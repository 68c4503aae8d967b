// The three kinds of control the form's logic works with. The Win32 window
// binds them to real controls; the unit tests bind them to in-memory ones.
#pragma once

#include <string>

namespace qv {

class ITextControl {
 public:
  virtual ~ITextControl() = default;
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
};

// A list box or a drop-down list. ItemIndex is -1 when nothing is selected.
class IListControl {
 public:
  virtual ~IListControl() = default;
  virtual void Clear() = 0;
  virtual void Add(const std::string& item) = 0;
  virtual int Count() const = 0;
  virtual std::string Item(int index) const = 0;  // empty when out of range
  virtual int ItemIndex() const = 0;
  virtual void SetItemIndex(int index) = 0;
};

class ICheckControl {
 public:
  virtual ~ICheckControl() = default;
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
};

}  // namespace qv
