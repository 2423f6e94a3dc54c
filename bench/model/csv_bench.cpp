// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the CSV exchange: importing a long list (a whole repeater
// directory of 10,000 rows, of which only the first 128 find a channel) and
// exporting a full document. Both happen while the user waits for a dialog;
// each should stay well under 50 ms.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "model/channel_codec.h"
#include "model/channel_csv.h"
#include "model/memory_grid.h"

namespace zlm5 {
namespace {

constexpr int kDirectoryRows = 10000;

// Rows in the format with each tone mode, repeater offsets and names that
// need shortening, as a directory would publish them.
std::string DirectoryCsv() {
  static const char* const kTones[] = {
      ",88.5,88.5,023,NN,023,Tone->Tone", "Tone,100.0,88.5,023,NN,023,Tone->Tone",
      "TSQL,67.0,67.0,023,NN,023,Tone->Tone", "DTCS,88.5,88.5,754,NR,754,Tone->Tone",
      "Cross,88.5,71.9,143,RN,023,DTCS->Tone"};
  std::string csv(channel_csv::kHeader[0]);
  for (std::size_t i = 1; i < channel_csv::kHeader.size(); ++i) {
    csv += ',';
    csv += channel_csv::kHeader[i];
  }
  csv += "\r\n";
  for (int n = 1; n <= kDirectoryRows; ++n) {
    const bool uhf = n % 2 == 0;
    char khz[8];
    std::snprintf(khz, sizeof khz, "%03d", 5 * (n % 200));  // on the 5 kHz steps
    csv += std::to_string(n) + ",Repeater " + std::to_string(n) + "," + (uhf ? "439." : "145.") +
           khz + "000," + (uhf ? "-,7.600000," : "-,0.600000,") + kTones[n % 5] + "," +
           (n % 3 ? "FM" : "NFM") + ",12.50,,5.0W,\"Town " + std::to_string(n) + ", hill\",,,,\r\n";
  }
  return csv;
}

void BM_ImportDirectory(benchmark::State& state) {
  const std::string csv = DirectoryCsv();
  for (auto _ : state) {
    MemoryGrid grid;
    const Result<ChannelCsvImport> import = ReadChannelCsv(csv);
    if (!import || import->channels.size() != 128) {
      state.SkipWithError("the first 128 rows did not all find a channel");
      break;
    }
    ApplyChannelImport(*import, grid);
    benchmark::DoNotOptimize(grid);
  }
  state.counters["csv_bytes"] = static_cast<double>(csv.size());
}
BENCHMARK(BM_ImportDirectory)->Unit(benchmark::kMillisecond);

void BM_ExportFullDocument(benchmark::State& state) {
  MemoryGrid grid;
  const char* tones[] = {"67.0", "D023N", "254.1", "D754I", "OFF"};
  for (int row = 1; row <= 128; ++row) {
    CommitCellText(grid, row, grid_layout::kColReceive, std::to_string(136 + row) + ".12500",
                   CommitPath::LeaveCell);
    CommitCellText(grid, row, grid_layout::kColTransmit, std::to_string(300 + row) + ".00625",
                   CommitPath::LeaveCell);
    CommitCellText(grid, row, grid_layout::kColRxTone, tones[row % 5], CommitPath::LeaveCell);
    CommitCellText(grid, row, grid_layout::kColTxTone, tones[(row + 2) % 5], CommitPath::LeaveCell);
    CommitCellText(grid, row, grid_layout::kColName, "CH " + std::to_string(row),
                   CommitPath::LeaveCell);
  }
  std::size_t size = 0;
  for (auto _ : state) {
    const std::string csv = ChannelsToCsv(grid);
    size = csv.size();
    benchmark::DoNotOptimize(csv.data());
  }
  state.counters["csv_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_ExportFullDocument)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zlm5
