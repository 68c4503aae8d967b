// A small writer of JSON text: objects, arrays, strings, numbers, booleans
// and null, indented by two blanks. Strings must be UTF-8; they are escaped
// as JSON requires.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // The name of the next member of the open object.
  JsonWriter& Key(const std::string& name);
  JsonWriter& String(const std::string& utf8);
  JsonWriter& Number(std::int64_t value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  // The text so far; a complete document ends in a line break.
  const std::string& Text() const { return text_; }

 private:
  void BeforeValue();
  void Open(char bracket);
  void Close(char bracket);
  void NewLine();

  std::string text_;
  std::vector<bool> empty_;  // per open container: nothing in it yet
  bool afterKey_ = false;
};

// A string as a JSON string literal, quotes included.
std::string JsonQuoted(const std::string& utf8);

}  // namespace qv
