#include "console/json.h"

#include <cstdio>
#include <cstring>

namespace qv {

namespace {

// The character of the UTF-8 sequence at text[*at], moving *at past it.
// A byte that starts no valid sequence, an overlong or truncated sequence,
// a surrogate and anything above U+10FFFF read as U+FFFD, one for each
// maximal invalid part, as Unicode recommends.
char32_t NextCharacter(const std::string& text, std::size_t* at) {
  const auto byte = [&](std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
  };
  const unsigned lead = byte((*at)++);
  if (lead < 0x80) return lead;
  std::size_t following = 0;
  unsigned low = 0x80, high = 0xBF;  // the second byte's range
  if (lead >= 0xC2 && lead <= 0xDF) {
    following = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    following = 2;
    if (lead == 0xE0) low = 0xA0;   // else overlong
    if (lead == 0xED) high = 0x9F;  // else a surrogate
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    following = 3;
    if (lead == 0xF0) low = 0x90;   // else overlong
    if (lead == 0xF4) high = 0x8F;  // else above U+10FFFF
  } else {
    return 0xFFFD;
  }
  char32_t character = lead & (0x3Fu >> following);
  for (std::size_t k = 0; k < following; ++k, low = 0x80, high = 0xBF) {
    const unsigned next = byte(*at);
    if (next < low || next > high) return 0xFFFD;
    character = (character << 6) | (next & 0x3Fu);
    ++*at;
  }
  return character;
}

// c as \uXXXX, or as a UTF-16 surrogate pair above U+FFFF.
void AppendEscaped(std::string* quoted, char32_t c) {
  char escape[16];
  const auto unit = [](char32_t u) { return static_cast<unsigned>(u); };
  if (c > 0xFFFF) {
    std::snprintf(escape, sizeof escape, "\\u%04x\\u%04x", unit(0xD800 + ((c - 0x10000) >> 10)),
                  unit(0xDC00 + ((c - 0x10000) & 0x3FF)));
  } else {
    std::snprintf(escape, sizeof escape, "\\u%04x", unit(c));
  }
  *quoted += escape;
}

}  // namespace

std::string JsonQuoted(const std::string& utf8) {
  static const char kEscaped[] = "\"\\\b\f\n\r\t";
  static const char kLetters[] = "\"\\bfnrt";
  std::string quoted = "\"";
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t c = NextCharacter(utf8, &at);
    const char* escaped =
        c == 0 || c >= 0x80 ? nullptr : std::strchr(kEscaped, static_cast<char>(c));
    if (escaped != nullptr) {
      quoted += '\\';
      quoted += kLetters[escaped - kEscaped];
    } else if (c < 0x20 || c >= 0x80) {
      AppendEscaped(&quoted, c);  // ASCII only: the same bytes in every code page
    } else {
      quoted += static_cast<char>(c);
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
