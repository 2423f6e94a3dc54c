// SPDX-License-Identifier: GPL-3.0-or-later
// Channel lists in the CSV exchange format: what an export writes, how an
// import types rows into the table, what it refuses, and that a round trip
// loses nothing.

#include <gtest/gtest.h>

#include <random>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/channel_csv.h"
#include "model/channel_rows.h"
#include "model/form_lists.h"
#include "model/frequency_text.h"
#include "model/memory_grid.h"
#include "model/tone_tables.h"

namespace zlm5 {
namespace {

namespace gl = grid_layout;

constexpr const char* kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

void Type(MemoryGrid& grid, int row, int col, const std::string& text) {
  CommitCellText(grid, row, col, text, CommitPath::LeaveCell);
}

// Cells 1..11 of a row, tab-separated, as `z-lm5-cli grid` prints them.
std::string Row(const ChannelGrid& grid, int row) {
  std::string text;
  for (int col = 1; col < gl::kColumns; ++col) {
    if (col > 1) text += '\t';
    text += grid.TextMatrix(row, col);
  }
  return text;
}

// The table a document shows after its grid was saved and opened again.
MemoryGrid Reopened(const MemoryGrid& edited) {
  RadioImage image = ChannelDocument::NewDocumentImage();
  GridToImage(edited, image);
  MemoryGrid grid;
  ImageToGrid(image, grid);
  return grid;
}

ChannelCsvImport Read(const std::string& csv, int first_channel = 0) {
  Result<ChannelCsvImport> import = ReadChannelCsv(csv, CsvImportOptions{first_channel});
  EXPECT_TRUE(import.ok()) << import.error().Message();
  return import.ok() ? *import : ChannelCsvImport{};
}

MemoryGrid Imported(const std::string& csv, int first_channel = 0) {
  MemoryGrid grid;
  ApplyChannelImport(Read(csv, first_channel), grid);
  return grid;
}

std::vector<std::string> ReportOf(const ChannelCsvImport& import) {
  std::vector<std::string> lines;
  for (const ImportReportLine& l : import.report) {
    lines.push_back(std::to_string(l.line) + " ch" + std::to_string(l.channel) + ": " + l.reason);
  }
  return lines;
}

TEST(ChannelCsvExport, WritesEachDuplexFormListAndCommentCell) {
  MemoryGrid grid;
  Type(grid, 1, 1, "146.52");
  Type(grid, 1, 11, "rpt 1");
  Type(grid, 3, 1, "145.5");
  Type(grid, 3, 2, "145.1");  // 400 kHz below
  Type(grid, 3, 5, "Narrow");
  Type(grid, 3, 6, "No");
  Type(grid, 3, 7, "Low");
  Type(grid, 3, 8, "CCIR");
  Type(grid, 3, 9, "OFF");
  Type(grid, 3, 10, "QT/DQT");
  Type(grid, 4, 1, "430.00625");
  Type(grid, 4, 2, "440.00625");  // 10 MHz above: still a repeater
  Type(grid, 5, 1, "440");
  Type(grid, 5, 2, "145");  // a split
  Type(grid, 6, 1, "433.5");
  Type(grid, 6, 2, "");           // receive only
  Type(grid, 7, 2, "446.00625");  // transmit only
  Type(grid, 8, 11, "ALONE");     // a name without a channel is no channel
  Type(grid, 9, 1, "67");
  grid.SetTextMatrix(9, gl::kColName, "A ");  // decoded names may end in a blank
  Type(grid, 10, 1, "146.00625");             // on the 6.25 kHz steps only
  Type(grid, 10, 2, "146.005");               // on the 5 kHz steps only: TStep of the receive side

  EXPECT_EQ(ChannelsToCsv(Reopened(grid)),
            std::string(kHeader) +
                "1,RPT 1,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,"
                "OptSignal=None BusyLock=Close PTTID=ON,,,,\r\n"
                "3,,145.500000,-,0.400000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,S,Low,"
                "OptSignal=CCIR BusyLock=QT/DQT PTTID=OFF,,,,\r\n"
                "4,,430.006250,+,10.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,"
                "OptSignal=None BusyLock=Close PTTID=ON,,,,\r\n"
                "5,,440.000000,split,145.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,"
                "OptSignal=None BusyLock=Close PTTID=ON,,,,\r\n"
                "6,,433.500000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,"
                "OptSignal=None BusyLock=Close PTTID=ON,,,,\r\n"
                "7,,,split,446.006250,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,"
                "OptSignal=None BusyLock=Close PTTID=ON,,,,\r\n"
                "9,\"A \",67.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,"
                "OptSignal=None BusyLock=Close PTTID=ON,,,,\r\n"
                "10,,146.006250,-,0.001250,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,"
                "OptSignal=None BusyLock=Close PTTID=ON,,,,\r\n");
}

// Each way the two tone cells combine, exported as the format's tone modes
// and read back into the same two cells.
TEST(ChannelCsvTones, EachToneModeAndCrossModeBothWays) {
  struct Case {
    const char* rx_tone;
    const char* tx_tone;
    const char* columns;  // Tone .. CrossMode as exported
  };
  const Case cases[] = {
      {"OFF", "OFF", ",88.5,88.5,023,NN,023,Tone->Tone"},
      {"OFF", "100.0", "Tone,100.0,88.5,023,NN,023,Tone->Tone"},
      {"67.0", "67.0", "TSQL,67.0,67.0,023,NN,023,Tone->Tone"},
      {"D754I", "D754N", "DTCS,88.5,88.5,754,NR,754,Tone->Tone"},
      {"D023N", "D023I", "DTCS,88.5,88.5,023,RN,023,Tone->Tone"},
      {"254.1", "67.0", "Cross,67.0,254.1,023,NN,023,Tone->Tone"},
      {"D025I", "88.5", "Cross,88.5,88.5,023,NR,025,Tone->DTCS"},
      {"71.9", "D143I", "Cross,88.5,71.9,143,RN,023,DTCS->Tone"},
      {"D026N", "D023I", "Cross,88.5,88.5,023,RN,026,DTCS->DTCS"},
      {"OFF", "D411N", "Cross,88.5,88.5,411,NN,023,DTCS->"},
      {"97.4", "OFF", "Cross,88.5,97.4,023,NN,023,->Tone"},
      {"D065I", "OFF", "Cross,88.5,88.5,023,NR,065,->DTCS"},
  };
  MemoryGrid grid;
  int row = 0;
  for (const Case& c : cases) {
    ++row;
    Type(grid, row, 1, "146.5");
    Type(grid, row, 3, c.rx_tone);
    Type(grid, row, 4, c.tx_tone);
  }
  const std::string csv = ChannelsToCsv(grid);
  MemoryGrid back = Imported(csv);
  row = 0;
  std::size_t line_start = csv.find("\r\n") + 2;
  for (const Case& c : cases) {
    ++row;
    const std::size_t line_end = csv.find("\r\n", line_start);
    const std::string line = csv.substr(line_start, line_end - line_start);
    line_start = line_end + 2;
    EXPECT_NE(line.find(std::string(",0.000000,") + c.columns + ",FM,"), std::string::npos)
        << c.rx_tone << " / " << c.tx_tone << ": " << line;
    EXPECT_EQ(back.TextMatrix(row, 3), c.rx_tone) << line;
    EXPECT_EQ(back.TextMatrix(row, 4), c.tx_tone) << line;
  }
}

// A list as a spreadsheet or another program writes it: semicolons, a
// byte-order mark, LF line ends, other header case and order, an unknown
// column, quoted fields with separators, quotes and a line end in them.
TEST(ChannelCsvImport, ReadsAnyColumnOrderAndEachDuplexForm) {
  const std::string csv =
      "\xEF\xBB\xBF"
      "frequency;NAME;duplex;Offset;Location;Extra;Tone;rToneFreq;cToneFreq;Mode;Skip;Power\n"
      "146.52;\"a;b\"\"c\";;0;1;x;Tone;100;;NFM;S;0.5W\n"
      "145,5;Rpt;-;0.6;2;;TSQL;88.5;\"103.5\";FM;;5.0W\n"
      "430.00625;\"Up\nHill\";+;5;3;;TSQL;100.0;100;FM;P;Low\n"
      "440;Split;split;145.00625;4;;;;;FM;;High\n"
      "433.5;Rx;off;;5;;;;;;;\n"
      ";;;;;;;;;;;\n";
  const ChannelCsvImport import = Read(csv);
  MemoryGrid grid;
  ApplyChannelImport(import, grid);
  EXPECT_EQ(Row(grid, 1),
            "146.52000\t146.52000\tOFF\t100.0\tNarrow\tNo\tLow\tNone\tON\tClose\tABC");
  EXPECT_EQ(Row(grid, 2),
            "145.50000\t144.90000\t103.5\t103.5\tWide\tYes\tHigh\tNone\tON\tClose\tRPT");
  EXPECT_EQ(Row(grid, 3),
            "430.00625\t435.00625\t100.0\t100.0\tWide\tYes\tLow\tNone\tON\tClose\tUPHILL");
  EXPECT_EQ(Row(grid, 4),
            "440.00000\t145.00625\tOFF\tOFF\tWide\tYes\tHigh\tNone\tON\tClose\tSPLIT");
  EXPECT_EQ(Row(grid, 5), "433.50000\t\tOFF\tOFF\tWide\tYes\tHigh\tNone\tON\tClose\tRX");
  EXPECT_EQ(Row(grid, 6), "\t\t\t\t\t\t\t\t\t\t");
  EXPECT_EQ(ReportOf(import),
            (std::vector<std::string>{"2 ch1: Name 'a;b\"c' is changed to 'ABC'",
                                      "4 ch3: Name 'Up\\nHill' is changed to 'UPHILL'"}));
}

TEST(ChannelCsvImport, LocationsFromZeroFromOneWithoutAndAt) {
  const std::string rows = "Location,Frequency\n5,146.5\n0,146.6\n";
  MemoryGrid grid = Imported(rows);
  EXPECT_EQ(grid.TextMatrix(6, 1), "146.50000");  // Location 0 present: counted from 0
  EXPECT_EQ(grid.TextMatrix(1, 1), "146.60000");
  EXPECT_EQ(grid.TextMatrix(5, 1), "");

  grid = Imported("Location,Frequency\n5,146.5\n128,146.6\n");
  EXPECT_EQ(grid.TextMatrix(5, 1), "146.50000");
  EXPECT_EQ(grid.TextMatrix(128, 1), "146.60000");

  grid = Imported("Frequency\n146.5\n\n146.6\n");
  EXPECT_EQ(grid.TextMatrix(1, 1), "146.50000");
  EXPECT_EQ(grid.TextMatrix(2, 1), "146.60000");

  grid = Imported(rows, 127);  // --at: file order, Location ignored
  EXPECT_EQ(grid.TextMatrix(127, 1), "146.50000");
  EXPECT_EQ(grid.TextMatrix(128, 1), "146.60000");
  EXPECT_EQ(grid.TextMatrix(6, 1), "");
  EXPECT_EQ(
      ReportOf(Read(rows + "7,146.7\n", 127)),
      (std::vector<std::string>{
          "4 ch0: no channel is left (channel 128 is the last); rows not read from this line on: "
          "1"}));
}

// Every refusal, with its line (a quoted line end moves the count on), and
// the channels named by refused rows left as they were.
TEST(ChannelCsvImport, ReportsEveryRejectionAndLeavesThoseChannelsAlone) {
  const std::string csv =
      "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
      "RxDtcsCode,CrossMode,Mode,Power,Comment\r\n"
      "1,\"two\r\nlines\",600,,0,,,,,,,,FM,,\r\n"                        // line 2
      "2,,146.523,,0,,,,,,,,FM,,\r\n"                                    // 4
      "3,,abc,,0,,,,,,,,FM,,\r\n"                                        // 5
      "4,,146.5,,0,,,,,,,,AM,,\r\n"                                      // 6
      "5,,146.5,,0,Tone,69.4,,,,,,FM,,\r\n"                              // 7
      "6,,146.5,,0,DTCS,,,017,NN,,,FM,,\r\n"                             // 8
      "7,,146.5,,0,TSQL-R,88.5,88.5,,,,,FM,,\r\n"                        // 9
      "8,,146.5,,0,DTCS-R,,,023,NN,023,,FM,,\r\n"                        // 10
      "129,,146.5,,0,,,,,,,,FM,,\r\n"                                    // 11
      "10,,146.5,,0,,,,\r\n"                                             // 12
      "11,,146.5,+,500,,,,,,,,FM,,\r\n"                                  // 13
      "12,,146.5,x,0,,,,,,,,FM,,\r\n"                                    // 14
      "13,,146.5,,0,Cross,,,,,,Tone->Tone->,FM,,\r\n"                    // 15
      "14,,146.5,,0,DTCS,,,023,NX,,,FM,,\r\n"                            // 16
      "15,Repeater,146.5,,0,,,,,,,,FM,Mid,BusyLock=Never PTTID=off\r\n"  // 17: row stands
      "15,,146.6,,0,,,,,,,,FM,,\r\n"                                     // 18
      "-1,,146.5,,0,,,,,,,,FM,,\r\n"                                     // 19
      "16,\"open,146.5\r\n";                                             // 20
  MemoryGrid grid;
  for (int row = 1; row <= 16; ++row) Type(grid, row, 1, "145.0");
  const ChannelCsvImport import = Read(csv);
  EXPECT_EQ(
      ReportOf(import),
      (std::vector<std::string>{
          "2 ch1: Frequency 600 MHz is outside 67-521 MHz; the row is skipped",
          "4 ch2: Frequency 146.523 MHz is not on a 6.25, 5 or 2.5 kHz step; the row is skipped",
          "5 ch3: Frequency 'abc' is not a frequency in MHz; the row is skipped",
          "6 ch4: Mode AM is not FM or NFM; the row is skipped",
          "7 ch5: rToneFreq '69.4' is not a CTCSS tone of the radio; the row is skipped",
          "8 ch6: DtcsCode '017' is not a DCS code of the radio; the row is skipped",
          "9 ch7: Tone TSQL-R (reverse squelch) is not a mode the radio has; the row is skipped",
          "10 ch8: Tone DTCS-R (reverse squelch) is not a mode the radio has; the row is skipped",
          "11 ch0: Location 129 is beyond channel 128; the row is skipped",
          "12 ch10: the row has 9 fields where the header has 15; the row is skipped",
          "13 ch11: the transmit frequency 646.500000 MHz (Duplex '+', Offset 500) is outside "
          "67-521 MHz; the row is skipped",
          "14 ch12: Duplex 'x' is not +, -, split, off or empty; the row is skipped",
          "15 ch13: CrossMode 'Tone->Tone->' is not one the radio can hold; the row is skipped",
          "16 ch14: DtcsPolarity 'NX' is not NN, NR, RN or RR; the row is skipped",
          "17 ch15: Power 'Mid' is neither High, Low nor a wattage; the channel keeps High",
          "17 ch15: Comment 'BusyLock=Never' is not a BusyLock the radio has; the channel keeps "
          "Close",
          "17 ch15: Name 'Repeater' is shortened to 'REPEAT'",
          "18 ch15: channel 15 was already imported from line 17; the row is skipped",
          "19 ch0: Location '-1' is not a channel number; the row is skipped",
          "20 ch16: a quoted field is not closed before the end of the file; the row is skipped",
      }));
  ApplyChannelImport(import, grid);
  for (int row = 1; row <= 16; ++row) {
    if (row == 15) continue;
    EXPECT_EQ(grid.TextMatrix(row, 1), "145.00000") << row;
    EXPECT_EQ(grid.TextMatrix(row, 11), "") << row;
  }
  EXPECT_EQ(Row(grid, 15),
            "146.50000\t146.50000\tOFF\tOFF\tWide\tYes\tHigh\tNone\tOFF\tClose\tREPEAT");
}

TEST(ChannelCsvImport, TextsThatAreNoChannelListAreRefused) {
  for (const char* text : {"", "\r\n  \r\n", "Location,Name\n1,A\n", "146.52\n"}) {
    const Result<ChannelCsvImport> import = ReadChannelCsv(text);
    ASSERT_FALSE(import.ok()) << text;
    EXPECT_NE(import.error().Message().find("not a channel list"), std::string::npos);
  }
}

// An import replaces the whole row: nothing of the channel that was there
// (its name, tones, lists) survives unless the list says so.
TEST(ChannelCsvImport, ReplacesTheRowItNames) {
  MemoryGrid grid;
  Type(grid, 2, 1, "430.5");
  Type(grid, 2, 3, "D023N");
  Type(grid, 2, 5, "Narrow");
  Type(grid, 2, 8, "CCIR");
  Type(grid, 2, 11, "OLD");
  Type(grid, 3, 11, "KEEP");
  ApplyChannelImport(Read("Location,Frequency,Tone,rToneFreq\n2,146.5,Tone,100\n"), grid);
  EXPECT_EQ(Row(grid, 2), "146.50000\t146.50000\tOFF\t100.0\tWide\tYes\tHigh\tNone\tON\tClose\t");
  EXPECT_EQ(Row(grid, 3), "\t\t\t\t\t\t\t\t\t\tKEEP");
}

// Random documents as a user makes them: cells typed in random order with
// random texts from the editors' lists, names of up to six characters. A
// transmit frequency is often a repeater offset away, and a tone often
// repeats the other side's (or its DCS code), so that every Duplex form
// and tone mode comes up many times.
MemoryGrid RandomDocument(std::mt19937& random) {
  MemoryGrid grid;
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const auto& tones = ToneTables::Get().texts();
  for (int step = 0; step < 600; ++step) {
    const int row = 1 + pick(128);
    const int col = 1 + pick(11);
    std::string text;
    const std::string rx = grid.TextMatrix(row, gl::kColReceive);
    if (col == gl::kColTransmit && !rx.empty() && pick(2) == 0) {
      const std::int64_t offsets[] = {0, 60000, -60000, 500000, -1000000, 1000000, 1000625};
      const std::int64_t count = FrequencyTextToCount(rx) + offsets[pick(7)];
      text = FormatFrequency(static_cast<std::uint32_t>(count));
    } else if (col <= 2) {
      const int count = 6700000 + pick(45400) * 1000 + pick(4) * 250;
      text = pick(12) == 0 ? "" : FormatFrequency(static_cast<std::uint32_t>(count));
    } else if (col <= 4 && pick(2) == 0) {
      text = grid.TextMatrix(row, col == gl::kColRxTone ? gl::kColTxTone : gl::kColRxTone);
      if (text.starts_with('D') && pick(2) == 0) text.back() = text.back() == 'N' ? 'I' : 'N';
    } else if (col <= 4) {
      text = tones[static_cast<std::size_t>(pick(static_cast<int>(tones.size())))];
    } else if (col <= 10) {
      const auto entries = cell_lists::ForColumn(col);
      text = entries[static_cast<std::size_t>(pick(static_cast<int>(entries.size())))];
    } else {
      const char chars[] = "ABCXYZ0189- ";
      for (int i = pick(7); i > 0; --i) text += chars[pick(12)];
    }
    Type(grid, row, col, text);
  }
  return Reopened(grid);
}

TEST(ChannelCsvRoundTrip, ExportThenImportIntoANewDocumentGivesBackEveryChannel) {
  std::mt19937 random(20240610);
  for (int document = 0; document < 60; ++document) {
    const MemoryGrid original = RandomDocument(random);
    const ChannelCsvImport import = Read(ChannelsToCsv(original));
    ASSERT_TRUE(import.report.empty()) << ReportOf(import).front();
    MemoryGrid copy;
    ApplyChannelImport(import, copy);
    copy = Reopened(copy);
    for (int row = 1; row < gl::kRows; ++row) {
      const std::string expected =
          RowHasFrequency(original, row) ? Row(original, row) : Row(MemoryGrid(), row);
      ASSERT_EQ(Row(copy, row), expected) << "document " << document << " channel " << row;
    }
  }
}

// Whole channels copied as grid texts (what the clipboard carries to a
// spreadsheet) and pasted into a new document come back cell for cell,
// empty channels between them included; of a channel without a frequency,
// as typing it would, only the name.
TEST(GridTextRoundTrip, CopiedChannelsPasteBackCellForCell) {
  std::mt19937 random(31);
  std::vector<int> rows(128);
  for (int row = 1; row <= 128; ++row) rows[static_cast<std::size_t>(row - 1)] = row;
  for (int document = 0; document < 40; ++document) {
    const MemoryGrid original = RandomDocument(random);
    const ChannelCsvImport import = ReadGridText(RowsToGridText(original, rows), 1);
    ASSERT_TRUE(import.report.empty()) << import.report.front().reason;
    MemoryGrid copy;
    ApplyChannelImport(import, copy);
    for (int row = 1; row < gl::kRows; ++row) {
      MemoryGrid name_only;
      name_only.SetTextMatrix(row, gl::kColName, original.TextMatrix(row, gl::kColName));
      const std::string expected =
          RowHasFrequency(original, row) ? Row(original, row) : Row(name_only, row);
      ASSERT_EQ(Row(copy, row), expected) << "document " << document << " channel " << row;
    }
  }
}

// Lines from a spreadsheet: fewer columns keep a new channel's cells, a
// column of channel numbers is passed over, and what the radio cannot hold
// is reported with its line and channel, never guessed.
TEST(GridTextRead, ReportsWhatTheRadioCannotHold) {
  const ChannelCsvImport import = ReadGridText(
      "Receive(MHz)\tTransmit(MHz)\n"
      "146.52\n"
      "7\t\t446.00625\t\tD023N\t\t\t\t\t\t\tab.cdefg\n"
      "600\n"
      "145.5\t145.5\t77.7\n"
      "145.5\t\t\t\tNarrower\n"
      "1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\n"
      "433.5\n",
      126);
  std::vector<std::string> report;
  for (const ImportReportLine& line : import.report) {
    report.push_back(std::to_string(line.line) + " " + std::to_string(line.channel) + " " +
                     line.reason);
  }
  EXPECT_EQ(report,
            (std::vector<std::string>{
                "3 127 Name 'ab.cdefg' is changed to 'ABCDEF'",
                "4 128 Receive(MHz) '600' is not a frequency within 67-521 MHz; the line is "
                "skipped",
                "5 0 no channel is left for this line (channel 128 is the last); the line is "
                "skipped",
                "6 0 no channel is left for this line (channel 128 is the last); the line is "
                "skipped",
                "7 0 no channel is left for this line (channel 128 is the last); the line is "
                "skipped",
                "8 0 no channel is left for this line (channel 128 is the last); the line is "
                "skipped"}));
  MemoryGrid grid;
  ApplyChannelImport(import, grid);
  EXPECT_EQ(Row(grid, 126), "146.52000\t146.52000\tOFF\tOFF\tWide\tYes\tHigh\tNone\tON\tClose\t");
  EXPECT_EQ(Row(grid, 127), "\t446.00625\tOFF\tD023N\tWide\tYes\tHigh\t\tON\tClose\tABCDEF");
  EXPECT_EQ(Row(grid, 128), Row(MemoryGrid(), 128));

  const ChannelCsvImport fields = ReadGridText(
      "145.5\t145.5\t77.7\n145.5\t\t\t\tNarrower\n1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\n", 1);
  ASSERT_EQ(fields.report.size(), 3u);
  EXPECT_EQ(fields.report[0].reason,
            "Rx Tone '77.7' is not a tone of the radio; the line is skipped");
  EXPECT_EQ(
      fields.report[1].reason,
      "W/N 'Narrower' is not an entry of its list; the channel keeps what a new channel gets");
  EXPECT_EQ(
      fields.report[2].reason,
      "the line has 13 fields where a channel has 11 (12 with its number); the line is skipped");
  ASSERT_EQ(fields.channels.size(), 1u);
  EXPECT_EQ(fields.channels[0].channel, 2);
  EXPECT_EQ(fields.channels[0].cells[gl::kColTransmit], "");
}

// A first line of one cell has no tab to tell the separator by; the lines
// after it are still split at their tabs.
TEST(GridTextRead, AFirstLineOfOneCellStillSplitsTheOthersAtTabs) {
  MemoryGrid grid;
  ApplyChannelImport(ReadGridText("146.525\n446.1\t\t\t\t\t\t\t\t\t\tabc\n", 1), grid);
  EXPECT_EQ(Row(grid, 1), "146.52500\t146.52500\tOFF\tOFF\tWide\tYes\tHigh\tNone\tON\tClose\t");
  EXPECT_EQ(Row(grid, 2), "446.10000\t\tOFF\t\tWide\tYes\tHigh\t\tON\tClose\tABC");
}

// Into the document it came from, the export changes no byte, also where
// the channel bytes hold what only a radio writes (an Opt Signal byte of
// neither entry, bits the layout leaves alone, names on unused channels).
TEST(ChannelCsvRoundTrip, ImportingTheOwnExportChangesNoByte) {
  std::mt19937 random(7);
  for (int document = 0; document < 30; ++document) {
    RadioImage image = ChannelDocument::NewDocumentImage();
    GridToImage(RandomDocument(random), image);
    for (int n = 1; n <= 128; n += 5) {
      image.Record(n)[12] = static_cast<std::uint8_t>(n % 3 == 0 ? 0x02 : image.Record(n)[12]);
      image.Record(n)[15] = static_cast<std::uint8_t>(n);
      image.Record(n)[13] |= 0xC0;
      image.Name(n)[0] = 12;
    }
    MemoryGrid grid;
    ImageToGrid(image, grid);
    GridToImage(grid, image);  // as the program saves it

    const ChannelCsvImport import = Read(ChannelsToCsv(grid));
    ASSERT_TRUE(import.report.empty()) << ReportOf(import).front();
    ApplyChannelImport(import, grid);
    RadioImage after = image;
    GridToImage(grid, after);
    ASSERT_EQ(after, image) << "document " << document;
  }
}

// Rows in file order stop at channel 128: the rows after it are counted,
// not read, and a list of valid rows beyond what the radio holds fills
// all 128 channels.
TEST(ChannelCsvLongList, RowsPastChannel128AreCountedNotRead) {
  std::string rejected = "Frequency\n";
  for (int n = 0; n < 128 + 1000; ++n) rejected += n == 500 ? "\n\n,\n1\n" : "1\n";
  const ChannelCsvImport refused = Read(rejected);
  EXPECT_TRUE(refused.channels.empty());
  ASSERT_EQ(refused.report.size(), 129u);
  EXPECT_EQ(ReportOf(refused).front(),
            "2 ch1: Frequency 1 MHz is outside 67-521 MHz; the row is skipped");
  EXPECT_EQ(ReportOf(refused)[127],
            "129 ch128: Frequency 1 MHz is outside 67-521 MHz; the row is skipped");
  // Blank lines and rows of empty fields among the rest are not counted.
  EXPECT_EQ(ReportOf(refused).back(),
            "130 ch0: no channel is left (channel 128 is the last); rows not read from this line "
            "on: 1000");

  std::string valid = "Name,Frequency\n";
  for (int n = 1; n <= 128 + 5000; ++n) valid += "CH" + std::to_string(n % 1000) + ",146.5\n";
  const ChannelCsvImport full = Read(valid);
  ASSERT_EQ(full.channels.size(), 128u);
  EXPECT_EQ(full.channels.back().channel, 128);
  EXPECT_EQ(ReportOf(full), (std::vector<std::string>{
                                "130 ch0: no channel is left (channel 128 is the last); rows not "
                                "read from this line on: 5000"}));
  MemoryGrid grid;
  ApplyChannelImport(full, grid);
  EXPECT_EQ(Row(grid, 128),
            "146.50000\t146.50000\tOFF\tOFF\tWide\tYes\tHigh\tNone\tON\tClose\tCH128");

  // Exactly 128 rows: nothing is left unread, and nothing is said of it.
  std::string exact = "Frequency\n";
  for (int n = 0; n < 128; ++n) exact += "146.5\n";
  EXPECT_EQ(ReportOf(Read(exact + "\n,\n")), std::vector<std::string>{});
  EXPECT_EQ(Read(exact).channels.size(), 128u);
}

// With Location, reading stops once every channel is imported.
TEST(ChannelCsvLongList, ReadingStopsWhenAllChannelsAreImported) {
  std::string csv = "Location,Frequency\n";
  for (int n = 128; n >= 1; --n) csv += std::to_string(n) + ",146.5\n";
  csv += "5,146.6\n1,1\n\"unclosed\n";
  const ChannelCsvImport import = Read(csv);
  EXPECT_EQ(import.channels.size(), 128u);
  EXPECT_EQ(ReportOf(import),
            (std::vector<std::string>{
                "130 ch0: all 128 channels are imported; rows not read from this line on: 3"}));
  EXPECT_EQ(Imported(csv).TextMatrix(5, 1), "146.50000");  // the later row 5 was not read
}

// A list of thousands of bad rows gives the first lines of its report and
// one line that counts the others; one line over the limit is shown, not
// counted.
TEST(ChannelCsvLongList, TheReportKeepsItsFirstLinesAndCountsTheRest) {
  auto bad_rows = [](int count) {
    std::string csv = "Location,Frequency,Mode\n";
    for (int n = 0; n < count; ++n) csv += "7,146.5,AM\n";
    return csv + "9,146.5,FM\n";  // still read and imported after them
  };
  const ChannelCsvImport many = Read(bad_rows(5000));
  ASSERT_EQ(many.report.size(), channel_csv::kMaxReportLines + 1);
  EXPECT_EQ(ReportOf(many)[199], "201 ch7: Mode AM is not FM or NFM; the row is skipped");
  EXPECT_EQ(ReportOf(many).back(), "202 ch0: and 4800 more lines were not taken");
  ASSERT_EQ(many.channels.size(), 1u);
  EXPECT_EQ(many.channels[0].channel, 9);

  const ChannelCsvImport one_over = Read(bad_rows(201));
  ASSERT_EQ(one_over.report.size(), 201u);
  EXPECT_EQ(ReportOf(one_over).back(), "202 ch7: Mode AM is not FM or NFM; the row is skipped");
}

// Values from the file are repeated readably: line ends, tabs and other
// control characters, and bytes that are no UTF-8, escaped; long values cut.
TEST(ChannelCsvReportText, ValuesAreEscapedAndCut) {
  const std::string long_mode(5000, 'M');
  // 9 + 2 * 20 characters, of two and three bytes among them: cut after 40.
  std::string long_tone = "T\xc3\xa9l\xc3\xa9phone";
  std::string shown_tone = long_tone;
  for (int n = 0; n < 20; ++n) long_tone += " \xe2\x86\x92";
  for (int n = 0; n < 15; ++n) shown_tone += " \xe2\x86\x92";
  shown_tone += " ...";
  const ChannelCsvImport import = Read(
      "Frequency,Mode,Tone,Name\n"
      "146.5,\"F\tM\r\n\x1b[2J\x7f\",,A\n"
      "146.5,\xff\xc3\x28\xc2\x85,,\n"
      "146.5," +
      long_mode +
      ",,\n"
      "146.5,FM," +
      long_tone +
      ",\n"
      "146.5,FM,,\"\xc3\xa9t\xc3\xa9\"\n");
  EXPECT_EQ(ReportOf(import),
            (std::vector<std::string>{
                "2 ch1: Mode F\\tM\\r\\n\\x1B[2J\\x7F is not FM or NFM; the row is skipped",
                "4 ch2: Mode \\xFF\\xC3(\\u0085 is not FM or NFM; the row is skipped",
                "5 ch3: Mode " + std::string(40, 'M') + "... is not FM or NFM; the row is skipped",
                "6 ch4: Tone '" + shown_tone +
                    "' is not a tone mode of the format; the row is "
                    "skipped",
                "7 ch5: Name '\xc3\xa9t\xc3\xa9' is changed to 'T'"}));
}

// A line of thousands of separators is counted, not held field by field.
TEST(ChannelCsvReportText, ARowOfManyFieldsIsCounted) {
  const ChannelCsvImport import =
      Read("Location,Frequency\n1," + std::string(100000, ',') + "146.5\n2,146.6\n");
  EXPECT_EQ(ReportOf(import),
            (std::vector<std::string>{
                "2 ch1: the row has 100002 fields where the header has 2; the row is skipped"}));
  ASSERT_EQ(import.channels.size(), 1u);
  EXPECT_EQ(import.channels[0].channel, 2);
}

// The format's other tools write names with blanks at the start or end
// unquoted; the blanks are part of the name. Numbers and keywords are read
// without the blanks around them.
TEST(ChannelCsvImport, NamesKeepTheirBlanksOtherFieldsAreTrimmed) {
  const std::string csv =
      " Location , Name ,Frequency,Duplex,Offset,Tone,rToneFreq,Mode\n"
      "1, AB,146.5,,0,,,FM\n"
      "2,AB ,146.5,,0,,,FM\n"
      " 3 ,A B,  146.525 , - , 0.6 , Tone , 100.0 , NFM \n"
      "4,\"  CD  \",146.5,,0,,,FM\n"
      "5,  LONG NAME,146.5,,0,,,FM\n"
      "   ,   ,  ,,,,,\n";
  const ChannelCsvImport import = Read(csv);
  EXPECT_EQ(ReportOf(import),
            (std::vector<std::string>{"6 ch5: Name '  LONG NAME' is shortened to '  LONG'"}));
  MemoryGrid grid;
  ApplyChannelImport(import, grid);
  grid = Reopened(grid);
  EXPECT_EQ(grid.TextMatrix(1, gl::kColName), " AB");
  EXPECT_EQ(grid.TextMatrix(2, gl::kColName), "AB ");
  EXPECT_EQ(Row(grid, 3),
            "146.52500\t145.92500\tOFF\t100.0\tNarrow\tYes\tHigh\tNone\tON\tClose\tA B");
  EXPECT_EQ(grid.TextMatrix(4, gl::kColName), "  CD  ");
  EXPECT_EQ(grid.TextMatrix(5, gl::kColName), "  LONG");
  // And they come back from an export as they went in.
  EXPECT_NE(ChannelsToCsv(grid).find("\r\n1,\" AB\",146.500000"), std::string::npos);
  EXPECT_TRUE(Read(ChannelsToCsv(grid)).report.empty());
}

TEST(ChannelCsvImport, ACrossRowWithoutACrossModeColumnSaysSo) {
  const ChannelCsvImport import = Read(
      "Location,Frequency,Tone,rToneFreq,cToneFreq\n"
      "1,146.5,Cross,88.5,100.0\n"
      "2,146.5,TSQL,88.5,88.5\n");
  EXPECT_EQ(ReportOf(import),
            (std::vector<std::string>{"2 ch1: the file has no CrossMode column, which a Cross row "
                                      "needs; the row is skipped"}));
  ASSERT_EQ(import.channels.size(), 1u);
  EXPECT_EQ(import.channels[0].channel, 2);
}

// The format's other tools write a channel that only transmits with
// Frequency 0; only with Duplex split is 0 read as no receive frequency.
TEST(ChannelCsvImport, FrequencyZeroWithSplitIsTransmitOnly) {
  const ChannelCsvImport import = Read(
      "Location,Frequency,Duplex,Offset\n"
      "1,0.000000,split,446.006250\n"
      "2,0,SPLIT,145.5\n"
      "3,0.000000,,0.000000\n"
      "4,0.000000,+,0.600000\n"
      "5,0.000000,split,0.000000\n");
  EXPECT_EQ(ReportOf(import),
            (std::vector<std::string>{
                "4 ch3: Frequency 0.000000 MHz is outside 67-521 MHz; the row is skipped",
                "5 ch4: Frequency 0.000000 MHz is outside 67-521 MHz; the row is skipped",
                "6 ch5: the transmit frequency 0.000000 MHz (Duplex 'split', Offset 0.000000) is "
                "outside 67-521 MHz; the row is skipped"}));
  MemoryGrid grid;
  ApplyChannelImport(import, grid);
  grid = Reopened(grid);
  EXPECT_EQ(Row(grid, 1), "\t446.00625\tOFF\tOFF\tWide\tYes\tHigh\tNone\tON\tClose\t");
  EXPECT_EQ(Row(grid, 2), "\t145.50000\tOFF\tOFF\tWide\tYes\tHigh\tNone\tON\tClose\t");
  // Exported again it is the empty Frequency our export writes.
  EXPECT_NE(ChannelsToCsv(grid).find("\r\n1,,,split,446.006250,"), std::string::npos);
}

TEST(ChannelCsvImport, AUtf16FileIsRefusedAsSuch) {
  // "Frequency\r\n146.5\r\n" as a spreadsheet's "Unicode text", both byte orders.
  std::string little = "\xFF\xFE";
  std::string big = "\xFE\xFF";
  for (const char c : std::string("Frequency\r\n146.5\r\n")) {
    little += std::string{c, '\0'};
    big += std::string{'\0', c};
  }
  for (const std::string& text : {little, big}) {
    const Result<ChannelCsvImport> import = ReadChannelCsv(text);
    ASSERT_FALSE(import.ok());
    EXPECT_EQ(import.error().Message(),
              "the file is UTF-16 text and must be saved as UTF-8 to be read as a channel list");
  }
}

}  // namespace
}  // namespace zlm5
