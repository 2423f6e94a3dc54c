// SPDX-License-Identifier: GPL-3.0-or-later
// ui_bench: times of the desktop program on this machine.
//
//   ui_bench              all measurements (start-up runs this program again
//                         in a child process, several times)
//   ui_bench --startup-child
//                         one start-up: prints "shown" once the window is up
//
// Runs on the platform Qt picks (set QT_QPA_PLATFORM=offscreen where there
// is no display). Targets: the grid filled within 50 ms of the open command,
// the window shown within 500 ms of the program's start, and an edit in the
// grid well within one frame (16 ms), so that typing never lags; the undo
// and redo of an import of every channel within one frame too.

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/channel_csv.h"
#include "model/memory_grid.h"
#include "ui/app/app.h"
#include "ui/app/main_frame.h"
#include "ui/app/message_box.h"
#include "ui/edit/edit_history.h"
#include "ui/grid/cell_editor.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_control.h"

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Report(const char* what, const std::vector<double>& ms, double target_ms) {
  const double median = Median(ms);
  const double worst = *std::max_element(ms.begin(), ms.end());
  std::printf("%-44s median %8.3f ms  worst %8.3f ms  target %6.1f ms  (%5.1f%% of target)\n", what,
              median, worst, target_ms, 100.0 * median / target_ms);
}

void WaitUntilExposed(QWidget& widget) {
  QElapsedTimer timeout;
  timeout.start();
  while ((widget.windowHandle() == nullptr || !widget.windowHandle()->isExposed()) &&
         timeout.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  QApplication::processEvents();
}

// A channel data file with all 128 channels in use, names and tones.
zlm5::RadioImage FullImage() {
  zlm5::RadioImage image = zlm5::ChannelDocument::NewDocumentImage();
  zlm5::MemoryGrid grid;
  zlm5::ImageToGrid(image, grid);
  for (int row = 1; row <= 128; ++row) {
    const std::string mhz = std::to_string(400 + row) + ".125";
    zlm5::CommitCellText(grid, row, 1, mhz, zlm5::CommitPath::LeaveCell);
    zlm5::CommitCellText(grid, row, 3, row % 2 ? "D023N" : "88.5", zlm5::CommitPath::LeaveCell);
    zlm5::CommitCellText(grid, row, 11, "CH" + std::to_string(row), zlm5::CommitPath::LeaveCell);
  }
  zlm5::GridToImage(grid, image);
  return image;
}

int StartupChild() {
  // The clock starts as early as main() can; loading the program before
  // main() is measured by the parent.
  QElapsedTimer since_main;
  since_main.start();
  int argc = 1;
  char name[] = "ui_bench";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  zlm5::App::SetIdentity();
  QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  zlm5::App app;
  if (!app.Start()) return 3;
  app.ShowMainWindow();
  WaitUntilExposed(*app.Frame());
  std::printf("shown %.3f\n", since_main.nsecsElapsed() / 1e6);
  std::fflush(stdout);
  return 0;
}

void MeasureStartup(const QString& self) {
  std::vector<double> to_shown;
  std::vector<double> in_main;
  for (int run = 0; run < 7; ++run) {
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(self, {QStringLiteral("--startup-child")});
    double shown_at = -1;
    while (child.state() != QProcess::NotRunning || child.canReadLine()) {
      if (child.canReadLine() || child.waitForReadyRead(100)) {
        const QByteArray line = child.readLine().trimmed();
        if (line.startsWith("shown ")) {
          shown_at = clock.nsecsElapsed() / 1e6;
          in_main.push_back(line.mid(6).toDouble());
        }
      }
      if (shown_at >= 0) break;
    }
    child.waitForFinished(10000);
    if (shown_at < 0) {
      std::printf("start-up child failed: %s\n", child.readAllStandardError().constData());
      return;
    }
    to_shown.push_back(shown_at);
  }
  Report("program start to window shown", to_shown, 500);
  Report("  of which main() to window shown", in_main, 500);
}

void MeasureInProcess() {
  QTemporaryDir folder;
  QSettings settings(folder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
  const QString path = folder.filePath(QStringLiteral("full.sin"));
  if (!zlm5::SaveChannelDataFile(path.toStdString(), FullImage())) {
    std::printf("cannot write %s\n", qPrintable(path));
    return;
  }
  zlm5::SetMessageHandler([](const zlm5::MessageRequest&) { return QMessageBox::Discard; });
  zlm5::MainFrame frame(settings);
  frame.resize(730, 768);
  frame.show();
  WaitUntilExposed(frame);
  zlm5::GridControl& grid = frame.View().GridWidget();

  // Open command to filled grid: read the file, decode, fill 128 x 11
  // cells and repaint what is in view.
  std::vector<double> open_ms;
  std::vector<double> fill_ms;
  for (int run = 0; run < 50; ++run) {
    frame.NewDocument();
    QApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    frame.OpenDocumentFile(path);
    grid.viewport()->repaint();
    open_ms.push_back(clock.nsecsElapsed() / 1e6);

    // Decoding alone, into a grid that holds the other texts.
    const zlm5::RadioImage full = frame.Document().image();
    frame.Document().image() = zlm5::ChannelDocument::NewDocumentImage();
    frame.View().RefreshFromImage();
    frame.Document().image() = full;
    clock.restart();
    frame.View().RefreshFromImage();
    fill_ms.push_back(clock.nsecsElapsed() / 1e6);
  }
  if (grid.TextMatrix(128, 11) != QStringLiteral("CH128")) std::printf("grid not filled!\n");
  Report("open command to filled, painted grid", open_ms, 50);
  Report("decoding a full image into an empty grid", fill_ms, 50);

  // One edit as a user makes it: a key opens the editor over the cell,
  // leaving the cell commits it with the row rules.
  std::vector<double> edit_ms;
  for (int run = 0; run < 200; ++run) {
    const int row = 1 + run % 100;
    QElapsedTimer clock;
    clock.start();
    grid.SetCurrentCell(row, 2);
    frame.View().OpenCellEditor('4');
    frame.View().OpenEditor()->SetText(QStringLiteral("433.5"));
    grid.SetCurrentCell(row + 1, 2);
    QApplication::processEvents();
    edit_ms.push_back(clock.nsecsElapsed() / 1e6);
  }
  Report("key over a cell, type, leave the cell", edit_ms, 16);

  std::vector<double> paint_ms;
  for (int run = 0; run < 50; ++run) {
    QElapsedTimer clock;
    clock.start();
    grid.viewport()->repaint();
    paint_ms.push_back(clock.nsecsElapsed() / 1e6);
  }
  Report("repaint of the grid", paint_ms, 16);

  // An import of every channel in use of the full image, then its undo and
  // redo: each puts back a whole state of the grid.
  zlm5::MemoryGrid full;
  zlm5::ImageToGrid(FullImage(), full);
  const auto import = zlm5::ReadChannelCsv(zlm5::ChannelsToCsv(full), {});
  std::vector<double> undo_ms;
  std::vector<double> redo_ms;
  for (int run = 0; run < 50; ++run) {
    frame.NewDocument();
    frame.View().EditGrid(QStringLiteral("Import"), [&](zlm5::ChannelGrid& grid) {
      zlm5::ApplyChannelImport(*import, grid);
    });
    QUndoStack& stack = frame.View().History().Stack();
    QElapsedTimer clock;
    clock.start();
    stack.undo();
    grid.viewport()->repaint();
    undo_ms.push_back(clock.nsecsElapsed() / 1e6);
    clock.restart();
    stack.redo();
    grid.viewport()->repaint();
    redo_ms.push_back(clock.nsecsElapsed() / 1e6);
  }
  if (grid.TextMatrix(120, 11) != QStringLiteral("CH120")) std::printf("import not redone!\n");
  Report("undo of an import (120 channels)", undo_ms, 16);
  Report("redo of an import (120 channels)", redo_ms, 16);
  zlm5::SetMessageHandler({});
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc > 1 && std::string(argv[1]) == "--startup-child") return StartupChild();
  QApplication application(argc, argv);
  std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
  MeasureInProcess();
  MeasureStartup(QCoreApplication::applicationFilePath());
  return 0;
}
