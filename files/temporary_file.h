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
// The file stays open until it has its name: a temporary file that no
// process holds open any more, and that has not changed for a minute, was
// left by a killed save (RemoveStaleTemporaryFiles).
class TemporaryFile {
 public:
  // Creates an empty temporary file in `folder` (permissions 0666 less the
  // umask), after removing what earlier saves left in that folder. The
  // error's code is open()'s: EACCES or EPERM where the folder takes no new
  // file.
  static Result<TemporaryFile> Create(const std::string& folder);

  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&&) = delete;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  // Removes the temporary name, if the file still has it.
  ~TemporaryFile();

  // Open for writing, until the file has its name.
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

  // Writes all of `bytes` and flushes them to the disk.
  Status Write(std::span<const std::uint8_t> bytes);
  // After Write: puts the file in place of `target` (in the same folder) in
  // one step, and makes that step durable.
  Status RenameTo(const std::string& target);
  // After Write: gives the file the name `target` (in the same folder)
  // unless that name exists: the error's code is then EEXIST, the existing
  // file is untouched and this file can be given another name.
  Status LinkAs(const std::string& target);

 private:
  TemporaryFile(std::string folder, std::string path, int fd);
  // Closes the file once it has its name, and makes the name durable.
  void CloseNamed();

  std::string folder_;
  std::string path_;  // empty once the file has its name
  int fd_ = -1;
};

// How long a temporary file must have been left unchanged before a save may
// take it for the remains of a killed one. A save in progress writes its
// file in well under a second.
inline constexpr std::chrono::seconds kStaleTemporaryAge{60};

// Removes the temporary files of saves in `folder` that are older than
// kStaleTemporaryAge (by their time of last change, against `now`) and
// open in no process. Where it cannot be told whether a file is open (no
// /proc to look at), nothing is removed. Anything else in the folder, and
// a file that cannot be removed, is left alone.
void RemoveStaleTemporaryFiles(const std::string& folder,
                               std::chrono::system_clock::time_point now);

}  // namespace zlm5
