// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the desktop program's tests.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QMessageBox>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "ui/app/message_box.h"

namespace zlm5::test {

// An image whose channels are set up by typing texts into an in-memory grid
// as a user would and leaving each cell.
inline RadioImage ImageWith(const std::vector<std::tuple<int, int, std::string>>& edits) {
  RadioImage image = ChannelDocument::NewDocumentImage();
  MemoryGrid grid;
  ImageToGrid(image, grid);
  for (const auto& [row, col, text] : edits)
    CommitCellText(grid, row, col, text, CommitPath::LeaveCell);
  GridToImage(grid, image);
  return image;
}

// Takes the place of the message boxes while it lives: records each text
// and answers with the next scripted button (Ok when none is left).
class MessageRecorder {
 public:
  MessageRecorder() {
    previous_ = SetMessageHandler([this](const MessageRequest& request) {
      texts_.append(request.text);
      buttons_.append(request.buttons);
      if (answers_.isEmpty()) return QMessageBox::Ok;
      return answers_.takeFirst();
    });
  }
  ~MessageRecorder() { SetMessageHandler(std::move(previous_)); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  void Answer(QMessageBox::StandardButton button) { answers_.append(button); }
  const QStringList& Texts() const { return texts_; }
  QMessageBox::StandardButtons LastButtons() const {
    return buttons_.isEmpty() ? QMessageBox::StandardButtons() : buttons_.last();
  }
  void Clear() {
    texts_.clear();
    buttons_.clear();
  }

 private:
  MessageHandler previous_;
  QList<QMessageBox::StandardButton> answers_;
  QStringList texts_;
  QList<QMessageBox::StandardButtons> buttons_;
};

// A settings file of its own in a temporary folder.
class TempSettings {
 public:
  TempSettings() : settings_(dir_.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat) {}
  QSettings& Get() { return settings_; }
  QString Folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QSettings settings_;
};

inline QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(bytes) == bytes.size();
}

}  // namespace zlm5::test
