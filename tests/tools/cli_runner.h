// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs the built z-lm5-cli as a script would, capturing what it prints and
// its exit code. ZLM5_CLI_PATH is set by the test target.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zlm5::testing_cli {

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Standard output and error pass through files in `scratch_dir`, which are
// removed again. With `stdout_file`, standard output goes there and stays
// (run.out is then empty).
inline CliRun RunCli(const std::vector<std::string>& args, const std::filesystem::path& scratch_dir,
                     const char* stdout_file = nullptr) {
  const std::string out_path =
      stdout_file != nullptr ? stdout_file : (scratch_dir / ".stdout").string();
  const std::string err_path = (scratch_dir / ".stderr").string();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, 1);
    ::dup2(err, 2);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(ZLM5_CLI_PATH));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(ZLM5_CLI_PATH, argv.data());
    ::_exit(127);
  }
  CliRun run;
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (stdout_file == nullptr) {
    run.out = ReadText(out_path);
    std::filesystem::remove(out_path);
  }
  run.err = ReadText(err_path);
  std::filesystem::remove(err_path);
  return run;
}

}  // namespace zlm5::testing_cli
