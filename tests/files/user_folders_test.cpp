// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/user_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "files/backup_store.h"

namespace zlm5 {
namespace {

// Sets the environment variables of one test and puts them back after.
class UserFoldersTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }
  void Set(const std::string& name, const char* value) {
    if (!saved_.contains(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) {
      ::setenv(name.c_str(), value, 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

TEST_F(UserFoldersTest, FollowTheXdgVariablesAndFallBackToTheHomeFolder) {
  Set("HOME", "/home/user");
  Set("XDG_CONFIG_HOME", "/tmp/cfg");
  Set("XDG_DATA_HOME", "/tmp/data");
  EXPECT_EQ(SettingsFolder(), "/tmp/cfg/z-lm5");
  EXPECT_EQ(DataFolder(), "/tmp/data/z-lm5");
  EXPECT_EQ(DefaultBackupFolder(), "/tmp/data/z-lm5/backups");

  // Not absolute: ignored, as the XDG rules say.
  Set("XDG_CONFIG_HOME", "relative");
  Set("XDG_DATA_HOME", "relative");
  EXPECT_EQ(SettingsFolder(), "/home/user/.config/z-lm5");
  EXPECT_EQ(DefaultBackupFolder(), "/home/user/.local/share/z-lm5/backups");

  Set("XDG_CONFIG_HOME", nullptr);
  Set("XDG_DATA_HOME", nullptr);
  Set("HOME", "/home/\xC3\xA4");
  EXPECT_EQ(SettingsFolder(), "/home/\xC3\xA4/.config/z-lm5");
  EXPECT_EQ(DataFolder(), "/home/\xC3\xA4/.local/share/z-lm5");
  // Without a home, the current folder stands in.
  Set("HOME", nullptr);
  EXPECT_EQ(DataFolder(), "./.local/share/z-lm5");
}

TEST_F(UserFoldersTest, HelpTextsNameTheFoldersAsTheUserKnowsThem) {
  EXPECT_EQ(SettingsFileHelp("ports.conf"), "~/.config/z-lm5/ports.conf");
  EXPECT_EQ(DataFolderHelp("backups"),
            "$XDG_DATA_HOME/z-lm5/backups (~/.local/share/z-lm5/backups when XDG_DATA_HOME is "
            "not set)");
}

}  // namespace
}  // namespace zlm5
