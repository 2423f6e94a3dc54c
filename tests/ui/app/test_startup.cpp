// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the program named with a file, the exit status when the file
// cannot be opened, the command line, and the window's first placement.

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include "files/channel_document.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app/app.h"
#include "ui/app/main_frame.h"
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

Run RunProgram(const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  process.setProcessEnvironment(env);
  process.start(kProgram, arguments);
  // A program that started its window would never end: the kill below
  // turns that into a failed comparison instead of a hang.
  if (!process.waitForFinished(60000)) process.kill();
  process.waitForFinished();
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
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
    QVERIFY2(run.err.contains(missing), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("No such file")), qPrintable(run.err));
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
