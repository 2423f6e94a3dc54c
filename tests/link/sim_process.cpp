// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/link/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "files/channel_document.h"
#include "link/wire_trace.h"

namespace zlm5::test {
namespace {

int ExitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extra_env,
                         const std::string& stdout_path) {
  TempDir dir;
  const std::string out_path = stdout_path.empty() ? dir.Path("out") : stdout_path;
  const std::string err_path = dir.Path("err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  // An extra variable replaces the one inherited: the program would see
  // the first of two.
  const auto replaced = [&extra_env](std::string_view inherited) {
    const std::string_view name = inherited.substr(0, inherited.find('=') + 1);
    return std::any_of(extra_env.begin(), extra_env.end(),
                       [name](const std::string& e) { return e.starts_with(name); });
  };
  std::vector<std::string> env_store;
  for (char** e = environ; *e; ++e) {
    if (!replaced(*e)) env_store.emplace_back(*e);
  }
  for (const std::string& e : extra_env) env_store.push_back(e);
  std::vector<char*> env;
  for (std::string& e : env_store) env.push_back(e.data());
  env.push_back(nullptr);
  pid_t pid = -1;
  ProcessResult result;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data()) == 0) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exit_code = ExitCode(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  if (stdout_path.empty()) result.out = ReadText(out_path);
  result.err = ReadText(err_path);
  return result;
}

SimProcess::SimProcess(const std::vector<std::string>& options) {
  char templ[] = "/tmp/zlm5-sim-err-XXXXXX";
  const int err_fd = mkstemp(templ);
  if (err_fd >= 0) ::close(err_fd);
  err_path_ = templ;

  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, err_path_.c_str(), O_WRONLY | O_TRUNC, 0600);
  std::vector<std::string> argv = {ZLM5_RADIO_SIM};
  argv.insert(argv.end(), options.begin(), options.end());
  std::vector<char*> args;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  const int spawned = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawned != 0) {
    pid_ = -1;
    ::close(out[0]);
    return;
  }
  // The first line is the terminal path; give a loaded machine time.
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd p{out[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char buf[256];
    const ssize_t n = ::read(out[0], buf, sizeof buf);
    if (n <= 0) break;
    line.append(buf, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  if (const auto nl = line.find('\n'); nl != std::string::npos) terminal_ = line.substr(0, nl);
}

SimProcess::~SimProcess() {
  Stop();
  std::error_code ec;
  std::filesystem::remove(err_path_, ec);
}

int SimProcess::Stop() {
  if (pid_ > 0) kill(pid_, SIGTERM);
  return Wait();
}

int SimProcess::Wait() {
  if (pid_ > 0) {
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    status_ = ExitCode(status);
    pid_ = -1;
  }
  return status_;
}

std::vector<std::string> LogFrames(const std::string& path) {
  std::vector<std::string> frames;
  std::istringstream in(ReadText(path));
  std::string line;
  while (std::getline(in, line)) {
    const auto space = line.find(' ');
    if (space != std::string::npos) frames.push_back(line.substr(space + 1));
  }
  return frames;
}

int CountFrames(const std::vector<std::string>& frames, const std::string& frame) {
  return static_cast<int>(std::count(frames.begin(), frames.end(), frame));
}

void SimulatorFiles::StartSimulator(std::vector<std::string> options,
                                    const std::optional<RadioImage>& memory) {
  if (memory) {
    WriteBytes(memory_file, *memory);
    options.insert(options.end(), {"--memory", memory_file});
  }
  options.insert(options.end(), {"--save", save_file, "--log", log_file});
  sim = std::make_unique<SimProcess>(options);
}

std::vector<std::uint8_t> SimulatorFiles::Saved() {
  sim->Stop();
  return ReadBytes(save_file);
}

std::vector<std::string> SimulatorFiles::Frames() {
  sim->Stop();
  return LogFrames(log_file);
}

}  // namespace zlm5::test
