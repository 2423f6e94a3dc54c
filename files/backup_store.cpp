// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/backup_store.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "files/local_time.h"
#include "files/temporary_file.h"
#include "files/user_folders.h"
#include "files/utf8_path.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

// "2026-12-07_21-47-18": sorts as text in time order.
constexpr std::size_t kStampLength = 19;
constexpr std::string_view kStampShape = "dddd-dd-dd_dd-dd-dd";
static_assert(kStampShape.size() == kStampLength);
constexpr std::string_view kExtension = ".sin";
// Backups a single second can take before Save gives up; a program that
// makes this many in one second is broken, not busy.
constexpr int kMaxSequence = 1000;

struct ParsedName {
  std::string stamp;
  TransferDirection direction;
  int sequence;
};

// The parts of a backup file name, or nothing for any other name.
std::optional<ParsedName> ParseBackupName(std::string_view name) {
  if (name.size() < kStampLength + 1 || !name.ends_with(kExtension)) return std::nullopt;
  for (std::size_t i = 0; i < kStampLength; ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(name[i])) != 0;
    if (kStampShape[i] == 'd' ? !digit : name[i] != kStampShape[i]) return std::nullopt;
  }
  ParsedName parsed{std::string(name.substr(0, kStampLength)), TransferDirection::kRead, 1};
  std::string_view rest = name.substr(kStampLength, name.size() - kStampLength - kExtension.size());
  if (!rest.starts_with('_')) return std::nullopt;
  rest.remove_prefix(1);
  if (rest.starts_with(DirectionName(TransferDirection::kRead))) {
    rest.remove_prefix(DirectionName(TransferDirection::kRead).size());
  } else if (rest.starts_with(DirectionName(TransferDirection::kWrite))) {
    parsed.direction = TransferDirection::kWrite;
    rest.remove_prefix(DirectionName(TransferDirection::kWrite).size());
  } else {
    return std::nullopt;
  }
  if (rest.empty()) return parsed;
  // "-2" and up, written without leading zeros, as Save names them.
  if (rest.size() < 2 || rest[0] != '-' || rest[1] == '0') return std::nullopt;
  const auto [end, ec] =
      std::from_chars(rest.data() + 1, rest.data() + rest.size(), parsed.sequence);
  if (ec != std::errc() || end != rest.data() + rest.size() || parsed.sequence < 2) {
    return std::nullopt;
  }
  return parsed;
}

std::string BackupName(const std::string& stamp, TransferDirection direction, int sequence) {
  std::string name = stamp + "_" + std::string(DirectionName(direction));
  if (sequence > 1) name += "-" + std::to_string(sequence);
  return name + std::string(kExtension);
}

}  // namespace

std::string_view DirectionName(TransferDirection direction) {
  return direction == TransferDirection::kRead ? "read" : "write";
}

std::string DefaultBackupFolder() { return Utf8FromPath(PathFromUtf8(DataFolder()) / "backups"); }

BackupStore::BackupStore(std::string folder, std::size_t keep)
    : folder_(std::move(folder)), keep_(keep) {}

Result<std::string> BackupStore::Save(const RadioImage& image, TransferDirection direction) {
  return Save(image, direction, LocalTime(std::time(nullptr)));
}

Result<std::string> BackupStore::Save(const RadioImage& image, TransferDirection direction,
                                      const std::tm& local_time) {
  std::error_code ec;
  fs::create_directories(PathFromUtf8(folder_), ec);
  if (ec) return Error(folder_, "cannot create the backup folder: " + ec.message(), ec.value());

  char stamp[kStampLength + 1];
  if (std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local_time) != kStampLength) {
    return Error(folder_, "cannot save a backup: the time is out of range");
  }
  // After the backups already made in this second, whichever their direction.
  int sequence = 1;
  const Result<std::vector<BackupEntry>> existing = List();
  if (!existing) return existing.error();
  for (const BackupEntry& entry : *existing) {
    if (const auto parsed = ParseBackupName(Utf8FromPath(PathFromUtf8(entry.path).filename()));
        parsed && parsed->stamp == stamp) {
      sequence = std::max(sequence, parsed->sequence + 1);
    }
  }
  // The image is written and flushed under a temporary name first, and
  // only then linked to the backup's name: link() takes no name that
  // exists, so another program saving a backup in the same second takes
  // the next number instead of replacing this one, and a kill at any point
  // leaves no backup that is not whole.
  Result<TemporaryFile> temp = TemporaryFile::Create(folder_);
  if (!temp) {
    return Error(folder_, "cannot save a backup: " + temp.error().reason(), temp.error().code());
  }
  if (Status written = temp->Write(image.bytes()); !written) {
    return Error(folder_, "cannot save a backup: " + written.error().reason(),
                 written.error().code());
  }
  std::string path;
  for (;; ++sequence) {
    if (sequence > kMaxSequence) return Error(folder_, "cannot save a backup: no free file name");
    path = Utf8FromPath(PathFromUtf8(folder_) / BackupName(stamp, direction, sequence));
    const Result<TemporaryFile::Naming> linked = temp->LinkAs(path);
    if (!linked) {
      return Error(path, "cannot save the backup: " + linked.error().reason(),
                   linked.error().code());
    }
    if (*linked == TemporaryFile::Naming::kNamed) break;
  }
  Rotate();
  return path;
}

Result<std::vector<BackupEntry>> BackupStore::List() const {
  std::vector<BackupEntry> found;
  std::error_code ec;
  fs::directory_iterator it(PathFromUtf8(folder_), ec);
  if (ec == std::errc::no_such_file_or_directory) return found;
  if (ec) return Error(folder_, "cannot list the backups: " + ec.message(), ec.value());
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    const auto parsed = ParseBackupName(Utf8FromPath(it->path().filename()));
    std::error_code type_ec;
    if (!parsed || !it->is_regular_file(type_ec)) continue;
    std::string time = parsed->stamp;
    // "2026-12-07_21-47-18" -> "2026-12-07 21:47:18"
    time[10] = ' ';
    time[13] = ':';
    time[16] = ':';
    found.push_back({Utf8FromPath(it->path()), parsed->direction, time, parsed->sequence});
  }
  if (ec) return Error(folder_, "cannot list the backups: " + ec.message(), ec.value());
  std::sort(found.begin(), found.end(), [](const BackupEntry& a, const BackupEntry& b) {
    if (a.time != b.time) return a.time > b.time;
    if (a.sequence != b.sequence) return a.sequence > b.sequence;
    return a.direction > b.direction;
  });
  return found;
}

void BackupStore::Rotate() const {
  const Result<std::vector<BackupEntry>> backups = List();
  if (!backups) return;
  for (std::size_t i = keep_; i < backups->size(); ++i) {
    std::error_code ignored;
    fs::remove(PathFromUtf8((*backups)[i].path), ignored);
  }
}

}  // namespace zlm5
