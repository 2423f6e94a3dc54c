// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/utf8_path.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files/backup_store.h"
#include "files/channel_document.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

// A name with letters from two alphabets beyond ASCII, in UTF-8.
constexpr std::string_view kName = "Kan\xC3\xA4le-\xD0\x9A\xD0\xB0\xD0\xBD\xD0\xB0\xD0\xBB.sin";

TEST(Utf8PathTest, ConvertsBothWaysWithoutAlteringAByte) {
  const fs::path path = PathFromUtf8("folder/" + std::string(kName));
  // Ä is one code point here, not two Latin-1 letters.
  EXPECT_TRUE(path.filename().u8string() == u8"Kanäle-Канал.sin");
  EXPECT_EQ(Utf8FromPath(path.filename()), kName);
  EXPECT_EQ(Utf8FromPath(path.parent_path()), "folder");
  EXPECT_EQ(Utf8FromPath(path), "folder/" + std::string(kName));
  EXPECT_EQ(Utf8FromPath(PathFromUtf8("")), "");
}

class NonAsciiNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zlm5-utf8-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // The names as the system lists them, byte for byte.
  static std::vector<std::string> Listed(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
      if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string dir_;
};

TEST_F(NonAsciiNameTest, ADocumentSavesAndOpensUnderItsUtf8Name) {
  const std::string path = dir_ + "/" + std::string(kName);
  ChannelDocument doc;
  doc.image().set(0, 0x0A);
  doc.image().set(1, 0x1A);
  doc.image().set(4095, 0x0D);
  const Status saved = doc.Save(path);
  ASSERT_TRUE(saved) << saved.error().Message();
  EXPECT_EQ(Listed(dir_), std::vector<std::string>{std::string(kName)});
  EXPECT_EQ(doc.title(), kName);

  const Result<RadioImage> loaded = LoadChannelDataFile(path);
  ASSERT_TRUE(loaded) << loaded.error().Message();
  EXPECT_EQ(*loaded, doc.image());
  const Status opened_missing = ChannelDocument().Open(dir_ + "/Kanale.sin");
  ASSERT_FALSE(opened_missing);
  EXPECT_EQ(opened_missing.error().Message(),
            dir_ + "/Kanale.sin: cannot open the file: No such file or directory");
}

TEST_F(NonAsciiNameTest, BackupsGoIntoAFolderWithANonAsciiName) {
  const std::string folder = dir_ + "/" + std::string(kName) + "/backups";
  BackupStore store(folder);
  std::tm time{};
  time.tm_year = 2026 - 1900;
  time.tm_mon = 11;
  time.tm_mday = 7;
  time.tm_hour = 21;
  time.tm_min = 47;
  time.tm_sec = 18;
  const Result<std::string> saved = store.Save(RadioImage(), TransferDirection::kRead, time);
  ASSERT_TRUE(saved) << saved.error().Message();
  EXPECT_EQ(*saved, folder + "/2026-12-07_21-47-18_read.sin");
  EXPECT_EQ(Listed(folder), std::vector<std::string>{"2026-12-07_21-47-18_read.sin"});
  const Result<std::vector<BackupEntry>> listed = store.List();
  ASSERT_TRUE(listed) << listed.error().Message();
  ASSERT_EQ(listed->size(), 1u);
  EXPECT_EQ(listed->front().path, *saved);
}

}  // namespace
}  // namespace zlm5
