// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

#include "model/error.h"

namespace zlm5 {

// A file written in full under a temporary name (".z-lm5-save-PID-N.tmp")
// in the folder where it belongs, and only then given its real name in one
// step: renamed over an existing file, or linked to a name that must not
// exist yet. Until then no file of the user's is touched, so a process
// killed half-way leaves at most this temporary file behind.
//
// The file stays open until it is named: a temporary file that no process
// holds open any more, and that has not changed for a minute, was left by a
// killed save (RemoveStaleTemporaryFiles). On Windows the file is closed
// just before it is named, as Windows renames no file that is open without
// sharing its deletion; it is then seconds old, far from stale.
//
// Paths are UTF-8. Error codes are the system's (Error::FromSystem): errno
// on POSIX, GetLastError() on Windows.
class TemporaryFile {
 public:
  // What LinkAs did.
  enum class Naming {
    kNamed,      // the file has the name now
    kNameTaken,  // the name exists: nothing changed, try another one
  };

  // Creates an empty temporary file in `folder` (on POSIX with permissions
  // 0666 less the umask), after removing what earlier saves left in that
  // folder. The error's code is the system's: EACCES or EPERM on POSIX,
  // ERROR_ACCESS_DENIED on Windows, where the folder takes no new file.
  static Result<TemporaryFile> Create(const std::string& folder);

  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&&) = delete;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  // Removes the temporary name, if the file still has it.
  ~TemporaryFile();

  // Open for writing until the file is named: the file descriptor on
  // POSIX, the HANDLE on Windows.
  std::intptr_t handle() const { return handle_; }
  const std::string& path() const { return path_; }

  // Writes all of `bytes` and flushes them to the disk.
  Status Write(std::span<const std::uint8_t> bytes);
  // After Write: puts the file in place of `target` (in the same folder) in
  // one step, and makes that step durable.
  Status RenameTo(const std::string& target);
  // After Write: gives the file the name `target` (in the same folder)
  // unless that name exists, in one step that no other process can get in
  // between: kNameTaken leaves the existing file untouched, and this file
  // can be given another name. An error names `target`.
  Result<Naming> LinkAs(const std::string& target);

 private:
  TemporaryFile(std::string folder, std::string path, std::intptr_t handle);
  // Closes the file once it has its name, and makes the name durable.
  void CloseNamed();

  std::string folder_;
  std::string path_;           // empty once the file has its name
  std::intptr_t handle_ = -1;  // -1 once closed
};

// How long a temporary file must have been left unchanged before a save may
// take it for the remains of a killed one. A save in progress writes its
// file in well under a second.
inline constexpr std::chrono::seconds kStaleTemporaryAge{60};

// Removes the temporary files of saves in `folder` that are older than
// kStaleTemporaryAge (by their time of last change, against `now`) and
// open in no process. Anything else in the folder, and a file that cannot
// be removed, is left alone.
//
// On Linux, whether a file is open is looked up in /proc; where it cannot
// be told (no /proc), nothing is removed. On Windows no process's open files
// can be listed, but a save holds its temporary file open without letting
// anyone delete it, so an old one that can be deleted is removed: there,
// "open in no process" means "deletable".
void RemoveStaleTemporaryFiles(const std::string& folder,
                               std::chrono::system_clock::time_point now);

}  // namespace zlm5
