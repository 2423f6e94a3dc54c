// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"
#include "model/radio_image.h"
#include "model/transfer_direction.h"

namespace zlm5 {

// "read" or "write", as in the backup file names.
std::string_view DirectionName(TransferDirection direction);

// How many backups the folder keeps: a year of a busy owner's transfers,
// some 800 KiB.
inline constexpr std::size_t kBackupsKept = 200;

// The "backups" folder in the user's data folder (DataFolder in
// files/user_folders.h): ~/.local/share/z-lm5/backups on Linux,
// %LOCALAPPDATA%\z-lm5\backups on Windows.
std::string DefaultBackupFolder();

// One backup found in the folder.
struct BackupEntry {
  std::string path;
  TransferDirection direction = TransferDirection::kRead;
  std::string time;  // local time of the transfer, "2026-12-07 21:47:18"
  // 1 for the first backup of its second, 2 for the next ("..._read-2.sin").
  int sequence = 1;
};

// The images of completed transfers, each a channel data file in `folder`
// named by the local time and direction of its transfer:
//
//   2026-12-07_21-47-18_read.sin     the image a read brought back
//   2026-12-07_21-47-18_write-2.sin  the image a write sent, the second
//                                    backup in that same second
//
// The number after the direction counts the backups within one second
// across both directions, so the names alone put the backups in the order
// they were made, and a backup never replaces an earlier one. Only names of
// exactly this shape are backups: the store lists and deletes nothing else
// in the folder.
class BackupStore {
 public:
  explicit BackupStore(std::string folder, std::size_t keep = kBackupsKept);

  const std::string& folder() const { return folder_; }

  // Creates the folder when needed, writes the image as a new file (a
  // TemporaryFile linked to the backup's name once it is whole, so that a
  // backup is complete or not there at all, even after a kill) and then
  // deletes the oldest backups beyond `keep`. Returns the new file's path. An error
  // names the folder or the file and the reason; the transfer it belongs to
  // has still succeeded, and the caller only reports it.
  Result<std::string> Save(const RadioImage& image, TransferDirection direction,
                           const std::tm& local_time);
  // The same at the current local time.
  Result<std::string> Save(const RadioImage& image, TransferDirection direction);

  // The backups, newest first. An absent folder holds none; a folder that
  // cannot be read is an error.
  Result<std::vector<BackupEntry>> List() const;

 private:
  // Deletes backups beyond the newest `keep_`; a failure to delete one is
  // not an error of the backup just made.
  void Rotate() const;

  std::string folder_;
  std::size_t keep_;
};

}  // namespace zlm5
