#include "console/json.h"

#include <cstdio>
#include <cstring>

namespace qv {

std::string JsonQuoted(const std::string& utf8) {
  static const char kEscaped[] = "\"\\\b\f\n\r\t";
  static const char kLetters[] = "\"\\bfnrt";
  std::string quoted = "\"";
  for (const char c : utf8) {
    const char* escaped = c == 0 ? nullptr : std::strchr(kEscaped, c);
    if (escaped != nullptr) {
      quoted += '\\';
      quoted += kLetters[escaped - kEscaped];
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      quoted += escape;
    } else {
      quoted += c;  // UTF-8 passes through as it is
    }
  }
  return quoted + "\"";
}

void JsonWriter::NewLine() {
  text_ += '\n';
  text_.append(2 * empty_.size(), ' ');
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (empty_.empty()) return;
  if (!empty_.back()) text_ += ',';
  empty_.back() = false;
  NewLine();
}

JsonWriter& JsonWriter::Open(char bracket) {
  Value(std::string(1, bracket));
  empty_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
  if (empty_.empty()) return *this;
  const bool wasEmpty = empty_.back();
  empty_.pop_back();
  if (!wasEmpty) NewLine();
  text_ += bracket;
  if (empty_.empty()) text_ += '\n';
  return *this;
}

JsonWriter& JsonWriter::Key(const std::string& name) {
  Value(JsonQuoted(name) + ": ");
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::Value(const std::string& text) {
  BeforeValue();
  text_ += text;
  return *this;
}

}  // namespace qv
