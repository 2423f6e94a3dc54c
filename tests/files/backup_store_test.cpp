// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/backup_store.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "files/channel_document.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

class BackupStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zlm5-backups-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Folder() const { return (dir_ / "z-lm5" / "backups").string(); }

  static std::tm Time(int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;  // December
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
  }
  static RadioImage Image(std::uint8_t seed) {
    RadioImage image;
    for (std::size_t i = 0; i < image_map::kSize; ++i) {
      image.set(i, static_cast<std::uint8_t>(seed + i * 13));
    }
    return image;
  }
  static std::vector<std::string> Names(const std::vector<BackupEntry>& entries) {
    std::vector<std::string> names;
    for (const BackupEntry& e : entries) names.push_back(fs::path(e.path).filename().string());
    return names;
  }
  std::vector<std::string> FilesInFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Folder())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

TEST_F(BackupStoreTest, NamesByTimeAndDirectionNeverReplacesAndListsNewestFirst) {
  BackupStore store(Folder());
  const auto first = store.Save(Image(1), TransferDirection::kRead, Time(7, 21, 47, 18));
  // Three more in the same second, then one a second later.
  const auto second = store.Save(Image(2), TransferDirection::kWrite, Time(7, 21, 47, 18));
  const auto third = store.Save(Image(3), TransferDirection::kRead, Time(7, 21, 47, 18));
  const auto later = store.Save(Image(4), TransferDirection::kWrite, Time(7, 21, 47, 19));
  ASSERT_TRUE(first && second && third && later);
  EXPECT_EQ(*first, Folder() + "/2026-12-07_21-47-18_read.sin");
  EXPECT_EQ(*second, Folder() + "/2026-12-07_21-47-18_write-2.sin");
  EXPECT_EQ(*third, Folder() + "/2026-12-07_21-47-18_read-3.sin");
  EXPECT_EQ(*later, Folder() + "/2026-12-07_21-47-19_write.sin");

  // Each file is the image as a channel data file, not replaced by the next.
  EXPECT_EQ(*LoadChannelDataFile(*first), Image(1));
  EXPECT_EQ(*LoadChannelDataFile(*second), Image(2));
  EXPECT_EQ(*LoadChannelDataFile(*third), Image(3));

  // Other files in the folder are not backups.
  std::ofstream(Folder() + "/notes.txt") << "mine";
  std::ofstream(Folder() + "/2026-12-07_21-47-20_read.sin.old") << "mine";
  std::ofstream(Folder() + "/2026-12-07_21-47-20_read-1.sin") << "mine";
  fs::create_directory(Folder() + "/2026-12-07_21-47-21_read.sin");

  const auto listed = store.List();
  ASSERT_TRUE(listed);
  EXPECT_EQ(Names(*listed),
            (std::vector<std::string>{
                "2026-12-07_21-47-19_write.sin", "2026-12-07_21-47-18_read-3.sin",
                "2026-12-07_21-47-18_write-2.sin", "2026-12-07_21-47-18_read.sin"}));
  EXPECT_EQ((*listed)[0].time, "2026-12-07 21:47:19");
  EXPECT_EQ((*listed)[0].direction, TransferDirection::kWrite);
  EXPECT_EQ((*listed)[1].direction, TransferDirection::kRead);
  EXPECT_EQ((*listed)[1].sequence, 3);
}

TEST_F(BackupStoreTest, RotationKeepsTheNewest200AndTouchesNothingElse) {
  fs::create_directories(Folder());
  // 200 backups already, one a minute from 00:00 on the 1st.
  for (int i = 0; i < 200; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "2026-12-01_%02d-%02d-00_%s.sin", i / 60, i % 60,
                  i % 2 ? "write" : "read");
    std::ofstream(Folder() + "/" + name) << "old";
  }
  std::ofstream(Folder() + "/2020-01-01_00-00-00_read.sin.txt") << "mine";
  std::ofstream(Folder() + "/radio.sin") << "mine";

  BackupStore store(Folder());
  const auto made = store.Save(Image(9), TransferDirection::kRead, Time(7, 21, 47, 18));
  ASSERT_TRUE(made) << made.error().Message();

  const auto listed = store.List();
  ASSERT_TRUE(listed);
  ASSERT_EQ(listed->size(), kBackupsKept);
  EXPECT_EQ(kBackupsKept, 200u);
  EXPECT_EQ(fs::path(listed->front().path).filename(), "2026-12-07_21-47-18_read.sin");
  EXPECT_EQ(fs::path(listed->back().path).filename(), "2026-12-01_00-01-00_write.sin");
  // Only the oldest backup went; the user's own files stayed.
  EXPECT_FALSE(fs::exists(Folder() + "/2026-12-01_00-00-00_read.sin"));
  EXPECT_EQ(FilesInFolder().size(), 202u);
  EXPECT_TRUE(fs::exists(Folder() + "/2020-01-01_00-00-00_read.sin.txt"));
  EXPECT_TRUE(fs::exists(Folder() + "/radio.sin"));
}

// A backup killed half-way (here by the file size limit's signal while the
// image goes in) leaves no backup: only its temporary file, which the next
// backup removes once it has been left for a minute.
TEST_F(BackupStoreTest, AKilledBackupLeavesNoBackupAndItsRemainsGoLater) {
  BackupStore store(Folder());
  const pid_t child = ::fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    const struct rlimit limit { 1000, 1000 };
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(2);
    (void)store.Save(Image(1), TransferDirection::kWrite, Time(7, 21, 47, 18));
    ::_exit(0);  // not killed: the test fails below
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "exit " << WEXITSTATUS(status);
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);

  const auto listed = store.List();
  ASSERT_TRUE(listed);
  EXPECT_TRUE(listed->empty()) << listed->front().path;
  const std::vector<std::string> left = FilesInFolder();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_TRUE(left[0].starts_with(".z-lm5-save-") && left[0].ends_with(".tmp")) << left[0];
  EXPECT_EQ(fs::file_size(Folder() + "/" + left[0]), 1000u);

  // Not yet a minute old: the next backup leaves it, as it may be another's.
  const auto next = store.Save(Image(2), TransferDirection::kWrite, Time(7, 21, 47, 18));
  ASSERT_TRUE(next) << next.error().Message();
  EXPECT_EQ(*next, Folder() + "/2026-12-07_21-47-18_write.sin");
  EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{left[0], "2026-12-07_21-47-18_write.sin"}));

  const struct timespec minutes_ago[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (Folder() + "/" + left[0]).c_str(), minutes_ago, 0), 0);
  const auto last = store.Save(Image(3), TransferDirection::kRead, Time(7, 21, 47, 18));
  ASSERT_TRUE(last) << last.error().Message();
  EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{"2026-12-07_21-47-18_read-2.sin",
                                                       "2026-12-07_21-47-18_write.sin"}));
  EXPECT_EQ(*LoadChannelDataFile(*next), Image(2));
  EXPECT_EQ(*LoadChannelDataFile(*last), Image(3));
}

TEST_F(BackupStoreTest, AFolderThatCannotBeMadeIsAnErrorAndLeavesNothing) {
  std::ofstream(dir_ / "z-lm5") << "a file where the folder should be";
  BackupStore store(Folder());
  const auto made = store.Save(Image(1), TransferDirection::kWrite, Time(7, 21, 47, 18));
  ASSERT_FALSE(made);
  EXPECT_EQ(made.error().Message(),
            Folder() + ": cannot create the backup folder: Not a directory");
  EXPECT_EQ(made.error().code(), ENOTDIR);
  EXPECT_EQ(fs::file_size(dir_ / "z-lm5"), 33u);

  const auto listed = store.List();
  ASSERT_FALSE(listed);
  EXPECT_EQ(listed.error().Message(), Folder() + ": cannot list the backups: Not a directory");
  EXPECT_EQ(listed.error().code(), ENOTDIR);
}

}  // namespace
}  // namespace zlm5
