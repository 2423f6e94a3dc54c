// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/trace_log.h"

namespace zlm5 {

TraceLog::TraceLog(std::size_t head_bytes, std::size_t tail_bytes)
    : head_limit_(head_bytes), tail_limit_(tail_bytes), buffer_(*this), stream_(&buffer_) {}

TraceLog::LineBuffer::int_type TraceLog::LineBuffer::overflow(int_type ch) {
  if (!traits_type::eq_int_type(ch, traits_type::eof())) log_.Put(traits_type::to_char_type(ch));
  return traits_type::not_eof(ch);
}

std::streamsize TraceLog::LineBuffer::xsputn(const char* s, std::streamsize n) {
  for (std::streamsize i = 0; i < n; ++i) log_.Put(s[i]);
  return n;
}

void TraceLog::Put(char ch) {
  line_ += ch;
  if (ch == '\n') EndLine();
}

void TraceLog::EndLine() {
  // The head fills first; once a line has gone to the tail, the head is
  // closed, so that the kept lines stay in their order.
  if (tail_.empty() && head_bytes_ + line_.size() <= head_limit_) {
    head_bytes_ += line_.size();
    head_.push_back(std::move(line_));
  } else {
    tail_bytes_ += line_.size();
    tail_.push_back(std::move(line_));
    while (tail_bytes_ > tail_limit_ && !tail_.empty()) {
      tail_bytes_ -= tail_.front().size();
      tail_.pop_front();
      ++left_out_;
    }
  }
  line_.clear();
}

void TraceLog::Clear() {
  head_.clear();
  tail_.clear();
  head_bytes_ = tail_bytes_ = left_out_ = 0;
  line_.clear();
  stream_.clear();
}

bool TraceLog::empty() const { return head_.empty() && tail_.empty() && line_.empty(); }

std::string TraceLog::Text() const {
  std::string text;
  text.reserve(head_bytes_ + tail_bytes_ + line_.size() + 64);
  for (const std::string& line : head_) text += line;
  if (left_out_ > 0) text += "... " + std::to_string(left_out_) + " lines left out ...\n";
  for (const std::string& line : tail_) text += line;
  return text + line_;
}

}  // namespace zlm5
