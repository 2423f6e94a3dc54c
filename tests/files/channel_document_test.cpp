// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "files/channel_document.h"
#include "files/file_saving.h"
#include "model/settings_block.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

class ChannelDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zlm5-files-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  static std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  static std::vector<std::uint8_t> Pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    return bytes;
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

TEST_F(ChannelDocumentTest, NewDocumentImageHasTheFourteenDefaults) {
  const RadioImage image = ChannelDocument::NewDocumentImage();
  const std::vector<std::pair<std::size_t, std::uint8_t>> defaults = {
      {0x80A, 0xEE}, {0x80B, 0x38}, {0x810, 0xC0}, {0x811, 0xA8}, {0x812, 0xC4},
      {0x813, 0x05}, {0x814, 0x00}, {0x815, 0x00}, {0x816, 0x03}, {0x817, 0x04},
      {0x818, 0x00}, {0x819, 0x09}, {0x81A, 0x00}, {0x81D, 0x00}};
  int defaults_seen = 0;
  for (std::size_t i = 0; i < image_map::kSize; ++i) {
    std::uint8_t expected = 0xFF;
    for (const auto& [offset, value] : defaults) {
      if (offset == i) {
        expected = value;
        ++defaults_seen;
      }
    }
    ASSERT_EQ(image.at(i), expected) << std::hex << i;
  }
  EXPECT_EQ(defaults_seen, 14);
}

TEST_F(ChannelDocumentTest, NewDocumentIsUntitledAndUnmodified) {
  ChannelDocument doc;
  EXPECT_EQ(doc.image(), ChannelDocument::NewDocumentImage());
  EXPECT_EQ(doc.path(), "");
  EXPECT_EQ(doc.title(), "Untitled");
  EXPECT_FALSE(doc.modified());
  doc.image().set(0, 1);
  doc.SetModified();
  doc.New();
  EXPECT_EQ(doc.image(), ChannelDocument::NewDocumentImage());
  EXPECT_FALSE(doc.modified());
}

TEST_F(ChannelDocumentTest, SaveThenOpenGivesBackEveryByte) {
  ChannelDocument doc;
  const auto pattern = Pattern(4096);
  std::copy(pattern.begin(), pattern.end(), doc.image().bytes().begin());
  doc.SetModified();
  const std::string path = Path("radio.sin");
  ASSERT_TRUE(doc.Save(path)) << doc.Save(path).error().Message();
  EXPECT_FALSE(doc.modified());
  EXPECT_EQ(doc.path(), path);
  EXPECT_EQ(doc.title(), "radio.sin");
  EXPECT_EQ(ReadBytes(path), pattern);
  EXPECT_EQ(Entries(), std::vector<std::string>{"radio.sin"});  // no temporary left

  ChannelDocument other;
  other.SetModified();
  ASSERT_TRUE(other.Open(path));
  EXPECT_EQ(other.image(), doc.image());
  EXPECT_FALSE(other.modified());
  EXPECT_EQ(other.path(), path);
}

TEST_F(ChannelDocumentTest, NewDocumentSavedAtOnceIs4096BytesOfDefaults) {
  ChannelDocument doc;
  const std::string path = Path("new.sin");
  ASSERT_TRUE(doc.Save(path));
  const auto bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 4096u);
  const RadioImage image = ChannelDocument::NewDocumentImage();
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), image.bytes().begin()));
}

TEST_F(ChannelDocumentTest, LongerFileOpensWithItsFirst4096Bytes) {
  const auto pattern = Pattern(5000);
  WriteBytes(Path("long.sin"), pattern);
  ChannelDocument doc;
  ASSERT_TRUE(doc.Open(Path("long.sin")));
  EXPECT_TRUE(std::equal(pattern.begin(), pattern.begin() + 4096, doc.image().bytes().begin()));
}

TEST_F(ChannelDocumentTest, ShortOrEmptyFileIsRefusedAndTheDocumentKeepsEverything) {
  ChannelDocument doc;
  ASSERT_TRUE(doc.Save(Path("current.sin")));
  doc.image().set(0x10, 0x42);
  doc.SetModified();
  const RadioImage before = doc.image();

  for (const std::size_t size : {0u, 100u, 4095u}) {
    const std::string path = Path("short" + std::to_string(size) + ".sin");
    WriteBytes(path, Pattern(size));
    const Status opened = doc.Open(path);
    ASSERT_FALSE(opened);
    const std::string message = opened.error().Message();
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find(std::to_string(size) + " bytes"), std::string::npos) << message;
    EXPECT_EQ(doc.image(), before);
    EXPECT_EQ(doc.path(), Path("current.sin"));
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(ReadBytes(path), Pattern(size));  // the refused file is untouched
  }
}

TEST_F(ChannelDocumentTest, MissingFileOrFolderIsRefusedWithTheReason) {
  ChannelDocument doc;
  Status opened = doc.Open(Path("missing.sin"));
  ASSERT_FALSE(opened);
  EXPECT_EQ(opened.error().Message(),
            Path("missing.sin") + ": cannot open the file: No such file or directory");
  EXPECT_EQ(opened.error().code(), ENOENT);
  opened = doc.Open(dir_.string());
  ASSERT_FALSE(opened);
  EXPECT_EQ(opened.error().Message(), dir_.string() + ": cannot read the file: it is a folder");
  EXPECT_EQ(opened.error().code(), 0) << "found by the program, not refused by the system";
  EXPECT_EQ(doc.image(), ChannelDocument::NewDocumentImage());
}

// A named pipe is opened once: a writer that came and went before the read
// leaves its bytes in the pipe, and one that comes later is waited for.
TEST_F(ChannelDocumentTest, NamedPipeIsReadWhetherItsWriterIsGoneOrYetToCome) {
  const std::string fifo = Path("pipe.sin");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto pattern = Pattern(4096);
  // A reader keeps the pipe's bytes while the writer is already gone.
  const int keeper = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(keeper, 0);
  const int writer = ::open(fifo.c_str(), O_WRONLY);
  ASSERT_EQ(::write(writer, pattern.data(), pattern.size()), 4096);
  ::close(writer);
  const Result<RadioImage> gone = LoadChannelDataFile(fifo);
  ::close(keeper);
  ASSERT_TRUE(gone) << gone.error().Message();
  EXPECT_TRUE(std::equal(pattern.begin(), pattern.end(), gone->bytes().begin()));

  std::thread later([&] { WriteBytes(fifo, pattern); });  // waits for the reader
  const Result<RadioImage> waited = LoadChannelDataFile(fifo);
  later.join();
  ASSERT_TRUE(waited) << waited.error().Message();
  EXPECT_TRUE(std::equal(pattern.begin(), pattern.end(), waited->bytes().begin()));
}

// Opening a device (a serial port would wait for ever) is refused at once.
TEST_F(ChannelDocumentTest, DevicesAreRefused) {
  ChannelDocument doc;
  const Status opened = doc.Open("/dev/zero");
  ASSERT_FALSE(opened);
  EXPECT_NE(opened.error().Message().find("/dev/zero: cannot open the file: it is a device"),
            std::string::npos)
      << opened.error().Message();
  EXPECT_EQ(doc.image(), ChannelDocument::NewDocumentImage());
  EXPECT_EQ(doc.path(), "");
}

TEST_F(ChannelDocumentTest, FailedSaveKeepsPathFlagAndNamesTheFile) {
  ChannelDocument doc;
  doc.SetModified();
  const std::string bad = Path("no-such-folder/radio.sin");
  const Status saved = doc.Save(bad);
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.error().Message(), bad + ": cannot save: cannot create a file in " +
                                         Path("no-such-folder") + ": No such file or directory");
  EXPECT_EQ(saved.error().code(), ENOENT);
  EXPECT_TRUE(doc.modified());
  EXPECT_EQ(doc.path(), "");

  const Status onto_folder = doc.Save(dir_.string());
  ASSERT_FALSE(onto_folder);
  EXPECT_TRUE(fs::is_directory(dir_));
}

// A write error in the middle of a save (here: the file size limit) leaves the
// previous file as it was and no temporary file behind.
TEST_F(ChannelDocumentTest, WriteErrorLeavesThePreviousFileIntact) {
  const std::string path = Path("radio.sin");
  const auto old_bytes = Pattern(4096);
  WriteBytes(path, old_bytes);

  ChannelDocument doc;
  doc.SetModified();
  struct rlimit saved_limit {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved_limit), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved_limit;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const Status saved = doc.Save(path);
  ::setrlimit(RLIMIT_FSIZE, &saved_limit);
  std::signal(SIGXFSZ, old_handler);

  ASSERT_FALSE(saved);
  EXPECT_NE(saved.error().Message().find(path), std::string::npos);
  EXPECT_NE(saved.error().Message().find("File too large"), std::string::npos)
      << saved.error().Message();
  EXPECT_EQ(saved.error().code(), EFBIG);
  EXPECT_EQ(ReadBytes(path), old_bytes);
  EXPECT_EQ(Entries(), std::vector<std::string>{"radio.sin"});
  EXPECT_TRUE(doc.modified());
}

TEST_F(ChannelDocumentTest, SaveReplacesAndKeepsPermissionsAndLinks) {
  const std::string real = Path("real.sin");
  WriteBytes(real, Pattern(4096));
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  const std::string link = Path("link.sin");
  fs::create_symlink(real, link);

  ChannelDocument doc;
  ASSERT_TRUE(doc.Save(link));
  EXPECT_TRUE(fs::is_symlink(link));
  const auto image = doc.image().bytes();
  EXPECT_EQ(ReadBytes(real), std::vector<std::uint8_t>(image.begin(), image.end()));
  struct stat info {};
  ASSERT_EQ(::stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(info.st_size, 4096);
}

// Save must not put a plain file in place of a pipe or a device (as root the
// rename would replace even /dev/null), nor replace a write-protected file.
TEST_F(ChannelDocumentTest, SaveRefusesPipesAndDevices) {
  const std::string fifo = Path("pipe.sin");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ChannelDocument doc;
  const Status onto_fifo = doc.Save(fifo);
  ASSERT_FALSE(onto_fifo);
  EXPECT_NE(onto_fifo.error().Message().find("not a regular file"), std::string::npos)
      << onto_fifo.error().Message();
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(Entries(), std::vector<std::string>{"pipe.sin"});
}

// A link that leads nowhere is refused with its reason, not replaced by a
// plain file.
TEST_F(ChannelDocumentTest, SaveRefusesDanglingLinksAndLinkLoops) {
  fs::create_symlink(Path("gone.sin"), Path("dangling.sin"));
  fs::create_symlink(Path("loop-b.sin"), Path("loop-a.sin"));
  fs::create_symlink(Path("loop-a.sin"), Path("loop-b.sin"));
  ChannelDocument doc;
  const Status dangling = doc.Save(Path("dangling.sin"));
  ASSERT_FALSE(dangling);
  EXPECT_EQ(dangling.error().Message(), Path("dangling.sin") +
                                            ": cannot save: it is a symbolic link to " +
                                            Path("gone.sin") + ", which does not exist");
  const Status loop = doc.Save(Path("loop-a.sin"));
  ASSERT_FALSE(loop);
  EXPECT_EQ(loop.error().Message(),
            Path("loop-a.sin") + ": cannot save: Too many levels of symbolic links");
  EXPECT_EQ(loop.error().code(), ELOOP);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"dangling.sin", "loop-a.sin", "loop-b.sin"}));
  EXPECT_TRUE(fs::is_symlink(Path("dangling.sin")));
  EXPECT_TRUE(fs::is_symlink(Path("loop-a.sin")));
  EXPECT_EQ(doc.path(), "");
}

// A writable file in a folder that takes no new file (the temporary file
// cannot be made there) is written in place. Root may create files in any
// folder, so the save then runs as an ordinary user in a child process.
TEST_F(ChannelDocumentTest, SaveWritesInPlaceWhereTheFolderTakesNoNewFile) {
  const std::string folder = Path("locked");
  const std::string path = folder + "/radio.sin";
  fs::create_directory(folder);
  WriteBytes(path, Pattern(5000));
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  RadioImage image = ChannelDocument::NewDocumentImage();
  image.set(0x123, 0x45);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    const Status saved = SaveChannelDataFile(path, image);
    if (!saved) std::fprintf(stderr, "%s\n", saved.error().Message().c_str());
    ::_exit(saved ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::chmod(folder.c_str(), 0755);

  EXPECT_EQ(WEXITSTATUS(status), 0);
  const auto bytes = image.bytes();
  EXPECT_EQ(ReadBytes(path), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode & 0777, 0666u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// SaveFile as an ordinary user (root may create files in any folder) in a
// child process whose files may grow to `size_limit` bytes at most, as on
// a disk with that little room: write() then fails with EFBIG instead of
// ENOSPC. Returns the error's message and code, or "" and 0.
std::pair<std::string, int> SaveAsUserWithin(const std::string& path,
                                             const std::vector<std::uint8_t>& bytes,
                                             rlim_t size_limit) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return {"no pipe", -1};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_fds[0]);
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    std::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit { size_limit, size_limit };
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(2);
    const Status saved = SaveFile(path, bytes);
    const std::string text =
        saved ? "0 " : std::to_string(saved.error().code()) + " " + saved.error().Message();
    if (::write(pipe_fds[1], text.data(), text.size()) < 0) ::_exit(2);
    ::_exit(0);
  }
  ::close(pipe_fds[1]);
  std::string text;
  char buffer[256];
  for (ssize_t n; (n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  ::close(pipe_fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {"the child failed", -1};
  const std::size_t blank = text.find(' ');
  return {text.substr(blank + 1), std::atoi(text.substr(0, blank).c_str())};
}

// In place, the new contents are given their room before a byte of the old
// ones is overwritten: a disk too full for them leaves the old file whole.
TEST_F(ChannelDocumentTest, InPlaceSaveThatFindsNoRoomLeavesTheOldFileAsItWas) {
  const std::string folder = Path("locked");
  const std::string path = folder + "/report.pdf";
  fs::create_directory(folder);
  std::vector<std::uint8_t> old_bytes = Pattern(8192);
  std::reverse(old_bytes.begin(), old_bytes.end());
  WriteBytes(path, old_bytes);
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);

  const std::vector<std::uint8_t> new_bytes = Pattern(16384);
  const auto [message, code] = SaveAsUserWithin(path, new_bytes, 12288);
  EXPECT_EQ(message, path + ": cannot save: File too large");
  EXPECT_EQ(code, EFBIG);
  EXPECT_EQ(ReadBytes(path), old_bytes);

  // With room enough the same save goes through, into the same file.
  const auto [done, no_code] = SaveAsUserWithin(path, new_bytes, RLIM_INFINITY);
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(done, "");
  EXPECT_EQ(no_code, 0);
  EXPECT_EQ(ReadBytes(path), new_bytes);
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// What a killed save leaves (its temporary file) is removed by the next
// save in that folder, once it has been left for a minute and no process
// has it open; everything else there stays.
TEST_F(ChannelDocumentTest, SaveRemovesTemporaryFilesThatKilledSavesLeft) {
  const auto make = [this](const std::string& name, bool old) {
    WriteBytes(Path(name), Pattern(100));
    if (old) {
      const struct timespec times[2] = {{::time(nullptr) - 61, 0}, {::time(nullptr) - 61, 0}};
      EXPECT_EQ(::utimensat(AT_FDCWD, Path(name).c_str(), times, 0), 0);
    }
  };
  make(".z-lm5-save-4242-17.tmp", true);   // left by a killed save
  make(".z-lm5-save-4242-18.tmp", true);   // still open: a save that waits
  make(".z-lm5-save-4243-19.tmp", false);  // a save under way
  make(".z-lm5-save-notes.txt", true);     // not a name a save gives
  make("draft.tmp", true);                 // the user's own
  fs::create_directory(Path(".z-lm5-save-1-1.tmp"));
  const int held = ::open(Path(".z-lm5-save-4242-18.tmp").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);

  ASSERT_TRUE(SaveChannelDataFile(Path("radio.sin"), ChannelDocument::NewDocumentImage()));
  ::close(held);
  EXPECT_EQ(Entries(), (std::vector<std::string>{".z-lm5-save-1-1.tmp", ".z-lm5-save-4242-18.tmp",
                                                 ".z-lm5-save-4243-19.tmp", ".z-lm5-save-notes.txt",
                                                 "draft.tmp", "radio.sin"}));
  EXPECT_EQ(ReadBytes(Path(".z-lm5-save-4242-18.tmp")), Pattern(100));
}

TEST_F(ChannelDocumentTest, SaveRefusesWriteProtectedFiles) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write to any file";
  ChannelDocument doc;
  const std::string locked = Path("locked.sin");
  const auto old_bytes = Pattern(4096);
  WriteBytes(locked, old_bytes);
  ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
  const Status onto_locked = doc.Save(locked);
  ASSERT_FALSE(onto_locked);
  EXPECT_NE(onto_locked.error().Message().find("Permission denied"), std::string::npos)
      << onto_locked.error().Message();
  EXPECT_EQ(ReadBytes(locked), old_bytes);
  EXPECT_EQ(doc.path(), "");
}

// Saving as root (sudo) over a user's file leaves it the user's.
TEST_F(ChannelDocumentTest, SaveKeepsTheOwnerOfTheReplacedFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to someone else";
  const std::string path = Path("theirs.sin");
  WriteBytes(path, Pattern(4096));
  ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  ChannelDocument doc;
  ASSERT_TRUE(doc.Save(path));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 65534u);
  EXPECT_EQ(info.st_gid, 65534u);
  EXPECT_EQ(ReadBytes(path).size(), 4096u);
}

// The temporary file must not need a longer name than the target's.
TEST_F(ChannelDocumentTest, SaveTakesTheLongestFileName) {
  const std::string name = std::string(251, 'x') + ".sin";  // 255 bytes, the usual limit
  ChannelDocument doc;
  const Status saved = doc.Save(Path(name));
  ASSERT_TRUE(saved) << saved.error().Message();
  EXPECT_EQ(Entries(), std::vector<std::string>{name});
  EXPECT_EQ(fs::file_size(Path(name)), 4096u);
}

TEST_F(ChannelDocumentTest, LoadAndSaveFunctionsWorkWithoutADocument) {
  RadioImage image;
  image.set(4095, 0x12);
  ASSERT_TRUE(SaveChannelDataFile(Path("a.sin"), image));
  const Result<RadioImage> loaded = LoadChannelDataFile(Path("a.sin"));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(*loaded, image);
  EXPECT_FALSE(SaveChannelDataFile("", image));
}

}  // namespace
}  // namespace zlm5
