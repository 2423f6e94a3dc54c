// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zlm5 {

// The 261 tone texts in the order of the tone selection box: "OFF", the 50
// CTCSS frequencies ("67.0" to "254.1"), the 105 DCS codes of normal polarity
// ("D023N" to "D754N") and the same 105 inverted ("D023I" to "D754I").
// Built once on first use and never changed; safe to share between threads.
class ToneTables {
 public:
  static constexpr int kCount = 261;
  static constexpr int kOff = 0;
  static constexpr int kFirstCtcss = 1;
  static constexpr int kCtcssCount = 50;
  static constexpr int kFirstDcsNormal = 51;
  static constexpr int kDcsCount = 105;
  static constexpr int kFirstDcsInverted = 156;

  static const ToneTables& Get();

  int size() const { return static_cast<int>(texts_.size()); }
  // Text at position 0..260 (std::out_of_range otherwise).
  const std::string& Text(int position) const { return texts_.at(position); }
  const std::vector<std::string>& texts() const { return texts_; }

  // Position of the entry equal to `text`, comparing exactly; -1 when none.
  int Find(std::string_view text) const;
  // The same, ignoring the case of ASCII letters ("d023n" finds "D023N").
  int FindIgnoringCase(std::string_view text) const;

 private:
  ToneTables();
  std::vector<std::string> texts_;
};

}  // namespace zlm5
