// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/radio_image.h"
#include "tests/link/link_test_support.h"

// Programs run by the tests on POSIX: the command line and z-lm5-radio-sim
// on a pseudo-terminal.
namespace zlm5::test {

// A program run to its end.
struct ProcessResult {
  int exit_code = -1;  // -1 when it did not exit normally
  std::string out;
  std::string err;
};
// Standard output goes to `stdout_path` when given (`out` stays empty).
ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extra_env = {},
                         const std::string& stdout_path = {});

// z-lm5-radio-sim started with the given options; the terminal path is the
// first line it prints. Stopped (SIGTERM) at destruction if still running.
class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& options);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool started() const { return !terminal_.empty(); }
  const std::string& terminal() const { return terminal_; }
  // SIGTERM, then waits; returns the exit status.
  int Stop();
  // Waits for the program to end by itself (after --once or a hang-up).
  int Wait();
  std::string ErrorOutput() const { return ReadText(err_path_); }

 private:
  pid_t pid_ = -1;
  std::string terminal_;
  std::string err_path_;
  int status_ = -1;
};

// Lines of a simulator --log ("<seconds> rx|tx HEX"), without the times.
std::vector<std::string> LogFrames(const std::string& path);
int CountFrames(const std::vector<std::string>& frames, const std::string& frame);

// z-lm5-radio-sim over files of a temporary folder: the memory it starts
// from, the memory it saves and its frame log. What the tests through the
// real port (the transfer, the tuning, the command line) run against.
class SimulatorFiles {
 protected:
  // Starts the simulator with `options` and its save and log files; with
  // `memory`, the radio starts from it. started() tells whether it runs.
  void StartSimulator(std::vector<std::string> options,
                      const std::optional<RadioImage>& memory = std::nullopt);
  // The memory the simulator saved, once it has been stopped.
  std::vector<std::uint8_t> Saved();
  // The frames of its log, once it has been stopped.
  std::vector<std::string> Frames();

  TempDir dir;
  const std::string memory_file = dir.Path("radio.sin");
  const std::string save_file = dir.Path("saved.sin");
  const std::string log_file = dir.Path("log.txt");
  std::unique_ptr<SimProcess> sim;
};

}  // namespace zlm5::test
