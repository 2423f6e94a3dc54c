// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/channel_csv.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/channel_codec.h"
#include "model/channel_name.h"
#include "model/csv_text.h"
#include "model/echoed_value.h"
#include "model/form_lists.h"
#include "model/frequency_text.h"
#include "model/text_util.h"
#include "model/tone_tables.h"
#include "model/tone_word.h"

namespace zlm5 {

namespace gl = grid_layout;
namespace cl = cell_lists;

namespace {

// Positions in channel_csv::kHeader.
enum Column : std::size_t {
  kLocation,
  kName,
  kFrequency,
  kDuplex,
  kOffset,
  kTone,
  kRToneFreq,
  kCToneFreq,
  kDtcsCode,
  kDtcsPolarity,
  kRxDtcsCode,
  kCrossMode,
  kMode,
  kTStep,
  kSkip,
  kPower,
  kComment,
  kColumnCount = channel_csv::kHeader.size()
};

// The field index of each column in the list's header; -1 when absent.
using ColumnIndex = std::array<int, kColumnCount>;

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSkipped = "; the row is skipped";
// The byte-order marks of UTF-16 text, which a spreadsheet may write when
// asked for "Unicode text".
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
// A channel list's columns are found among its first fields; a row's
// fields after them are only counted.
constexpr std::size_t kMaxKeptFields = 256;
constexpr CsvReadRules kReadRules{.keep_blanks = true, .max_fields = kMaxKeptFields};

// The format's values.
constexpr std::string_view kModeWide = "FM";
constexpr std::string_view kModeNarrow = "NFM";
constexpr std::string_view kSkipNoScan = "S";
constexpr std::string_view kPowerHigh = "High";
constexpr std::string_view kPowerLow = "Low";
// Values that readers of the format expect in tone columns not in use.
constexpr std::string_view kNeutralCtcss = "88.5";
constexpr std::string_view kNeutralDcs = "023";
constexpr std::string_view kNeutralPolarity = "NN";
constexpr std::string_view kNeutralCrossMode = "Tone->Tone";
// Keys of the cells without a column of their own, in Comment.
constexpr std::string_view kOptSignalKey = "OptSignal";
constexpr std::string_view kBusyLockKey = "BusyLock";
constexpr std::string_view kPttIdKey = "PTTID";
constexpr char kDcsNormal = 'N';
constexpr char kDcsInverted = 'R';
constexpr std::size_t kDcsDigits = 3;

struct Step {
  std::int64_t count;  // 10 Hz units
  std::string_view text;
};
constexpr Step kSteps[] = {{625, "6.25"}, {500, "5.00"}, {250, "2.50"}};
constexpr std::string_view kDefaultStep = "5.00";

bool IsOneOf(const std::string& text, std::string_view english, std::string_view chinese) {
  return text == english || text == chinese;
}

// A count of 10 Hz units as MHz with six decimals ("146.520000").
std::string Mhz6(std::int64_t count) {
  char buffer[32];
  const char* sign = count < 0 ? "-" : "";
  const long long magnitude = count < 0 ? -count : count;
  std::snprintf(buffer, sizeof buffer, "%s%lld.%06lld", sign,
                magnitude / frequency_limits::kCountsPerMHz,
                magnitude % frequency_limits::kCountsPerMHz * 10);
  return buffer;
}

// ----- Export -----------------------------------------------------------

// A frequency cell as the encoder stores it: 0 for none.
std::int64_t CellCount(const std::string& text) {
  if (text.empty()) return 0;
  const std::int64_t count = FrequencyTextToCount(text);
  return count > 0 ? count : 0;
}

// One side of a channel's tones as the image holds it.
struct ToneSide {
  enum class Kind { None, Ctcss, Dcs } kind = Kind::None;
  std::string value;  // "88.5", or the DCS code "023"
  char polarity = kDcsNormal;

  bool operator==(const ToneSide&) const = default;
};

ToneSide ToneOfCell(const std::string& text) {
  const ToneWord word = ToneWord::FromText(text);
  const std::string stored = word.ToText(true);  // "OFF", "88.5", "D023N", "D05N"
  ToneSide side;
  switch (word.ToneClass()) {
    case ToneWord::Class::None:
      return side;
    case ToneWord::Class::Ctcss:
      side.kind = ToneSide::Kind::Ctcss;
      side.value = stored;
      return side;
    case ToneWord::Class::DcsNormal:
    case ToneWord::Class::DcsInverted: {
      side.kind = ToneSide::Kind::Dcs;
      side.polarity = word.ToneClass() == ToneWord::Class::DcsNormal ? kDcsNormal : kDcsInverted;
      std::string code = stored.substr(1, stored.size() - 2);
      if (code.size() < kDcsDigits) code.insert(0, kDcsDigits - code.size(), '0');
      side.value = code;
      return side;
    }
  }
  return side;
}

std::string_view ToneModeName(ToneSide::Kind kind) {
  switch (kind) {
    case ToneSide::Kind::Ctcss:
      return "Tone";
    case ToneSide::Kind::Dcs:
      return "DTCS";
    case ToneSide::Kind::None:
      break;
  }
  return "";
}

void WriteTones(const ToneSide& tx, const ToneSide& rx, std::array<std::string, kColumnCount>& f) {
  using Kind = ToneSide::Kind;
  f[kRToneFreq] = kNeutralCtcss;
  f[kCToneFreq] = kNeutralCtcss;
  f[kDtcsCode] = kNeutralDcs;
  f[kRxDtcsCode] = kNeutralDcs;
  f[kDtcsPolarity] = kNeutralPolarity;
  f[kCrossMode] = kNeutralCrossMode;
  if (tx.kind == Kind::None && rx.kind == Kind::None) return;
  if (tx.kind == Kind::Ctcss && rx.kind == Kind::None) {
    f[kTone] = "Tone";
    f[kRToneFreq] = tx.value;
    return;
  }
  if (tx.kind == Kind::Ctcss && tx == rx) {
    f[kTone] = "TSQL";
    f[kRToneFreq] = tx.value;
    f[kCToneFreq] = rx.value;
    return;
  }
  if (tx.kind == Kind::Dcs && rx.kind == Kind::Dcs && tx.value == rx.value) {
    f[kTone] = "DTCS";
    f[kDtcsCode] = tx.value;
    f[kRxDtcsCode] = rx.value;
    f[kDtcsPolarity] = std::string{tx.polarity, rx.polarity};
    return;
  }
  f[kTone] = "Cross";
  f[kCrossMode] = std::string(ToneModeName(tx.kind)) + "->" + std::string(ToneModeName(rx.kind));
  if (tx.kind == Kind::Ctcss) f[kRToneFreq] = tx.value;
  if (tx.kind == Kind::Dcs) f[kDtcsCode] = tx.value;
  if (rx.kind == Kind::Ctcss) f[kCToneFreq] = rx.value;
  if (rx.kind == Kind::Dcs) f[kRxDtcsCode] = rx.value;
  f[kDtcsPolarity] = std::string{tx.kind == Kind::Dcs ? tx.polarity : kDcsNormal,
                                 rx.kind == Kind::Dcs ? rx.polarity : kDcsNormal};
}

void WriteDuplex(std::int64_t rx, std::int64_t tx, std::array<std::string, kColumnCount>& f) {
  f[kOffset] = Mhz6(0);
  if (tx == 0) {
    f[kDuplex] = "off";
  } else if (rx == 0 || std::llabs(tx - rx) > channel_csv::kMaxRepeaterOffset) {
    f[kDuplex] = "split";
    f[kOffset] = Mhz6(tx);
  } else if (tx != rx) {
    f[kDuplex] = tx > rx ? "+" : "-";
    f[kOffset] = Mhz6(std::llabs(tx - rx));
  }
}

bool OnStep(std::int64_t count, std::int64_t step) { return count == 0 || count % step == 0; }

std::string_view StepOf(std::int64_t rx, std::int64_t tx) {
  for (const Step& step : kSteps) {
    if (OnStep(rx, step.count) && OnStep(tx, step.count)) return step.text;
  }
  // The two lie on different rasters: the receive frequency's, if any.
  for (const Step& step : kSteps) {
    if (rx != 0 && OnStep(rx, step.count)) return step.text;
  }
  return kDefaultStep;
}

std::string CommentOf(const ChannelGrid& grid, int row) {
  const std::string signal = grid.TextMatrix(row, gl::kColOptSignal);
  const std::string busy = grid.TextMatrix(row, gl::kColBusyLock);
  const std::string_view signal_text = IsOneOf(signal, "None", cl::kNoneZh) ? cl::kOptSignal[0]
                                       : signal == cl::kOptSignal[1]        ? cl::kOptSignal[1]
                                                                            : "";
  const std::string_view busy_text = IsOneOf(busy, "Close", cl::kCloseZh)       ? cl::kBusyLock[0]
                                     : IsOneOf(busy, "Carrier", cl::kCarrierZh) ? cl::kBusyLock[1]
                                                                                : cl::kBusyLock[2];
  const bool ptt_on = IsOneOf(grid.TextMatrix(row, gl::kColPttId), "ON", cl::kOnZh);
  return std::string(kOptSignalKey) + "=" + std::string(signal_text) + " " +
         std::string(kBusyLockKey) + "=" + std::string(busy_text) + " " + std::string(kPttIdKey) +
         "=" + std::string(ptt_on ? cl::kPttId[1] : cl::kPttId[0]);
}

// ----- Import -----------------------------------------------------------

struct RowProblem {
  std::string reason;
};

// Digits with at most one decimal point or comma: what a spreadsheet
// writes for a frequency. Anything else is not taken for a number.
bool IsDecimal(std::string_view text) {
  bool digit = false;
  bool point = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if ((c == '.' || c == ',') && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

std::optional<int> WholeNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A numeric or keyword field without the blanks a spreadsheet may leave
// around it. (A name is taken as it stands: a blank is one of its
// characters.)
std::string_view Trimmed(std::string_view field) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!field.empty() && blank(field.front())) field.remove_prefix(1);
  while (!field.empty() && blank(field.back())) field.remove_suffix(1);
  return field;
}

// The grid's frequency text for `count`, checked as the frequency editor
// checks a typed text; the reason when the editor would refuse it.
std::optional<std::string> FrequencyCell(std::int64_t count, std::string& reason) {
  // (A count from 1 to 67 MHz needs no formatting to be refused.)
  if (count < 0 || count > frequency_limits::kHighestCount ||
      (count > 0 && count < frequency_limits::kLowestCount)) {
    reason = "outside 67-521 MHz";
    return std::nullopt;
  }
  const FrequencyCommit commit =
      CommitFrequencyText(FormatFrequency(static_cast<std::uint32_t>(count)));
  if (commit.error == kFrequencyFormatError) reason = "outside 67-521 MHz";
  if (commit.error == kFrequencyStepError) reason = "not on a 6.25, 5 or 2.5 kHz step";
  if (!commit.error.empty()) return std::nullopt;
  return commit.text;
}

// The tone list's text of a CTCSS value written in any decimal form
// ("100", "100.0", "88.50").
std::optional<std::string> CtcssEntry(std::string_view field) {
  if (!IsDecimal(field) || field.find(',') != std::string_view::npos) return std::nullopt;
  const double value = ReadLeadingNumber(field) * 10.0;
  const long long tenths = std::llround(value);
  if (std::fabs(value - static_cast<double>(tenths)) > 1e-6) return std::nullopt;
  const std::string text = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  const int entry = ToneTables::Get().Find(text);
  if (entry < ToneTables::kFirstCtcss || entry >= ToneTables::kFirstDcsNormal) return std::nullopt;
  return text;
}

// The tone list's text of a DCS code ("23" or "023") with polarity N or R.
std::optional<std::string> DcsEntry(std::string_view code, char polarity) {
  if (code.empty() || code.size() > kDcsDigits) return std::nullopt;
  if (!WholeNumber(code)) return std::nullopt;
  std::string text = "D" + std::string(kDcsDigits - code.size(), '0') + std::string(code) +
                     (polarity == kDcsNormal ? "N" : "I");
  if (ToneTables::Get().Find(text) < ToneTables::kFirstDcsNormal) return std::nullopt;
  return text;
}

// Reads one data row into an ImportedChannel, or gives the reason why the
// row cannot stand.
class RowReader {
 public:
  RowReader(const ColumnIndex& columns, const CsvRecord& record,
            std::vector<ImportReportLine>& report, bool explain)
      : columns_(columns), record_(record), report_(report), explain_(explain) {}

  // A problem of the row; its reason is written only when `explain` is
  // set (the report still takes it), so that the rows past a full report
  // cost no text.
  template <typename MakeReason>
  RowProblem Problem(MakeReason make_reason) const {
    return RowProblem{explain_ ? std::string(make_reason()) : std::string()};
  }

  std::optional<RowProblem> Read(ImportedChannel& channel) {
    channel_ = &channel;
    if (auto problem = ReadFrequencies()) return problem;
    if (auto problem = ReadMode()) return problem;
    if (auto problem = ReadTones()) return problem;
    ReadSkip();
    ReadPower();
    ReadComment();
    ReadName();
    return std::nullopt;
  }

 private:
  bool Has(Column column) const { return columns_[column] >= 0; }
  // The field as the file has it ("" without the column).
  std::string_view RawField(Column column) const {
    return Has(column)
               ? std::string_view(record_.fields[static_cast<std::size_t>(columns_[column])])
               : std::string_view();
  }
  std::string_view Field(Column column) const { return Trimmed(RawField(column)); }
  std::string Upper(Column column) const {
    std::string text(Field(column));
    for (char& c : text) c = AsciiUpper(c);
    return text;
  }
  void Set(int column, std::string text) { channel_->cells[column] = std::move(text); }
  void Report(std::string reason) {
    report_.push_back({record_.line, channel_->channel, std::move(reason)});
  }

  std::optional<RowProblem> ReadFrequencies() {
    const std::string_view frequency = Field(kFrequency);
    const std::string duplex = Upper(kDuplex);
    if (!duplex.empty() && duplex != "+" && duplex != "-" && duplex != "SPLIT" && duplex != "OFF") {
      return Problem([&] {
        return "Duplex " + QuotedValue(Field(kDuplex)) + " is not +, -, split, off or empty";
      });
    }
    std::int64_t offset = 0;
    if (duplex == "+" || duplex == "-" || duplex == "SPLIT") {
      if (!IsDecimal(Field(kOffset))) {
        return Problem(
            [&] { return "Offset " + QuotedValue(Field(kOffset)) + " is not a frequency in MHz"; });
      }
      offset = FrequencyTextToCount(Field(kOffset));
    }

    std::string reason;
    std::string rx_text;
    std::int64_t rx = 0;
    // A channel that only transmits: the export writes no Frequency, the
    // format's other tools write it back as 0.
    const bool no_receive = frequency.empty() || (duplex == "SPLIT" && IsDecimal(frequency) &&
                                                  FrequencyTextToCount(frequency) == 0);
    if (no_receive) {
      if (duplex != "SPLIT") return Problem([&] { return "the Frequency is empty"; });
    } else {
      if (!IsDecimal(frequency)) {
        return Problem(
            [&] { return "Frequency " + QuotedValue(frequency) + " is not a frequency in MHz"; });
      }
      rx = FrequencyTextToCount(frequency);
      const auto cell = FrequencyCell(rx, reason);
      if (!cell)
        return Problem([&] { return "Frequency " + EchoedValue(frequency) + " MHz is " + reason; });
      rx_text = *cell;
    }

    std::int64_t tx = rx;
    if (duplex == "+") tx = rx + offset;
    if (duplex == "-") tx = rx - offset;
    if (duplex == "SPLIT") tx = offset;
    std::string tx_text;
    if (duplex != "OFF") {
      const auto cell = FrequencyCell(tx, reason);
      if (!cell) {
        return Problem([&] {
          return "the transmit frequency " + Mhz6(tx) + " MHz (Duplex " +
                 QuotedValue(Field(kDuplex)) + ", Offset " + EchoedValue(Field(kOffset)) + ") is " +
                 reason;
        });
      }
      tx_text = *cell;
    }
    Set(gl::kColReceive, rx_text);
    Set(gl::kColTransmit, tx_text);
    return std::nullopt;
  }

  std::optional<RowProblem> ReadMode() {
    const std::string mode = Upper(kMode);
    if (mode.empty()) return std::nullopt;
    if (mode == kModeWide) {
      Set(gl::kColBandwidth, std::string(cl::kBandwidth[0]));
    } else if (mode == kModeNarrow) {
      Set(gl::kColBandwidth, std::string(cl::kBandwidth[1]));
    } else {
      return Problem([&] { return "Mode " + EchoedValue(Field(kMode)) + " is not FM or NFM"; });
    }
    return std::nullopt;
  }

  std::optional<std::string> Ctcss(Column column, std::optional<RowProblem>& problem) {
    auto entry = CtcssEntry(Field(column));
    if (!entry) {
      problem = Problem([&] {
        return std::string(channel_csv::kHeader[column]) + " " + QuotedValue(Field(column)) +
               " is not a CTCSS tone of the radio";
      });
    }
    return entry;
  }

  std::optional<std::string> Dcs(Column column, char polarity, std::optional<RowProblem>& problem) {
    auto entry = DcsEntry(Field(column), polarity);
    if (!entry) {
      problem = Problem([&] {
        return std::string(channel_csv::kHeader[column]) + " " + QuotedValue(Field(column)) +
               " is not a DCS code of the radio";
      });
    }
    return entry;
  }

  static void Take(std::optional<std::string> entry, std::string& side) {
    if (entry) side = *entry;
  }

  // The DtcsPolarity field: N or R for the transmit side, then for the
  // receive side (NN when empty); nullopt, with the problem set, when it is
  // anything else.
  std::optional<std::string> Polarity(std::optional<RowProblem>& problem) {
    std::string polarity = Upper(kDtcsPolarity);
    if (polarity.empty()) polarity = kNeutralPolarity;
    const auto letter = [](char c) { return c == kDcsNormal || c == kDcsInverted; };
    if (polarity.size() == 2 && letter(polarity[0]) && letter(polarity[1])) return polarity;
    problem = Problem([&] {
      return "DtcsPolarity " + QuotedValue(Field(kDtcsPolarity)) + " is not NN, NR, RN or RR";
    });
    return std::nullopt;
  }

  std::optional<RowProblem> ReadTones() {
    const std::string mode = Upper(kTone);
    std::string tx = "OFF";
    std::string rx = "OFF";
    std::optional<RowProblem> problem;
    if (mode.empty()) {
    } else if (mode == "TONE") {
      Take(Ctcss(kRToneFreq, problem), tx);
    } else if (mode == "TSQL") {
      // cToneFreq is the squelch tone when it is given and says otherwise.
      const std::string_view c = Field(kCToneFreq);
      const bool differs = !c.empty() && CtcssEntry(c) != CtcssEntry(Field(kRToneFreq));
      Take(Ctcss(differs ? kCToneFreq : kRToneFreq, problem), tx);
      rx = tx;
    } else if (mode == "DTCS") {
      if (const auto polarity = Polarity(problem)) {
        Take(Dcs(kDtcsCode, (*polarity)[0], problem), tx);
        if (!problem) Take(Dcs(kDtcsCode, (*polarity)[1], problem), rx);
      }
    } else if (mode == "CROSS") {
      problem = ReadCrossTones(tx, rx);
    } else if (mode == "TSQL-R" || mode == "DTCS-R") {
      return Problem([&] {
        return "Tone " + EchoedValue(Field(kTone)) +
               " (reverse squelch) is not a mode the radio has";
      });
    } else {
      return Problem([&] {
        return "Tone " + QuotedValue(Field(kTone)) + " is not a tone mode of the format";
      });
    }
    if (problem) return problem;
    Set(gl::kColRxTone, rx);
    Set(gl::kColTxTone, tx);
    return std::nullopt;
  }

  // Tone CROSS: CrossMode says which kind of tone each side has
  // ("TONE->DTCS", "->TONE"...).
  std::optional<RowProblem> ReadCrossTones(std::string& tx, std::string& rx) {
    if (!Has(kCrossMode)) {
      return Problem([&] { return "the file has no CrossMode column, which a Cross row needs"; });
    }
    const std::string cross = Upper(kCrossMode);
    const std::size_t arrow = cross.find("->");
    const std::string tx_kind = arrow == std::string::npos ? cross : cross.substr(0, arrow);
    const std::string rx_kind = arrow == std::string::npos ? "" : cross.substr(arrow + 2);
    auto known = [](const std::string& kind) {
      return kind.empty() || kind == "TONE" || kind == "DTCS";
    };
    if (arrow == std::string::npos || !known(tx_kind) || !known(rx_kind) ||
        (tx_kind.empty() && rx_kind.empty())) {
      return Problem([&] {
        return "CrossMode " + QuotedValue(Field(kCrossMode)) + " is not one the radio can hold";
      });
    }
    std::optional<RowProblem> problem;
    std::string polarity;
    if (tx_kind == "DTCS" || rx_kind == "DTCS") {
      const auto given = Polarity(problem);
      if (!given) return problem;
      polarity = *given;
    }
    if (tx_kind == "TONE") Take(Ctcss(kRToneFreq, problem), tx);
    if (tx_kind == "DTCS" && !problem) Take(Dcs(kDtcsCode, polarity[0], problem), tx);
    if (rx_kind == "TONE" && !problem) Take(Ctcss(kCToneFreq, problem), rx);
    if (rx_kind == "DTCS" && !problem) Take(Dcs(kRxDtcsCode, polarity[1], problem), rx);
    return problem;
  }

  void ReadSkip() {
    if (!Has(kSkip)) return;
    Set(gl::kColScan, std::string(Upper(kSkip) == kSkipNoScan ? cl::kScan[1] : cl::kScan[0]));
  }

  void ReadPower() {
    const std::string_view power = Field(kPower);
    if (power.empty()) return;
    if (EqualsIgnoringCase(power, kPowerHigh)) return Set(gl::kColTxPower, std::string(kPowerHigh));
    if (EqualsIgnoringCase(power, kPowerLow)) return Set(gl::kColTxPower, std::string(kPowerLow));
    // A wattage: "5W", "0.5 W", "4.0".
    std::string_view number = power;
    if (number.ends_with('W') || number.ends_with('w')) number.remove_suffix(1);
    while (number.ends_with(' ')) number.remove_suffix(1);
    if (IsDecimal(number) && number.find(',') == std::string_view::npos) {
      const bool high = ReadLeadingNumber(number) >= channel_csv::kHighPowerWatts;
      return Set(gl::kColTxPower, std::string(high ? kPowerHigh : kPowerLow));
    }
    Report("Power " + QuotedValue(power) +
           " is neither High, Low nor a wattage; the channel keeps " +
           std::string(cl::kTxPower[1]));
  }

  // "OptSignal=CCIR BusyLock=QT/DQT PTTID=OFF" anywhere among other words.
  void ReadComment() {
    struct Setting {
      std::string_view key;
      int column;
      std::string_view kept;  // the new row's value
    };
    static constexpr Setting kSettings[] = {{kOptSignalKey, gl::kColOptSignal, cl::kOptSignal[0]},
                                            {kBusyLockKey, gl::kColBusyLock, cl::kBusyLock[0]},
                                            {kPttIdKey, gl::kColPttId, cl::kPttId[1]}};
    const std::string_view comment = Field(kComment);
    std::size_t pos = 0;
    while (pos < comment.size()) {
      const std::size_t start = comment.find_first_not_of(" \t\r\n", pos);
      if (start == std::string::npos) break;
      pos = comment.find_first_of(" \t\r\n", start);
      const std::string_view word =
          std::string_view(comment).substr(start, pos == std::string::npos ? pos : pos - start);
      const std::size_t equals = word.find('=');
      if (equals == std::string_view::npos) continue;
      const std::string_view key = word.substr(0, equals);
      const std::string_view value = word.substr(equals + 1);
      for (const Setting& setting : kSettings) {
        if (!EqualsIgnoringCase(key, setting.key)) continue;
        // An empty Opt Signal is what the grid shows for a channel whose
        // byte holds neither entry; it is written back as it was.
        if (setting.column == gl::kColOptSignal && value.empty()) {
          Set(setting.column, std::string());
          continue;
        }
        const int entry = cl::FindEntry(setting.column, value);
        if (entry >= 0) {
          Set(setting.column, std::string(cl::EntryText(setting.column, entry)));
        } else {
          Report("Comment " + QuotedValue(word) + " is not a " + std::string(setting.key) +
                 " the radio has; the channel keeps " + std::string(setting.kept));
        }
      }
    }
  }

  void ReadName() {
    if (!Has(kName)) return;
    ImportedName name = ImportName(RawField(kName));
    if (!name.reason.empty()) Report(std::move(name.reason));
    Set(gl::kColName, std::move(name.held));
  }

  const ColumnIndex& columns_;
  const CsvRecord& record_;
  std::vector<ImportReportLine>& report_;
  const bool explain_;
  ImportedChannel* channel_ = nullptr;
};

bool AllFieldsBlank(const CsvRecord& record) {
  return std::all_of(record.fields.begin(), record.fields.end(),
                     [](const std::string& field) { return Trimmed(field).empty(); });
}

std::size_t FieldCount(const CsvRecord& record) {
  return record.fields.size() + record.fields_not_kept;
}

// Where each column of the format is among the header's fields; -1 when
// the list has no such column.
ColumnIndex FindColumns(const CsvRecord& header) {
  ColumnIndex columns;
  columns.fill(-1);
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    for (std::size_t c = 0; c < kColumnCount; ++c) {
      if (columns[c] < 0 &&
          EqualsIgnoringCase(Trimmed(header.fields[i]), channel_csv::kHeader[c])) {
        columns[c] = static_cast<int>(i);
      }
    }
  }
  return columns;
}

// Which channel each row of a list goes to: its Location where the list
// has them and no first channel was asked for (a list whose locations
// start at 0 counts from 0), else the next channel from the first one.
class RowPlacer {
 public:
  // With Location, the rows of `text` after its header are looked through
  // once for a Location 0 before the first row is placed.
  RowPlacer(std::string_view text, std::size_t header_fields, const ColumnIndex& columns,
            const CsvImportOptions& options)
      : columns_(columns),
        by_location_(options.first_channel == 0 && columns[kLocation] >= 0),
        next_channel_(options.first_channel > 0 ? options.first_channel : 1) {
    if (!by_location_) return;
    CsvReader reader(text, {.keep_blanks = true,
                            .max_fields = static_cast<std::size_t>(columns[kLocation]) + 1});
    CsvRecord record;
    reader.Next(record);  // the header
    while (reader.Next(record)) {
      if (FieldCount(record) == header_fields && WholeNumber(LocationText(record)) == 0) {
        from_zero_ = true;
        break;
      }
    }
  }

  // Whether no row after those that filled `imported` channels can find
  // one: the next channel in file order lies beyond 128, or every channel
  // is imported. Then the reason, for the rows that are not read.
  bool NoChannelLeft(std::size_t imported) const {
    return by_location_ ? imported == image_map::kChannelCount : next_channel_ >= gl::kRows;
  }
  std::string_view NoChannelLeftReason() const {
    return by_location_ ? "all 128 channels are imported"
                        : "no channel is left (channel 128 is the last)";
  }

  // Sets channel.channel for `record`: 0, and false, when it has none.
  // Not called once NoChannelLeft.
  bool Place(const CsvRecord& record, ImportedChannel& channel) {
    if (!by_location_) {
      channel.channel = next_channel_++;
      return true;
    }
    const auto location = WholeNumber(LocationText(record));
    channel.channel = location ? *location + (from_zero_ ? 1 : 0) : 0;
    if (channel.channel >= 1 && channel.channel < gl::kRows) return true;
    channel.channel = 0;
    return false;
  }

  // Why `record` has no channel.
  std::string NoPlaceReason(const CsvRecord& record) const {
    const std::string_view location_text = LocationText(record);
    if (!WholeNumber(location_text)) {
      return "Location " + QuotedValue(location_text) + " is not a channel number";
    }
    return "Location " + std::string(location_text) + " is beyond channel 128" +
           (from_zero_ ? " (locations count from 0)" : "");
  }

 private:
  std::string_view LocationText(const CsvRecord& record) const {
    const int column = columns_[kLocation];
    return column >= 0 && static_cast<std::size_t>(column) < record.fields.size()
               ? Trimmed(record.fields[static_cast<std::size_t>(column)])
               : std::string_view();
  }

  const ColumnIndex& columns_;
  const bool by_location_;
  bool from_zero_ = false;
  int next_channel_;
};

// The report as an import gathers it: the first lines in full, the others
// only counted, so that a file of a million bad rows costs no more than
// one of a few hundred.
class ReportGatherer {
 public:
  // Whether the next line is kept, and so needs its text.
  bool TakesText() const { return lines_.size() <= channel_csv::kMaxReportLines; }

  void Add(ImportReportLine line) {
    ++total_;
    // One line more than is shown: a single line over is shown rather
    // than summed up.
    if (TakesText()) lines_.push_back(std::move(line));
  }

  // The lines kept, and in place of the others one that counts them.
  std::vector<ImportReportLine> Take() && {
    if (total_ > lines_.size()) {
      const int first_left_out = lines_[channel_csv::kMaxReportLines].line;
      lines_.resize(channel_csv::kMaxReportLines);
      lines_.push_back({first_left_out, 0,
                        "and " + std::to_string(total_ - channel_csv::kMaxReportLines) +
                            " more lines were not taken"});
    }
    return std::move(lines_);
  }

 private:
  std::vector<ImportReportLine> lines_;
  std::size_t total_ = 0;
};

}  // namespace

std::string ChannelsToCsv(const ChannelGrid& grid) {
  std::string out;
  out.reserve(16 * 1024);
  for (std::size_t i = 0; i < channel_csv::kHeader.size(); ++i) {
    if (i > 0) out += ',';
    out += channel_csv::kHeader[i];
  }
  out += kLineEnd;

  for (int row = 1; row < gl::kRows; ++row) {
    if (!RowHasFrequency(grid, row)) continue;
    std::array<std::string, kColumnCount> f;
    const std::int64_t rx = CellCount(grid.TextMatrix(row, gl::kColReceive));
    const std::int64_t tx = CellCount(grid.TextMatrix(row, gl::kColTransmit));
    f[kLocation] = std::to_string(row);
    f[kName] = grid.TextMatrix(row, gl::kColName);
    f[kFrequency] = rx != 0 ? Mhz6(rx) : "";
    WriteDuplex(rx, tx, f);
    WriteTones(ToneOfCell(grid.TextMatrix(row, gl::kColTxTone)),
               ToneOfCell(grid.TextMatrix(row, gl::kColRxTone)), f);
    f[kMode] = IsOneOf(grid.TextMatrix(row, gl::kColBandwidth), "Wide", cl::kWideZh) ? kModeWide
                                                                                     : kModeNarrow;
    f[kTStep] = StepOf(rx, tx);
    f[kSkip] = IsOneOf(grid.TextMatrix(row, gl::kColScan), "Yes", cl::kYesZh) ? "" : kSkipNoScan;
    f[kPower] = IsOneOf(grid.TextMatrix(row, gl::kColTxPower), "High", cl::kHighZh) ? kPowerHigh
                                                                                    : kPowerLow;
    f[kComment] = CommentOf(grid, row);
    for (std::size_t i = 0; i < f.size(); ++i) {
      if (i > 0) out += ',';
      out += CsvField(f[i]);
    }
    out += kLineEnd;
  }
  return out;
}

Result<ChannelCsvImport> ReadChannelCsv(std::string_view text, const CsvImportOptions& options) {
  if (text.starts_with(kUtf16LittleEndianMark) || text.starts_with(kUtf16BigEndianMark)) {
    return Error("",
                 "the file is UTF-16 text and must be saved as UTF-8 to be read as a channel list");
  }
  CsvReader reader(text, kReadRules);
  CsvRecord header;
  if (!reader.Next(header)) return Error("", "not a channel list: the file holds no header line");
  const ColumnIndex columns = FindColumns(header);
  if (columns[kFrequency] < 0) {
    return Error("", "not a channel list: its first line (line " + std::to_string(header.line) +
                         ") has no Frequency column");
  }

  ChannelCsvImport import;
  ReportGatherer report;
  std::optional<ImportReportLine> rows_not_read;
  RowPlacer placer(text, FieldCount(header), columns, options);
  std::array<int, gl::kRows> taken_by_line{};  // channel -> line that filled it
  CsvRecord record;
  while (reader.Next(record)) {
    if (AllFieldsBlank(record)) continue;
    if (placer.NoChannelLeft(import.channels.size())) {
      rows_not_read = {
          record.line, 0,
          std::string(placer.NoChannelLeftReason()) +
              "; rows not read from this line on: " + std::to_string(1 + reader.SkipRest())};
      break;
    }
    ImportedChannel channel;
    channel.line = record.line;
    // Past a full report a skipped row is only counted: its reason is not
    // even written.
    const bool explain = report.TakesText();
    auto skip = [&](auto make_reason) {
      report.Add({record.line, channel.channel,
                  explain ? std::string(make_reason()) + std::string(kSkipped) : std::string()});
    };

    // The channel first, so that every report line can name it.
    const bool placed = placer.Place(record, channel);
    if (record.unterminated) {
      skip([] { return "a quoted field is not closed before the end of the file"; });
      break;
    }
    if (FieldCount(record) != FieldCount(header)) {
      skip([&] {
        return "the row has " + std::to_string(FieldCount(record)) +
               " fields where the header has " + std::to_string(FieldCount(header));
      });
      continue;
    }
    if (!placed) {
      skip([&] { return placer.NoPlaceReason(record); });
      continue;
    }
    if (const int earlier = taken_by_line[static_cast<std::size_t>(channel.channel)]; earlier > 0) {
      skip([&] {
        return "channel " + std::to_string(channel.channel) + " was already imported from line " +
               std::to_string(earlier);
      });
      continue;
    }
    std::vector<ImportReportLine> field_report;
    RowReader reader_of_row(columns, record, field_report, explain);
    if (const auto problem = reader_of_row.Read(channel)) {
      skip([&] { return problem->reason; });
      continue;
    }
    taken_by_line[static_cast<std::size_t>(channel.channel)] = record.line;
    for (ImportReportLine& line : field_report) report.Add(std::move(line));
    import.channels.push_back(std::move(channel));
  }
  import.report = std::move(report).Take();
  if (rows_not_read) import.report.push_back(std::move(*rows_not_read));
  return import;
}

ImportedName ImportName(std::string_view name) {
  ImportedName imported{NameEditorText(name), {}};
  std::string upper(name);
  for (char& c : upper) c = AsciiUpper(c);
  std::string kept_characters;
  for (const char c : upper) {
    if (NameCharToCode(c) != name_code::kEnd) kept_characters.push_back(c);
  }
  if (kept_characters != upper) {
    imported.reason = "Name " + QuotedValue(name) + " is changed to " + QuotedValue(imported.held);
  } else if (imported.held != upper) {
    imported.reason =
        "Name " + QuotedValue(name) + " is shortened to " + QuotedValue(imported.held);
  }
  return imported;
}

void ApplyChannelImport(const ChannelCsvImport& import, ChannelGrid& grid) {
  for (const ImportedChannel& channel : import.channels) {
    if (channel.channel < 1 || channel.channel >= gl::kRows) continue;
    for (int col = gl::kColReceive; col < gl::kColumns; ++col) {
      grid.SetTextMatrix(channel.channel, col, std::string());
    }
    for (int col = gl::kColReceive; col < gl::kColumns; ++col) {
      if (const auto& text = channel.cells[col]) {
        CommitCellText(grid, channel.channel, col, *text, CommitPath::LeaveCell);
      }
    }
  }
}

}  // namespace zlm5
