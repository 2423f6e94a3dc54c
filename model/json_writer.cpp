// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/json_writer.h"

#include <array>
#include <cstdio>

namespace zlm5 {
namespace {

// Below this, bytes are control characters, which JSON strings may not
// hold as they are.
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kFirstNonAscii = 0x80;
constexpr std::string_view kReplacement = "\\ufffd";
constexpr std::size_t kIndentStep = 2;

// The bytes a UTF-8 sequence may continue with after its first byte: most
// take any continuation byte; these leads narrow the second byte so that
// overlong forms, UTF-16 surrogates and code points past U+10FFFF are not
// taken as characters.
struct SecondByte {
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
};
SecondByte SecondByteAfter(unsigned char lead) {
  switch (lead) {
    case 0xE0:
      return {0xA0, 0xBF};
    case 0xED:
      return {0x80, 0x9F};
    case 0xF0:
      return {0x90, 0xBF};
    case 0xF4:
      return {0x80, 0x8F};
    default:
      return {};
  }
}

// Length of the well-formed UTF-8 sequence at `pos` (a non-ASCII lead), or
// 0 when the byte there starts none.
std::size_t WellFormedLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  if (length == 0 || pos + length > text.size()) return 0;
  const SecondByte second = SecondByteAfter(lead);
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  if (byte(1) < second.low || byte(1) > second.high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

void AppendEscaped(std::string& out, unsigned char c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\n':
      out += "\\n";
      return;
    default:
      std::array<char, 8> escaped{};
      std::snprintf(escaped.data(), escaped.size(), "\\u%04x", static_cast<unsigned>(c));
      out += escaped.data();
  }
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= kFirstNonAscii) {
      const std::size_t length = WellFormedLength(text, i);
      if (length == 0) {
        out += kReplacement;
        ++i;
      } else {
        out.append(text.substr(i, length));
        i += length;
      }
      continue;
    }
    if (c < kFirstPrintable || c == '"' || c == '\\') {
      AppendEscaped(out, c);
    } else {
      out.push_back(static_cast<char>(c));
    }
    ++i;
  }
  return out + "\"";
}

void JsonWriter::NewLine() {
  std::size_t lines_open = 0;
  for (const Open& open : open_) lines_open += open.layout == JsonLayout::kLines ? 1 : 0;
  out_ += '\n';
  out_.append(lines_open * kIndentStep, ' ');
}

void JsonWriter::BeforeItem() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (open_.empty()) return;
  Open& open = open_.back();
  if (open.count > 0) out_ += ',';
  if (open.layout == JsonLayout::kLines) {
    NewLine();
  } else if (open.count > 0) {
    out_ += ' ';
  }
  ++open.count;
}

JsonWriter& JsonWriter::Begin(char bracket, JsonLayout layout) {
  BeforeItem();
  out_ += bracket;
  open_.push_back({.layout = layout, .closing = bracket == '{' ? '}' : ']'});
  return *this;
}

JsonWriter& JsonWriter::BeginObject(JsonLayout layout) { return Begin('{', layout); }

JsonWriter& JsonWriter::BeginArray(JsonLayout layout) { return Begin('[', layout); }

JsonWriter& JsonWriter::End() {
  const Open open = open_.back();
  open_.pop_back();
  if (open.layout == JsonLayout::kLines && open.count > 0) NewLine();
  out_ += open.closing;
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
  BeforeItem();
  out_ += JsonString(name);
  out_ += ": ";
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  BeforeItem();
  out_ += JsonString(text);
  return *this;
}

JsonWriter& JsonWriter::Number(std::int64_t number) {
  BeforeItem();
  out_ += std::to_string(number);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeItem();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeItem();
  out_ += "null";
  return *this;
}

JsonWriter& JsonWriter::Strings(const std::vector<std::string>& texts) {
  BeginArray();
  for (const std::string& text : texts) String(text);
  return End();
}

std::string JsonWriter::Take() {
  std::string text = std::move(out_);
  out_.clear();
  open_.clear();
  after_key_ = false;
  return text;
}

}  // namespace zlm5
