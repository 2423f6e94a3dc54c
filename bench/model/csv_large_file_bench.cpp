// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a channel list as large as an import takes (64 MiB), read from
// its file as the command line and the window read it: each shape should
// end in under 2 s and under 200 MB resident, since the import holds no
// more than 128 channels and a bounded report however long the file is.
//   AllRowsRejected   a Frequency header and rows of "1" (1 MHz, refused)
//   ValidBeyond128    valid rows, far more than the radio's 128 channels
//   LocatedRejected   Location and Frequency, every row refused: the rows
//                     are all read, the report is cut after its first lines
// The counter peak_resident_MB is the process's peak resident memory
// during one import, file contents included (Linux: VmHWM, reset before
// each import through /proc/self/clear_refs; absent elsewhere).

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/file_reading.h"
#include "model/channel_csv.h"
#include "model/memory_grid.h"

namespace zlm5 {
namespace {

// The largest channel list the command line and the window read.
constexpr std::size_t kFileSize = 64u << 20;

// Writes the header, then `row` again and again up to kFileSize bytes.
std::filesystem::path WriteList(const std::string& name, const std::string& header,
                                const std::string& row) {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("zlm5-bench-" + std::to_string(::getpid()) + "-" + name);
  std::string text = header;
  text.reserve(kFileSize);
  while (text.size() + row.size() <= kFileSize) text += row;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// Peak resident memory in MB since the last ResetPeakResident, or -1.
void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }
double PeakResidentMB() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmHWM:") {
      double kilobytes = 0;
      status >> kilobytes;
      return kilobytes / 1024.0;
    }
  }
  return -1;
}

void ImportFile(benchmark::State& state, const std::string& name, const std::string& header,
                const std::string& row, std::size_t expected_channels) {
  const std::filesystem::path path = WriteList(name, header, row);
  double peak = 0;
  std::size_t report_lines = 0;
  for (auto _ : state) {
    ResetPeakResident();
    const Result<std::string> text = ReadFileStart(path.string(), {kFileSize, true, "a list"});
    if (!text) {
      state.SkipWithError(text.error().Message().c_str());
      break;
    }
    const Result<ChannelCsvImport> import = ReadChannelCsv(*text);
    if (!import || import->channels.size() != expected_channels) {
      state.SkipWithError("the import did not place the channels it should");
      break;
    }
    report_lines = import->report.size();
    MemoryGrid grid;
    ApplyChannelImport(*import, grid);
    benchmark::DoNotOptimize(grid);
    peak = std::max(peak, PeakResidentMB());
  }
  std::filesystem::remove(path);
  state.counters["peak_resident_MB"] = peak;
  state.counters["report_lines"] = static_cast<double>(report_lines);
}

void BM_AllRowsRejected(benchmark::State& state) {
  ImportFile(state, "rejected.csv", "Frequency\n", "1\n", 0);
}
BENCHMARK(BM_AllRowsRejected)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ValidBeyond128(benchmark::State& state) {
  ImportFile(state, "valid.csv", "Frequency\n", "146.52\n", 128);
}
BENCHMARK(BM_ValidBeyond128)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LocatedRejected(benchmark::State& state) {
  ImportFile(state, "located.csv", "Location,Frequency\n", "1,1\n", 0);
}
BENCHMARK(BM_LocatedRejected)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace zlm5
