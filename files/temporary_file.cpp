// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/temporary_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <optional>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

#include "files/file_descriptor.h"
#include "files/temporary_name.h"

namespace zlm5 {

namespace {

// `name` in `folder`, without doubling the slash of "/".
std::string InFolder(const std::string& folder, std::string_view name) {
  return (folder == "/" ? std::string() : folder) + "/" + std::string(name);
}

// Makes a rename or link in `folder` durable; failing here no longer
// endangers data, so it is not reported.
void SyncFolder(const std::string& folder) {
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

struct FileId {
  dev_t device;
  ino_t inode;
  bool operator==(const FileId&) const = default;
};

// Which of `files` some process holds open, looking through every
// process's open files in /proc (Linux). Processes of other users cannot be
// looked into and are passed over: they do not open our temporary files.
// Nothing when /proc cannot be read at all.
std::optional<std::vector<FileId>> OpenAmong(const std::vector<FileId>& files) {
  DIR* self = ::opendir("/proc/self/fd");
  if (self == nullptr) return std::nullopt;
  ::closedir(self);
  DIR* proc = ::opendir("/proc");
  if (proc == nullptr) return std::nullopt;
  std::vector<FileId> open;
  while (const dirent* process = ::readdir(proc)) {
    if (std::isdigit(static_cast<unsigned char>(process->d_name[0])) == 0) continue;
    const std::string fds = std::string("/proc/") + process->d_name + "/fd";
    DIR* list = ::opendir(fds.c_str());
    if (list == nullptr) continue;  // gone, or another user's
    while (const dirent* fd = ::readdir(list)) {
      struct stat info {};
      // Follows the link to the open file itself.
      if (fd->d_name[0] == '.' || ::fstatat(::dirfd(list), fd->d_name, &info, 0) != 0) continue;
      const FileId id{info.st_dev, info.st_ino};
      if (std::find(files.begin(), files.end(), id) != files.end()) open.push_back(id);
    }
    ::closedir(list);
  }
  ::closedir(proc);
  return open;
}

}  // namespace

void RemoveStaleTemporaryFiles(const std::string& folder,
                               std::chrono::system_clock::time_point now) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::pair<std::string, FileId>> stale;
  while (const dirent* entry = ::readdir(dir)) {
    if (!temporary_name::Matches(entry->d_name)) continue;
    struct stat info {};
    if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode)) {
      continue;
    }
    const auto changed = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
    if (now - changed < kStaleTemporaryAge) continue;
    stale.emplace_back(entry->d_name, FileId{info.st_dev, info.st_ino});
  }
  ::closedir(dir);
  if (stale.empty()) return;  // the usual case: /proc is not looked at

  std::vector<FileId> ids;
  for (const auto& [name, id] : stale) ids.push_back(id);
  const std::optional<std::vector<FileId>> open = OpenAmong(ids);
  if (!open) return;
  for (const auto& [name, id] : stale) {
    if (std::find(open->begin(), open->end(), id) != open->end()) continue;
    // A removal that fails (the folder is not ours to change) leaves it.
    ::unlink(InFolder(folder, name).c_str());
  }
}

TemporaryFile::TemporaryFile(std::string folder, std::string path, std::intptr_t handle)
    : folder_(std::move(folder)), path_(std::move(path)), handle_(handle) {}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : folder_(std::move(other.folder_)),
      path_(std::exchange(other.path_, std::string())),
      handle_(std::exchange(other.handle_, -1)) {}

TemporaryFile::~TemporaryFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  if (!path_.empty()) ::unlink(path_.c_str());
}

Result<TemporaryFile> TemporaryFile::Create(const std::string& folder) {
  RemoveStaleTemporaryFiles(folder, std::chrono::system_clock::now());
  std::random_device random;
  for (int attempt = 0; attempt < temporary_name::kAttempts; ++attempt) {
    std::string path =
        InFolder(folder, temporary_name::Make(static_cast<unsigned long>(::getpid()), random()));
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return TemporaryFile(folder, std::move(path), fd);
    if (errno != EEXIST) return Error::FromErrno(folder, errno);
  }
  return Error(folder, "no free temporary file name");
}

Status TemporaryFile::Write(std::span<const std::uint8_t> bytes) {
  if (!WriteAll(static_cast<int>(handle_), bytes)) return Error::FromErrno(path_, errno);
  if (::fsync(static_cast<int>(handle_)) != 0) return Error::FromErrno(path_, errno);
  return Ok{};
}

void TemporaryFile::CloseNamed() {
  // Written and flushed before it was named: fsync has reported what a
  // close could, and a close error would come too late to undo the name.
  ::close(static_cast<int>(std::exchange(handle_, -1)));
  SyncFolder(folder_);
}

Status TemporaryFile::RenameTo(const std::string& target) {
  if (::rename(path_.c_str(), target.c_str()) != 0) return Error::FromErrno(path_, errno);
  path_.clear();
  CloseNamed();
  return Ok{};
}

Result<TemporaryFile::Naming> TemporaryFile::LinkAs(const std::string& target) {
  if (::link(path_.c_str(), target.c_str()) != 0) {
    if (errno == EEXIST) return Naming::kNameTaken;
    return Error::FromErrno(target, errno);
  }
  ::unlink(path_.c_str());
  path_.clear();
  CloseNamed();
  return Naming::kNamed;
}

}  // namespace zlm5
