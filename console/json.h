// A small writer of JSON text: objects, arrays, strings, numbers, booleans
// and null, indented by two blanks. Strings are given as UTF-8; the text
// is ASCII, every other character escaped as \uXXXX (a surrogate pair above
// U+FFFF), so it reads the same whatever the code page. A byte that is not
// UTF-8 reads as U+FFFD.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// A string as a JSON string literal, quotes included.
std::string JsonQuoted(const std::string& utf8);

class JsonWriter {
 public:
  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }
  // The name of the next member of the open object.
  JsonWriter& Key(const std::string& name);
  JsonWriter& String(const std::string& utf8) { return Value(JsonQuoted(utf8)); }
  JsonWriter& Number(std::int64_t value) { return Value(std::to_string(value)); }
  JsonWriter& Bool(bool value) { return Value(value ? "true" : "false"); }
  JsonWriter& Null() { return Value("null"); }

  // The text so far; a complete document ends in a line break.
  const std::string& Text() const { return text_; }

 private:
  void BeforeValue();
  JsonWriter& Value(const std::string& text);
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);
  void NewLine();

  std::string text_;
  std::vector<bool> empty_;  // per open container: nothing in it yet
  bool afterKey_ = false;
};

}  // namespace qv
