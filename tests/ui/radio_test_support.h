// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers of the radio operation tests: the main window with its radio
// commands, a port that counts its opens, and message boxes that record
// their texts and can act while they are "on screen".

#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QProgressBar>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTest>

#include <functional>
#include <memory>
#include <utility>

#include "link/serial_port.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app/main_frame.h"
#include "ui/app/message_box.h"
#include "ui/radio/progress_dialog.h"
#include "ui/radio/radio_operations.h"

namespace zlm5::test {

// A termios port that counts how often it was opened.
class CountingPort : public SerialTransport {
 public:
  explicit CountingPort(int* opens) : opens_(opens) {}
  Status Open(const std::string& d, const TimeoutProfile& p) override {
    ++*opens_;
    return port_.Open(d, p);
  }
  bool IsOpen() const override { return port_.IsOpen(); }
  void Close() override { port_.Close(); }
  void SetProfile(const TimeoutProfile& p) override { port_.SetProfile(p); }
  const TimeoutProfile& profile() const override { return port_.profile(); }
  Status Purge(PurgeMask m) override { return port_.Purge(m); }
  Status Drain() override { return port_.Drain(); }
  Result<std::size_t> Write(std::span<const std::uint8_t> b) override { return port_.Write(b); }
  Result<std::size_t> Read(std::span<std::uint8_t> b) override { return port_.Read(b); }
  void SetWaitCallback(WaitCallback cb) override { port_.SetWaitCallback(std::move(cb)); }

 private:
  int* opens_;
  SerialPort port_;
};

// Takes the place of the message boxes while it lives: records each text
// and its buttons, runs `on_message` while the box would be open, and
// answers with the next scripted button (Ok when none is left).
class MessageLog {
 public:
  MessageLog() {
    previous_ = SetMessageHandler([this](const MessageRequest& request) {
      texts.append(request.text);
      buttons.append(request.buttons);
      if (on_message) on_message(request);
      return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
    });
  }
  ~MessageLog() { SetMessageHandler(std::move(previous_)); }
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  QList<QMessageBox::StandardButton> answers;
  std::function<void(const MessageRequest&)> on_message;
  QStringList texts;
  QList<QMessageBox::StandardButtons> buttons;

 private:
  MessageHandler previous_;
};

// The progress dialog's bar, found as any control of the dialog by its id.
inline QProgressBar* ProgressBarOf(const TransferProgressDialog& dialog) {
  return dialog.findChild<QProgressBar*>(
      QStringLiteral("control%1").arg(TransferProgressDialog::kBarId));
}

// The main window, shown and active, with its radio commands; the ports
// file is read from `config_dir`/z-lm5/ports.conf, and the backups of
// transfers go to `config_dir`/z-lm5/backups.
struct RadioWindow {
  explicit RadioWindow(const QString& config_dir) {
    qputenv("XDG_CONFIG_HOME", config_dir.toLocal8Bit());
    qputenv("XDG_DATA_HOME", config_dir.toLocal8Bit());
    qputenv("LOCALAPPDATA", config_dir.toUtf8());  // the same on Windows
    frame = std::make_unique<MainFrame>(settings.Get());
    radio = new RadioOperations(*frame);
    radio->SetTransportFactory([this] { return std::make_unique<CountingPort>(&opens); });
    frame->resize(730, 768);
    frame->show();
    frame->activateWindow();
    active = QTest::qWaitForWindowActive(frame.get());
  }

  TempSettings settings;
  std::unique_ptr<MainFrame> frame;
  RadioOperations* radio = nullptr;  // owned by the frame
  int opens = 0;
  bool active = false;  // the window got the focus
};

}  // namespace zlm5::test
