// z-lm5-cli print: the five-page report of a channel data file as a PDF,
// drawn by the same page code as the desktop program's printing.

#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QString>

#include <cstdlib>
#include <iostream>
#include <memory>

#include "files/channel_document.h"
#include "tools/cli/cli_command.h"
#include "ui/printing.h"
#include "ui/report_data.h"

namespace zlm5::cli {
namespace {

int RunPrint(const std::vector<std::string>& args);

const CliCommand kPrint{
    "print",
    "write the printed report of a channel data file as a PDF",
    "Usage: z-lm5-cli print FILE -o REPORT.pdf [--english] [--paper a4|letter]\n"
    "Writes the five report pages (radio settings and channels 1-22, then\n"
    "channels 23-54, 55-86, 87-118 and 119-128) of FILE to REPORT.pdf, as the\n"
    "desktop program prints them. No display is needed.\n\n"
    "  -o, --output REPORT.pdf  the PDF to write (replaced only when complete)\n"
    "  --english                the English texts (default: the Chinese texts)\n"
    "  --paper a4|letter        paper size (default: a4)\n",
    90,
    RunPrint,
};
const CliCommandRegistration kRegistration(kPrint);

// Page drawing needs a QGuiApplication; without a platform chosen by the
// user, the offscreen one lets the command run without a display.
std::unique_ptr<QGuiApplication> MakeGuiApplication() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "z-lm5-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

int RunPrint(const std::vector<std::string>& args) {
  std::string input;
  std::string output;
  ReportTextSet text_set = ReportTextSet::Chinese;
  PdfPageSetup setup;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" || a == "--output") {
      if (i + 1 >= args.size()) return UsageError(kPrint, a + " needs a file name");
      output = args[++i];
    } else if (a == "--english") {
      text_set = ReportTextSet::English;
    } else if (a == "--paper") {
      if (i + 1 >= args.size()) return UsageError(kPrint, "--paper needs a4 or letter");
      const std::string& paper = args[++i];
      if (paper == "a4" || paper == "A4") {
        setup.page_size = QPageSize(QPageSize::A4);
      } else if (paper == "letter" || paper == "Letter") {
        setup.page_size = QPageSize(QPageSize::Letter);
      } else {
        return UsageError(kPrint, "unknown paper '" + paper + "' (a4 or letter)");
      }
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return UsageError(kPrint, "unknown option '" + a + "'");
    } else if (input.empty()) {
      input = a;
    } else {
      return UsageError(kPrint, "more than one input file");
    }
  }
  if (input.empty()) return UsageError(kPrint, "no channel data file given");
  if (output.empty()) return UsageError(kPrint, "no output file given (-o REPORT.pdf)");

  const Result<RadioImage> image = LoadChannelDataFile(input);
  if (!image) {
    std::cerr << "z-lm5-cli print: " << image.error().Message() << '\n';
    return exit_code::kFileError;
  }

  const auto app = MakeGuiApplication();
  const ReportData data = ReportDataFromImage(*image, text_set);
  const Status written = WriteReportPdf(QFile::decodeName(output.c_str()), data, setup);
  if (!written) {
    std::cerr << "z-lm5-cli print: " << written.error().Message() << '\n';
    return exit_code::kFileError;
  }
  return exit_code::kOk;
}

}  // namespace
}  // namespace zlm5::cli
