// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <deque>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace zlm5 {

// The wire trace of the last radio session, kept in memory so that the
// desktop program can save it for a bug report (the lines TracingTransport
// writes, as z-lm5-cli --trace prints them).
//
// Bounded: the first `head_bytes` of lines are kept (the open, the wake-up
// and the identification), then the newest lines up to `tail_bytes` (how
// it ended); a line in between says how many lines were left out. The
// defaults hold a whole write with its backup read and its verify.
class TraceLog {
 public:
  static constexpr std::size_t kDefaultHeadBytes = 256 * 1024;
  static constexpr std::size_t kDefaultTailBytes = 768 * 1024;

  explicit TraceLog(std::size_t head_bytes = kDefaultHeadBytes,
                    std::size_t tail_bytes = kDefaultTailBytes);
  TraceLog(const TraceLog&) = delete;
  TraceLog& operator=(const TraceLog&) = delete;

  // Where the trace lines are written.
  std::ostream& stream() { return stream_; }
  // Forgets every line: a new session starts.
  void Clear();
  bool empty() const;
  // The lines kept, each ending in "\n"; a line not yet ended comes last
  // as it stands.
  std::string Text() const;

 private:
  class LineBuffer : public std::streambuf {
   public:
    explicit LineBuffer(TraceLog& log) : log_(log) {}

   protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

   private:
    TraceLog& log_;
  };

  void Put(char ch);
  void EndLine();

  const std::size_t head_limit_;
  const std::size_t tail_limit_;
  std::vector<std::string> head_;
  std::size_t head_bytes_ = 0;
  std::deque<std::string> tail_;
  std::size_t tail_bytes_ = 0;
  std::size_t left_out_ = 0;  // lines dropped between head and tail
  std::string line_;          // the line being written
  LineBuffer buffer_;
  std::ostream stream_;
};

}  // namespace zlm5
