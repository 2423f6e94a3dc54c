// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

#include "model/radio_image.h"

class QAction;
class QDialog;

namespace zlm5 {

class ChannelCheckDialog;
class ChannelView;
class MainFrame;
class RadioOperations;

// The main window's commands that look at the channels without changing
// anything: Edit > Check Channels..., File > Compare With... and File >
// Compare With Radio... . The core does the work (CheckChannels,
// CompareImages); these commands gather what the user sees and show it.
//
// Each command first commits an open cell editor, so that what the user
// typed counts. The document is compared as the window shows it: its image
// with the edits of the grid and the boxes written into a copy
// (ImageWithGridEdits); the document itself is never changed. A channel
// data file is compared over all 4096 bytes; the radio over the bytes a
// read brings (0x000-0xC4F), read with the progress dialog of Read From
// Radio into a scratch image.
//
// None of the commands starts while a radio operation runs (the compares
// are disabled in the File menu then).
class CheckCommands : public QObject {
  Q_OBJECT

 public:
  // Adds the commands to the frame's Edit and File menus; lives as the
  // frame's child. `radio` reads the radio for Compare With Radio and must
  // outlive this object (it is the frame's child too).
  CheckCommands(MainFrame& frame, RadioOperations& radio);

  QAction* CheckChannelsAction() const { return check_channels_; }
  QAction* CompareWithAction() const { return compare_with_; }
  QAction* CompareWithRadioAction() const { return compare_with_radio_; }

  // Shows the findings in the check dialog (made on first use, then
  // brought back with its list renewed).
  void CheckChannels();
  // Asks for a channel data file and compares the document with it.
  void CompareWith();
  // Compares the document with `path`; false when the file cannot be read
  // (the user is told why).
  bool CompareWithFile(const QString& path);
  // Opens the progress dialog; Start reads the radio and the compare follows.
  void CompareWithRadio();

  // The check dialog while it exists; null otherwise.
  ChannelCheckDialog* CheckDialog() const;

  // The document as the window shows it, for the compares.
  static RadioImage ShownImage(ChannelView& view);

  // --- Hooks for tests and automation -----------------------------------
  // Asks for the file to compare with; `suggested` is the document's path.
  // An empty answer cancels. A file dialog by default.
  using FileChooser = std::function<QString(const QString& suggested)>;
  void SetFileChooser(FileChooser chooser) { file_chooser_ = std::move(chooser); }
  // Called with the compare dialog once its event loop runs; the hook may
  // read the dialog and close it.
  using DialogHook = std::function<void(QDialog&)>;
  void SetDialogHook(DialogHook hook) { dialog_hook_ = std::move(hook); }

 private:
  void GoToCell(int row, int col);
  void ShowDifferences(const QString& other, const RadioImage& image, bool whole_image);
  void UpdateEnabled();
  QString ChooseFile(const QString& suggested);

  MainFrame& frame_;
  RadioOperations& radio_;
  QAction* check_channels_ = nullptr;
  QAction* compare_with_ = nullptr;
  QAction* compare_with_radio_ = nullptr;
  QPointer<ChannelCheckDialog> check_dialog_;
  FileChooser file_chooser_;
  DialogHook dialog_hook_;
};

}  // namespace zlm5
