// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zlm5 {

// The JSON the command line prints for scripts (the fleet report, the
// list of serial devices), written value by value:
//
//   JsonWriter json;
//   json.BeginObject().Key("mode").String("read");
//   json.Key("radios").BeginArray(JsonLayout::kLines) ... .End();
//   json.End();
//   std::string text = json.Take();   // {"mode": "read", "radios": [...]}
//
// Strings are written as JSON wants them whatever bytes they hold: a quote,
// a backslash and every control character escaped (a line break as \n,
// the others as \u00XX: a tab is \u0009), UTF-8 kept as it is, and each
// byte that is not part of a well-formed UTF-8 sequence replaced by \ufffd
// (a device or a process may be named with any bytes).
//
// Each call must fit where the writer stands: Key only directly inside an
// object, a value after each Key, End for each Begin. The writer checks
// none of this; the texts it is given are the only input from outside.

// How the members of an object or the elements of an array are laid out.
enum class JsonLayout {
  // On one line: {"a": 1, "b": [2, 3]}
  kInline,
  // One per line, indented by two blanks more than the enclosing lines; the
  // closing bracket on a line of its own. An empty one stays "[]" or "{}".
  kLines,
};

class JsonWriter {
 public:
  JsonWriter& BeginObject(JsonLayout layout = JsonLayout::kInline);
  JsonWriter& BeginArray(JsonLayout layout = JsonLayout::kInline);
  // Closes the object or array begun last.
  JsonWriter& End();
  // The name of the next member of the object being written.
  JsonWriter& Key(std::string_view name);

  JsonWriter& String(std::string_view text);
  JsonWriter& Number(std::int64_t number);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  // Every text as a string, in an array laid out on one line.
  JsonWriter& Strings(const std::vector<std::string>& texts);

  // The text written so far; the writer is empty afterwards.
  std::string Take();

 private:
  struct Open {
    JsonLayout layout = JsonLayout::kInline;
    char closing = '}';
    int count = 0;  // members or elements written so far
  };

  // The separator and line break before a value or a key.
  void BeforeItem();
  JsonWriter& Begin(char bracket, JsonLayout layout);
  // A line break, indented for the objects and arrays open that are laid
  // out in lines.
  void NewLine();

  std::string out_;
  std::vector<Open> open_;
  bool after_key_ = false;
};

// `text` as one JSON string, quotes included, escaped as above.
std::string JsonString(std::string_view text);

}  // namespace zlm5
