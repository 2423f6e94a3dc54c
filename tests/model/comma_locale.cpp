// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/model/comma_locale.h"

#include <unistd.h>

#include <cstdlib>

namespace zlm5::test {

CommaLocale::CommaLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) return;
  }
  char pattern[] = "/tmp/zlm5-locale-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) return;
  folder_ = pattern;
  const std::string command =
      "localedef -i de_DE -f UTF-8 " + folder_ + "/de_DE.UTF-8 >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return;
  ::setenv("LOCPATH", folder_.c_str(), 1);
  std::setlocale(LC_ALL, "de_DE.UTF-8");
}

CommaLocale::~CommaLocale() {
  std::setlocale(LC_ALL, saved_.c_str());
  if (!folder_.empty()) {
    ::unsetenv("LOCPATH");
    std::system(("rm -rf " + folder_).c_str());
  }
}

}  // namespace zlm5::test
