// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON that scripts read from the command line: strings escaped so that
// any parser takes them, whatever bytes a name holds, and the layout of the
// reports.

#include "model/json_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace zlm5 {
namespace {

TEST(JsonWriterTest, StringsEscapeQuotesBackslashesAndEveryControlCharacter) {
  EXPECT_EQ(JsonString(""), "\"\"");
  EXPECT_EQ(JsonString("say \"hi\" C:\\dev"), "\"say \\\"hi\\\" C:\\\\dev\"");
  EXPECT_EQ(JsonString("one\n\ntwo"), "\"one\\n\\ntwo\"");
  EXPECT_EQ(JsonString("a\tb\rc"), "\"a\\u0009b\\u000dc\"");
  EXPECT_EQ(JsonString(std::string("\0\x01\x1b\x1f", 4)), "\"\\u0000\\u0001\\u001b\\u001f\"");
  // DEL and the slash need no escape in JSON.
  EXPECT_EQ(JsonString("\x7f/ ~"), "\"\x7f/ ~\"");
  for (int c = 0; c < 0x20; ++c) {
    const std::string escaped = JsonString(std::string(1, static_cast<char>(c)));
    EXPECT_TRUE(std::none_of(escaped.begin(), escaped.end(),
                             [](char b) { return static_cast<unsigned char>(b) < 0x20; }))
        << "byte " << c << " is left as it is";
    EXPECT_EQ(escaped.substr(0, 2), "\"\\") << "byte " << c;
  }
}

TEST(JsonWriterTest, StringsKeepUtf8AndReplaceEachByteThatIsNone) {
  // Two, three and four bytes: é, 中, 📻; and U+2028, which JSON allows.
  EXPECT_EQ(JsonString("\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x93\xBB\xE2\x80\xA8"),
            "\"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x93\xBB\xE2\x80\xA8\"");
  // A byte no sequence starts with, a lone continuation byte, a sequence cut
  // off by the end or by an ASCII byte.
  EXPECT_EQ(JsonString("a\xFF"
                       "b\x80"
                       "c\xE4\xB8"),
            "\"a\\ufffdb\\ufffdc\\ufffd\\ufffd\"");
  EXPECT_EQ(JsonString("\xC3(x"), "\"\\ufffd(x\"");
  // Overlong forms of '/' and of U+0000, a UTF-16 surrogate and a code point
  // past U+10FFFF are not UTF-8 either: each of their bytes is replaced.
  EXPECT_EQ(JsonString("\xC0\xAF"), "\"\\ufffd\\ufffd\"");
  EXPECT_EQ(JsonString("\xE0\x80\x80"), "\"\\ufffd\\ufffd\\ufffd\"");
  EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");
  EXPECT_EQ(JsonString("\xF4\x90\x80\x80"), "\"\\ufffd\\ufffd\\ufffd\\ufffd\"");
  // The last code points of each length that are still UTF-8.
  EXPECT_EQ(JsonString("\xDF\xBF\xED\x9F\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF"),
            "\"\xDF\xBF\xED\x9F\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF\"");
}

TEST(JsonWriterTest, ValuesAreSeparatedAndLaidOutInLinesWhereAsked) {
  JsonWriter json;
  json.BeginObject(JsonLayout::kLines);
  json.Key("devices").BeginArray(JsonLayout::kLines);
  json.BeginObject().Key("path").String("/dev/ttyUSB0").Key("by_id").Null();
  json.Key("held_by").BeginArray().Number(4242).Number(-1).End();
  json.Key("open").Bool(true).End();
  json.BeginObject().Key("empty").BeginObject().End().End();
  json.End();
  json.Key("warnings").BeginArray(JsonLayout::kLines).End();
  json.Key("notes").Strings({"a", "b\"c"});
  json.Key("key \"quoted\"").Bool(false);
  json.End();
  EXPECT_EQ(json.Take(),
            "{\n"
            "  \"devices\": [\n"
            "    {\"path\": \"/dev/ttyUSB0\", \"by_id\": null, \"held_by\": [4242, -1], "
            "\"open\": true},\n"
            "    {\"empty\": {}}\n"
            "  ],\n"
            "  \"warnings\": [],\n"
            "  \"notes\": [\"a\", \"b\\\"c\"],\n"
            "  \"key \\\"quoted\\\"\": false\n"
            "}");
  // Take leaves the writer empty for the next document.
  json.BeginArray().Number(std::numeric_limits<std::int64_t>::min()).End();
  EXPECT_EQ(json.Take(), "[-9223372036854775808]");
}

TEST(JsonWriterTest, AnInlineContainerAddsNoIndentToTheLinesWithin) {
  // The fleet report: an object on one line whose array has a line per radio.
  JsonWriter json;
  json.BeginObject().Key("mode").String("read").Key("radios").BeginArray(JsonLayout::kLines);
  json.BeginObject().Key("port").String("COM1").End();
  json.BeginObject().Key("port").String("COM2").End();
  json.End().End();
  EXPECT_EQ(json.Take(),
            "{\"mode\": \"read\", \"radios\": [\n"
            "  {\"port\": \"COM1\"},\n"
            "  {\"port\": \"COM2\"}\n"
            "]}");
}

}  // namespace
}  // namespace zlm5
