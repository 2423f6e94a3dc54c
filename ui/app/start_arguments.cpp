// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/start_arguments.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <array>
#include <cstdlib>
#include <string_view>

#include "ui/radio/port_texts.h"
#include "ui/radio/radio_operations.h"
#include "zlm5_version.h"

namespace zlm5 {
namespace {

// The options QApplication takes out of the command line itself: those
// that `--help-all` lists (Qt's core and GUI ones), the widgets' own
// (-style, -stylesheet, -widgetcount) and the X11 ones (-display, -name,
// -geometry, -title, -icon, -sync).
struct QtOption {
  std::string_view name;
  bool takes_value;
};
constexpr std::array<QtOption, 19> kQtOptions = {{
    {"qmljsdebugger", true}, {"platform", true},     {"platformpluginpath", true},
    {"platformtheme", true}, {"plugin", true},       {"qwindowgeometry", true},
    {"qwindowicon", true},   {"qwindowtitle", true}, {"reverse", false},
    {"session", true},       {"style", true},        {"stylesheet", true},
    {"widgetcount", false},  {"display", true},      {"name", true},
    {"geometry", true},      {"title", true},        {"icon", true},
    {"sync", false},
}};
constexpr std::string_view kPlatformOption = "platform";

// The Qt option `argument` is ("-platform", "--style=Fusion"), or null.
// `inline_value` tells whether its value is part of it.
const QtOption* QtOptionOf(const QString& argument, bool& inline_value) {
  if (!argument.startsWith(QLatin1Char('-'))) return nullptr;
  QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
  const qsizetype equals = name.indexOf(QLatin1Char('='));
  inline_value = equals >= 0;
  if (inline_value) name.truncate(equals);
  const QByteArray key = name.toUtf8();
  for (const QtOption& option : kQtOptions) {
    if (std::string_view(key.constData(), key.size()) != option.name) continue;
    return inline_value && !option.takes_value ? nullptr : &option;
  }
  return nullptr;
}

// The same options for the help and for the start, so that they cannot
// differ.
struct StartOptions {
  QCommandLineOption print{QStringLiteral("print"),
                           QStringLiteral("Print the file to the default printer, then end.")};
  QCommandLineOption print_to{
      QStringLiteral("print-to"),
      QStringLiteral("Print the file to the printer named <printer>, then end."),
      QStringLiteral("printer")};
  QCommandLineOption port{QStringLiteral("port"), PortTexts::OptionHelp(),
                          PortTexts::OptionValueName()};

  void AddTo(QCommandLineParser& parser) const {
    parser.setApplicationDescription(QStringLiteral(
        "Z-LM5 programming software: reads, edits and writes the radio's channels and options, "
        "and keeps them in channel data files (.sin)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A channel data file (.sin) to open."),
                                 QStringLiteral("[file]"));
    parser.addOption(print);
    parser.addOption(print_to);
    parser.addOption(port);
  }
};

// Before the application exists Qt does not know the program's path and
// puts a placeholder where the usage line names it.
QString HelpText(const QCommandLineParser& parser, const QString& program) {
  QString text = parser.helpText();
  text.replace(QStringLiteral("<executable_name>"), program);
  return text;
}

StartArguments Ending(StartArguments::Outcome outcome, const QString& text) {
  StartArguments start;
  start.outcome = outcome;
  start.text = text;
  return start;
}

}  // namespace

StartArguments ReadStartArguments(const QStringList& arguments) {
  using Outcome = StartArguments::Outcome;
  const QString program = arguments.value(0, QStringLiteral("z-lm5"));
  QStringList ours{program};
  bool platform_given = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QStringLiteral("--")) {
      ours += arguments.mid(i);
      break;
    }
    bool inline_value = false;
    const QtOption* qt = QtOptionOf(argument, inline_value);
    if (qt == nullptr) {
      ours << argument;
      continue;
    }
    const bool has_value = inline_value || i + 1 < arguments.size();
    if (qt->name == kPlatformOption && has_value) platform_given = true;
    if (qt->takes_value && !inline_value) ++i;
  }

  QCommandLineParser parser;
  const StartOptions options;
  options.AddTo(parser);
  if (!parser.parse(ours)) {
    return Ending(Outcome::kUsageError, QStringLiteral("z-lm5: ") + parser.errorText() +
                                            QLatin1Char('\n') + HelpText(parser, program));
  }
  if (parser.isSet(QStringLiteral("help-all"))) return Ending(Outcome::kHelpAll, {});
  if (parser.isSet(QStringLiteral("help"))) {
    return Ending(Outcome::kHelp, HelpText(parser, program));
  }
  if (parser.isSet(QStringLiteral("version"))) {
    // As the other two programs print it (Qt's own form names the settings).
    return Ending(Outcome::kVersion,
                  QStringLiteral("z-lm5 %1\n").arg(QLatin1String(kProgramVersion)));
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    return Ending(Outcome::kUsageError,
                  QStringLiteral("z-lm5: name one file at most\n") + HelpText(parser, program));
  }
  StartArguments start;
  start.file = files.value(0);
  start.print = parser.isSet(options.print) || parser.isSet(options.print_to);
  start.printer = parser.value(options.print_to);
  if (start.print && start.file.isEmpty()) {
    return Ending(Outcome::kUsageError,
                  QStringLiteral("z-lm5: --print and --print-to need a file\n"));
  }
  start.port_set = parser.isSet(options.port);
  start.port = parser.value(options.port);
  if (start.port_set && !RadioOperations::IsPortName(start.port)) {
    return Ending(Outcome::kUsageError, PortTexts::OptionError(start.port));
  }
  start.platform_given = platform_given;
  return start;
}

void ShowHelpWithQtOptions() {
  QCommandLineParser parser;
  const StartOptions options;
  options.AddTo(parser);
  // Shows the help, Qt's options with it, and ends the program.
  parser.process({QCoreApplication::arguments().value(0), QStringLiteral("--help-all")});
  std::exit(EXIT_SUCCESS);
}

}  // namespace zlm5
