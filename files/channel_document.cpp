#include "files/channel_document.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

#include "model/settings_block.h"

namespace zlm5 {

namespace {

constexpr const char* kUntitled = "Untitled";

Error OsError(const std::string& path, const std::string& doing, int error_number) {
  return Error(path, doing + std::strerror(error_number));
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the result (a delayed write error shows up here).
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The folder part of a path, "." when there is none.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Where Save really writes: a symbolic link is followed, so that saving
// through it replaces the file it points at and keeps the link.
std::string SaveTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
  }
  return path;
}

}  // namespace

Result<RadioImage> LoadChannelDataFile(const std::string& path) {
  // O_NONBLOCK keeps the open itself from waiting, so that a serial port
  // (which would wait for its carrier, then for bytes) is refused at once.
  // It has no effect on reading a regular file.
  FileDescriptor probe(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (probe.get() < 0) return OsError(path, "cannot open the file: ", errno);
  struct stat info {};
  if (::fstat(probe.get(), &info) != 0) return OsError(path, "cannot open the file: ", errno);
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) || S_ISSOCK(info.st_mode)) {
    return Error(path, "cannot open the file: it is a device, not a channel data file");
  }
  // A named pipe is read like a pipe on the command line: wait for its writer.
  FileDescriptor fd(S_ISFIFO(info.st_mode) ? ::open(path.c_str(), O_RDONLY | O_CLOEXEC)
                                           : ::dup(probe.get()));
  if (fd.get() < 0) return OsError(path, "cannot open the file: ", errno);

  RadioImage image;
  auto bytes = image.bytes();
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
    if (n < 0) {
      if (errno == EINTR) continue;
      return OsError(path, "cannot read the file: ", errno);
    }
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
  }
  if (filled < bytes.size()) {
    return Error(path, "not a channel data file: it is " + std::to_string(filled) +
                           " bytes long, a channel data file has " +
                           std::to_string(image_map::kSize) + " bytes");
  }
  return image;
}

Status SaveChannelDataFile(const std::string& path, const RadioImage& image) {
  if (path.empty()) return Error("(no file name)", "cannot save: the file name is empty");
  const std::string target = SaveTarget(path);

  // New files get the usual permissions (0666 less the umask); an existing
  // file keeps its own.
  mode_t mode = 0666;
  bool keep_mode = false;
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) return Error(path, "cannot save: it is a folder");
    // The rename below would put a plain file in place of a device, a pipe
    // or a socket (as root even /dev/null), so only plain files are replaced.
    if (!S_ISREG(existing.st_mode)) return Error(path, "cannot save: it is not a regular file");
    // A write-protected file stays protected: the rename would otherwise
    // replace it, since only the folder's permissions count for that.
    if (::access(target.c_str(), W_OK) != 0) return OsError(path, "cannot save: ", errno);
    mode = existing.st_mode & 07777;
    keep_mode = true;
  }

  // A temporary file beside the target, so that the rename stays within one
  // file system and replaces the target in one step. Its name is short and
  // does not grow with the target's, so that any name that fits can be saved.
  std::random_device random;
  const std::string folder = FolderOf(target);
  std::string temp;
  int raw_fd = -1;
  for (int attempt = 0; attempt < 100 && raw_fd < 0; ++attempt) {
    temp = (folder == "/" ? std::string() : folder) + "/.z-lm5-save-" + std::to_string(::getpid()) +
           "-" + std::to_string(random() % 1000000) + ".tmp";
    raw_fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (raw_fd < 0 && errno != EEXIST) {
      return OsError(path, "cannot save: cannot create a file in " + folder + ": ", errno);
    }
  }
  if (raw_fd < 0) return Error(path, "cannot save: no free temporary file name");
  FileDescriptor fd(raw_fd);

  auto fail = [&](const std::string& doing, int error_number) -> Status {
    ::unlink(temp.c_str());
    return OsError(path, doing, error_number);
  };
  if (keep_mode) {
    // The replaced file keeps its owner where we may give it (root saving a
    // user's file must not leave it to root); anyone else gets their own.
    // Before fchmod, which a change of owner would undo for set-id bits.
    if (::fchown(fd.get(), existing.st_uid, existing.st_gid) != 0) {
      // Not allowed: the file becomes ours, as a new file would.
    }
    if (::fchmod(fd.get(), mode) != 0) return fail("cannot save: ", errno);
  }
  const auto bytes = image.bytes();
  if (!WriteAll(fd.get(), bytes.data(), bytes.size())) return fail("cannot save: ", errno);
  if (::fsync(fd.get()) != 0) return fail("cannot save: ", errno);
  if (fd.Close() != 0) return fail("cannot save: ", errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail("cannot save: ", errno);

  // Make the rename itself durable; failing here no longer endangers data.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return Ok{};
}

ChannelDocument::ChannelDocument() : image_(NewDocumentImage()) {}

RadioImage ChannelDocument::NewDocumentImage() {
  RadioImage image;
  image.Fill(0xFF);
  for (const auto& d : settings_map::kNewDocumentDefaults) image.set(d.offset, d.value);
  return image;
}

void ChannelDocument::New() {
  image_ = NewDocumentImage();
  path_.clear();
  modified_ = false;
}

Status ChannelDocument::Open(const std::string& path) {
  Result<RadioImage> loaded = LoadChannelDataFile(path);
  if (!loaded) return loaded.error();
  image_ = *loaded;
  path_ = path;
  modified_ = false;
  return Ok{};
}

Status ChannelDocument::Save(const std::string& path) {
  Status saved = SaveChannelDataFile(path, image_);
  if (!saved) return saved;
  path_ = path;
  modified_ = false;
  return Ok{};
}

std::string ChannelDocument::title() const {
  if (path_.empty()) return kUntitled;
  const std::size_t slash = path_.find_last_of('/');
  return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

}  // namespace zlm5
