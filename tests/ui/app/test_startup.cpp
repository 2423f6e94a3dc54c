// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the program named with a file, the exit status when the file
// cannot be opened, the command line, and the window's first placement.

#include <QDir>
#include <QGuiApplication>
#include <QOperatingSystemVersion>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include "files/channel_document.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app/app.h"
#include "ui/app/main_frame.h"
#include "ui/app/start_arguments.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_control.h"

namespace zlm5 {
namespace {

const QString kProgram = QStringLiteral(ZLM5_BINARY_DIR "/ui/z-lm5");

struct Run {
  int exit_code = -1;
  QString out;
  QString err;
};

enum class Display { kOffscreen, kNone };

bool OnWindows() {
  return QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows;
}

// The program's output with its lines ended by LF: a Windows console
// program ends them with CR LF.
QString OutputText(const QByteArray& bytes) {
  return QString::fromUtf8(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Display::kNone: as over ssh or in a script, no display and no Qt
// platform named in the environment.
Run RunProgram(const QStringList& arguments, Display display = Display::kOffscreen) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  if (display == Display::kOffscreen) {
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  }
  process.setProcessEnvironment(env);
  process.start(kProgram, arguments);
  // A program that started its window would never end: the kill below
  // turns that into a failed comparison instead of a hang.
  if (!process.waitForFinished(60000)) process.kill();
  process.waitForFinished();
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          OutputText(process.readAllStandardOutput()), OutputText(process.readAllStandardError())};
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    App::SetIdentity();
    // Keep the user's own settings out of the tests.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_dir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_dir_.path());
  }

  void a_missing_file_ends_the_program_with_a_message() {
    const QString missing = files_.filePath(QStringLiteral("missing.sin"));
    const Run run = RunProgram({missing});
    QCOMPARE(run.exit_code, 3);
    QVERIFY2(run.err.contains(missing + QStringLiteral(": cannot open the file: ")),
             qPrintable(run.err));
    // The system's reason: "No such file or directory" (Linux), "The system
    // cannot find the file specified." (Windows), "File not found" (wine).
    QVERIFY2(
        run.err.contains(QRegularExpression(QStringLiteral("No such file|cannot find|not found"),
                                            QRegularExpression::CaseInsensitiveOption)),
        qPrintable(run.err));
  }

  void a_short_file_ends_the_program_with_a_message() {
    const QString short_file = files_.filePath(QStringLiteral("short.sin"));
    QVERIFY(test::WriteAll(short_file, QByteArray(100, '\xff')));
    const Run run = RunProgram({short_file});
    QCOMPARE(run.exit_code, 3);
    QVERIFY2(run.err.contains(short_file), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("100 bytes")), qPrintable(run.err));
  }

  void a_malformed_command_line_is_a_usage_error() {
    QCOMPARE(RunProgram({QStringLiteral("--no-such-option")}).exit_code, 2);
    QCOMPARE(RunProgram({QStringLiteral("a.sin"), QStringLiteral("b.sin")}).exit_code, 2);
    const Run help = RunProgram({QStringLiteral("--help")});
    QCOMPARE(help.exit_code, 0);
    QVERIFY(help.out.contains(QStringLiteral("[file]")));
  }

  void help_version_and_usage_errors_need_no_display() {
    const Run version = RunProgram({QStringLiteral("--version")}, Display::kNone);
    QCOMPARE(version.exit_code, 0);
    QCOMPARE(version.out, QStringLiteral("z-lm5 " ZLM5_PROJECT_VERSION "\n"));
    QCOMPARE(version.err, QString());

    const Run help = RunProgram({QStringLiteral("--help")}, Display::kNone);
    QCOMPARE(help.exit_code, 0);
    // The program as the system writes its path.
    const QString program = QDir::toNativeSeparators(kProgram);
    QVERIFY2(help.out.startsWith(QStringLiteral("Usage: ") + program + " [options] [file]\n"),
             qPrintable(help.out));
    // The port's value: a device path on Linux, a COM name on Windows.
    const QString port_value = OnWindows() ? QStringLiteral("port") : QStringLiteral("path");
    QVERIFY2(help.out.contains(QStringLiteral("  --port <%1>  ").arg(port_value)),
             qPrintable(help.out));
    QCOMPARE(help.err, QString());

    const Run unknown = RunProgram({QStringLiteral("--no-such-option")}, Display::kNone);
    QCOMPARE(unknown.exit_code, 2);
    QVERIFY2(unknown.err.startsWith(QStringLiteral("z-lm5: Unknown option 'no-such-option'.\n"
                                                   "Usage: ") +
                                    program),
             qPrintable(unknown.err));
    // COM9 is a port of Windows, but not of the Port menu on Linux; COM300
    // is none anywhere.
    const QStringList refused = OnWindows()
                                    ? QStringList{QStringLiteral("COM300")}
                                    : QStringList{QStringLiteral("COM9"), QStringLiteral("COM300")};
    for (const QString& port : refused) {
      const Run bad_port = RunProgram({QStringLiteral("--port"), port}, Display::kNone);
      QCOMPARE(bad_port.exit_code, 2);
      QCOMPARE(bad_port.err,
               QStringLiteral("z-lm5: --port: \"%1\" is not a serial port; use ").arg(port) +
                   (OnWindows() ? QStringLiteral("COM1 to COM256 or a device name such as "
                                                 "\\\\.\\CNCA0\n")
                                : QStringLiteral("COM1 to COM4 or a device path such as "
                                                 "/dev/ttyUSB0\n")));
    }
  }

  void a_start_without_a_display_points_to_the_command_line() {
    if (OnWindows()) QSKIP("A Windows session always has its desktop.");
    const Run run = RunProgram({}, Display::kNone);
    QCOMPARE(run.exit_code, 1);
    QCOMPARE(run.out, QString());
    QCOMPARE(run.err, QStringLiteral("z-lm5: the window needs a desktop session, and there is "
                                     "none here (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM "
                                     "are unset).\nz-lm5-cli does the same work without one: see "
                                     "z-lm5-cli --help.\n"));
  }

  // A platform named on the command line is a display: the program goes on
  // and finds the file missing.
  void a_platform_named_on_the_command_line_is_a_display() {
    const QString missing = files_.filePath(QStringLiteral("missing.sin"));
    const Run offscreen = RunProgram({QStringLiteral("-platform"), QStringLiteral("offscreen"),
                                      QStringLiteral("--print"), missing},
                                     Display::kNone);
    QCOMPARE(offscreen.exit_code, 3);
    QVERIFY2(offscreen.err.contains(missing + ": cannot open the file"), qPrintable(offscreen.err));
  }

  void qt_options_are_left_to_the_application() {
    const StartArguments start = ReadStartArguments(
        {QStringLiteral("/usr/bin/z-lm5"), QStringLiteral("-platform"), QStringLiteral("xcb"),
         QStringLiteral("--style=Fusion"), QStringLiteral("-reverse"), QStringLiteral("--port"),
         QStringLiteral("COM2"), QStringLiteral("radio.sin")});
    QCOMPARE(start.outcome, StartArguments::Outcome::kStart);
    QCOMPARE(start.file, QStringLiteral("radio.sin"));
    QVERIFY(start.port_set);
    QCOMPARE(start.port, QStringLiteral("COM2"));
    QVERIFY(start.platform_given);
    QVERIFY(!start.print);

    // After "--" everything is a file name; a flag of Qt's takes no value.
    const StartArguments named = ReadStartArguments(
        {QStringLiteral("z-lm5"), QStringLiteral("--"), QStringLiteral("-reverse")});
    QCOMPARE(named.file, QStringLiteral("-reverse"));
    QVERIFY(!named.platform_given);
    QCOMPARE(ReadStartArguments({QStringLiteral("z-lm5"), QStringLiteral("-reverse=1")}).outcome,
             StartArguments::Outcome::kUsageError);
  }

  // Every option the application lists as Qt's own is set aside with its
  // value before the program's options are read.
  void every_option_of_help_all_is_taken_before_the_application_exists() {
    const Run help_all = RunProgram({QStringLiteral("--help-all")});
    QCOMPARE(help_all.exit_code, 0);
    const Run help = RunProgram({QStringLiteral("--help")});
    const QRegularExpression option(QStringLiteral("^  (?:-\\w, )?--([a-z-]+)"),
                                    QRegularExpression::MultilineOption);
    QStringList ours;
    for (const auto& match : option.globalMatch(help.out)) ours << match.captured(1);
    QVERIFY2(ours.contains(QStringLiteral("port")), qPrintable(help.out));
    QStringList qt_options;
    for (const auto& match : option.globalMatch(help_all.out)) {
      if (!ours.contains(match.captured(1))) qt_options << match.captured(1);
    }
    QVERIFY2(qt_options.contains(QStringLiteral("platform")), qPrintable(help_all.out));
    for (const QString& name : qt_options) {
      const StartArguments start =
          ReadStartArguments({QStringLiteral("z-lm5"), "--" + name, QStringLiteral("value"),
                              QStringLiteral("--version")});
      QVERIFY2(start.outcome == StartArguments::Outcome::kVersion, qPrintable(name));
    }
  }

  void start_opens_the_named_file_before_the_window_is_shown() {
    RadioImage image = ChannelDocument::NewDocumentImage();
    image.Record(3)[3] = 0x14;  // 146.52500 MHz receive on channel 3
    image.Record(3)[2] = 0x65;
    image.Record(3)[1] = 0x25;
    image.Record(3)[0] = 0x00;
    const QString path = files_.filePath(QStringLiteral("start.sin"));
    QVERIFY(SaveChannelDataFile(path.toStdString(), image).ok());

    App app;
    QVERIFY(app.Start(path));
    QVERIFY(app.Frame() != nullptr);
    QVERIFY(!app.Frame()->isVisible());
    QCOMPARE(QString::fromStdString(app.Frame()->Document().path()), path);
    QCOMPARE(app.Frame()->View().GridWidget().TextMatrix(3, 1), QStringLiteral("146.52500"));

    app.ShowMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(app.Frame()));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size = app.Frame()->size();
    QVERIFY(size.width() <= 730 && size.height() <= 768);
    if (available.width() >= 800 && available.height() >= 900) QCOMPARE(size, QSize(730, 768));
    const QPoint offset = app.Frame()->geometry().center() - available.center();
    QVERIFY2(offset.manhattanLength() <= 2, "the window is centred");
  }

  void start_refuses_a_file_it_cannot_open() {
    App app;
    QVERIFY(!app.Start(files_.filePath(QStringLiteral("nothing-here.sin"))));
    QCOMPARE(app.Frame(), nullptr);
  }

  void start_without_a_file_makes_a_new_document() {
    App app;
    QVERIFY(app.Start());
    QVERIFY(app.Frame()->Document().path().empty());
    QCOMPARE(app.Frame()->Document().image(), ChannelDocument::NewDocumentImage());
    QCOMPARE(app.Frame()->View().GridWidget().TextMatrix(0, 1), QStringLiteral("Receive(MHz)"));
  }

 private:
  QTemporaryDir settings_dir_;
  QTemporaryDir files_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::StartupTest)
#include "test_startup.moc"
