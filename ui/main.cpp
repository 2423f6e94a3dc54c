// The Z-LM5 programming software: the desktop program.

#include <QApplication>
#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>

#include "ui/app.h"

namespace {

// Exit codes, as z-lm5-cli has them.
constexpr int kExitUsage = 2;
constexpr int kExitFileError = 3;

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  zlm5::App::SetIdentity();

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Z-LM5 programming software: reads, edits and writes the radio's channels and options, "
      "and keeps them in channel data files (.sin)."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("file"),
                               QStringLiteral("A channel data file (.sin) to open."),
                               QStringLiteral("[file]"));
  // Options of the radio operations (--port PATH) and of printing are added
  // here, before parsing; they act between Start() and ShowMainWindow().

  if (!parser.parse(QApplication::arguments())) {
    std::fprintf(stderr, "z-lm5: %s\n%s", qUtf8Printable(parser.errorText()),
                 qUtf8Printable(parser.helpText()));
    return kExitUsage;
  }
  if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
  if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    std::fprintf(stderr, "z-lm5: name one file at most\n%s", qUtf8Printable(parser.helpText()));
    return kExitUsage;
  }

  zlm5::App app;
  if (!app.Start(files.value(0))) return kExitFileError;

  app.ShowMainWindow();
  return application.exec();
}
