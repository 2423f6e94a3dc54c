// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli print: the five-page report of a channel data file as a PDF,
// drawn by the same page code as the desktop program's printing.

#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QString>
#include <QtGlobal>

#include <array>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

#include "files/channel_document.h"
#include "files/file_saving.h"
#include "files/utf8_path.h"
#include "report/printing.h"
#include "report/report_data.h"
#include "tools/cli/cli_args.h"

namespace zlm5::cli {
namespace {

int RunPrint(const std::vector<std::string>& args);

constexpr std::array<CliOption, 3> kOptions = {{
    {"-o", "--output", OptionKind::kValue, "REPORT.pdf",
     "the PDF to write (replaced only when complete)"},
    {"", "--english", OptionKind::kFlag, "", "the English texts (default: the Chinese texts)"},
    {"", "--paper", OptionKind::kValue, "a4|letter", "paper size (default: a4)"},
}};

const CliCommand kPrint = {
    .name = "print",
    .summary = "write the printed report of a channel data file as a PDF",
    .usage =
        "Usage: z-lm5-cli print FILE -o REPORT.pdf [--english] [--paper a4|letter]\n"
        "\n"
        "Writes the five report pages (radio settings and channels 1-22, then\n"
        "channels 23-54, 55-86, 87-118 and 119-128) of FILE to REPORT.pdf, as the\n"
        "desktop program prints them. No display is needed.\n\n"
        "Options:\n",
    .order = 90,
    .run = RunPrint,
    .options = kOptions,
    .usage_end =
        "\n"
        "Exit codes: 0 written, 2 usage error, 3 FILE cannot be read or the PDF\n"
        "cannot be written (an existing REPORT.pdf is then left as it was).\n",
};
const CliCommandRegistration kRegistration(kPrint);

// Qt's own notes about the machine (no XDG_RUNTIME_DIR outside a desktop
// session, a font it substitutes) say nothing about the report, and
// standard error is kept for this command's messages, which scripts read.
// Only what ends the program is passed on: a critical or fatal message
// comes just before the failure it explains.
void KeepQtNotesOffStandardError(QtMsgType type, const QMessageLogContext& /*context*/,
                                 const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << "z-lm5-cli print: " << message.toLocal8Bit().constData() << '\n';
  }
}

// Page drawing needs a QGuiApplication; without a platform chosen by the
// user, the offscreen one lets the command run without a display.
std::unique_ptr<QGuiApplication> MakeGuiApplication() {
  qInstallMessageHandler(KeepQtNotesOffStandardError);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "z-lm5-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

int RunPrint(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, kOptions, parsed)) return UsageError(kPrint, *error);
  const ReportTextSet text_set =
      parsed.Has("--english") ? ReportTextSet::English : ReportTextSet::Chinese;
  if (parsed.positional.size() != 1) return UsageError(kPrint, "expected exactly one FILE");
  const std::string* output = parsed.Value("--output");
  if (output == nullptr || output->empty()) {
    return UsageError(kPrint, "no output file given (-o REPORT.pdf)");
  }
  PdfPageSetup setup;
  if (const std::string* paper = parsed.Value("--paper")) {
    if (*paper == "a4" || *paper == "A4") {
      setup.page_size = QPageSize(QPageSize::A4);
    } else if (*paper == "letter" || *paper == "Letter") {
      setup.page_size = QPageSize(QPageSize::Letter);
    } else {
      return UsageError(kPrint, "unknown paper '" + *paper + "' (a4 or letter)");
    }
  }

  // A slip of the keyboard must not turn the channel data into a PDF.
  std::error_code same_error;
  if (std::filesystem::equivalent(PathFromUtf8(parsed.positional.front()), PathFromUtf8(*output),
                                  same_error)) {
    return UsageError(kPrint, "the report would replace the channel data file '" + *output + "'");
  }

  // Refused before any page is drawn; the save checks again when it writes.
  const Result<SaveTarget> target = CheckSaveTarget(*output);
  if (!target) return FileError(kPrint, target.error());

  const Result<RadioImage> image = LoadChannelDataFile(parsed.positional.front());
  if (!image) return FileError(kPrint, image.error());

  const auto app = MakeGuiApplication();
  const ReportData data = ReportDataFromImage(*image, text_set);
  const Status written = WriteReportPdf(QFile::decodeName(output->c_str()), data, setup);
  if (!written) return FileError(kPrint, written.error());
  return exit_code::kOk;
}

}  // namespace
}  // namespace zlm5::cli
