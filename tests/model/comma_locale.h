// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <clocale>
#include <string>

namespace zlm5::test {

// Switches the process to a locale whose decimal mark is a comma for as
// long as it lives: an installed one, or on POSIX one built with localedef
// into a temporary folder. active() tells whether that worked.
class CommaLocale {
 public:
  CommaLocale();
  ~CommaLocale();
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

  bool active() const { return *std::localeconv()->decimal_point == ','; }

 private:
  std::string saved_;
  std::string folder_;  // of a locale built here, removed at the end
};

}  // namespace zlm5::test
