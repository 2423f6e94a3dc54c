#include "files/channel_document.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/file_descriptor.h"
#include "files/file_saving.h"
#include "model/settings_block.h"

namespace zlm5 {

namespace {

constexpr const char* kUntitled = "Untitled";

Error OsError(const std::string& path, const std::string& doing, int error_number) {
  return Error(path, doing + std::strerror(error_number));
}

// Waits until a named pipe has bytes or its writer has closed it. A pipe
// opened before any writer came reports neither, so this also waits for the
// writer to come, as reading a pipe on the command line does.
bool WaitForPipe(int fd) {
  pollfd wait_for{fd, POLLIN, 0};
  for (;;) {
    if (::poll(&wait_for, 1, -1) >= 0) return true;
    if (errno != EINTR) return false;
  }
}

}  // namespace

Result<RadioImage> LoadChannelDataFile(const std::string& path) {
  // Opened once, and without waiting: a serial port would wait at the open
  // for its carrier (it is refused below instead), and a second open of a
  // named pipe would wait for a writer that may have come and gone already.
  // O_NONBLOCK has no effect on reading a regular file.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return OsError(path, "cannot open the file: ", errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return OsError(path, "cannot open the file: ", errno);
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) || S_ISSOCK(info.st_mode)) {
    return Error(path, "cannot open the file: it is a device, not a channel data file");
  }
  const bool pipe = S_ISFIFO(info.st_mode);

  RadioImage image;
  auto bytes = image.bytes();
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    if (pipe && !WaitForPipe(fd.get())) return OsError(path, "cannot read the file: ", errno);
    const ssize_t n = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
    if (n < 0) {
      if (errno == EINTR || (pipe && errno == EAGAIN)) continue;
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
  return SaveFile(path, image.bytes());
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
