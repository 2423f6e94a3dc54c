// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/edit/check_commands.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

#include "files/channel_document.h"
#include "model/channel_checks.h"
#include "model/document_compare.h"
#include "model/grid_edits.h"
#include "ui/app/app_names.h"
#include "ui/app/command_ids.h"
#include "ui/app/main_frame.h"
#include "ui/app/message_box.h"
#include "ui/app/translation.h"
#include "ui/dialogs/check_dialog.h"
#include "ui/dialogs/compare_dialog.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_control.h"
#include "ui/radio/radio_operations.h"

namespace zlm5 {
namespace {

// `label` and `prompt` are QT_TR_NOOP texts of CheckCommands.
QAction* MakeAction(QObject* parent, const char* object_name, const char* label,
                    const char* prompt) {
  auto* action = new QAction(parent);
  action->setObjectName(QString::fromLatin1(object_name));
  SetActionTexts(*action, CheckCommands::staticMetaObject.className(), label, prompt);
  return action;
}

}  // namespace

CheckCommands::CheckCommands(MainFrame& frame, RadioOperations& radio)
    : QObject(&frame), frame_(frame), radio_(radio) {
  setObjectName(QStringLiteral("checkCommands"));
  check_channels_ = MakeAction(
      this, "checkChannels", QT_TR_NOOP("Chec&k Channels..."),
      QT_TR_NOOP("List channels that are likely mistakes: out of band, repeated, without a "
                 "receive frequency, names used twice"));
  compare_with_ = MakeAction(this, "compareWith", QT_TR_NOOP("Compare &With..."),
                             QT_TR_NOOP("List what differs between the document and a "
                                        "channel data file"));
  compare_with_radio_ = MakeAction(
      this, "compareWithRadio", QT_TR_NOOP("Compare With Ra&dio..."),
      QT_TR_NOOP("Read the radio and list what differs from the document, which stays as "
                 "it is"));

  // File: the compares follow Save As, in a group of their own.
  QMenu* file = frame_.FileMenu();
  const QList<QAction*> entries = file->actions();
  const qsizetype save_as = entries.indexOf(frame_.Action(command_id::kSaveAs));
  QAction* after_save_as =
      save_as >= 0 && save_as + 1 < entries.size() ? entries[save_as + 1] : nullptr;
  file->insertSeparator(after_save_as);
  file->insertAction(after_save_as, compare_with_);
  file->insertAction(after_save_as, compare_with_radio_);
  // Edit: after the editing commands.
  QMenu* edit = frame_.EditMenu();
  if (!edit->isEmpty()) edit->addSeparator();
  edit->addAction(check_channels_);

  connect(check_channels_, &QAction::triggered, this, &CheckCommands::CheckChannels);
  connect(compare_with_, &QAction::triggered, this, &CheckCommands::CompareWith);
  connect(compare_with_radio_, &QAction::triggered, this, &CheckCommands::CompareWithRadio);
  connect(file, &QMenu::aboutToShow, this, &CheckCommands::UpdateEnabled);
  connect(edit, &QMenu::aboutToShow, this, &CheckCommands::UpdateEnabled);
}

void CheckCommands::UpdateEnabled() {
  // A dialog of ours would take the focus from a running transfer's
  // progress dialog, which counts as an interruption.
  const bool idle = !radio_.Busy();
  check_channels_->setEnabled(idle);
  compare_with_->setEnabled(idle);
  compare_with_radio_->setEnabled(idle);
}

// ---------------------------------------------------------------------------
// Check Channels

void CheckCommands::CheckChannels() {
  if (radio_.Busy()) return;
  frame_.View().CommitOpenEditor();
  if (check_dialog_) {
    check_dialog_->CheckAgain();
  } else {
    check_dialog_ = new ChannelCheckDialog(
        [this] {
          // What is typed into an open editor counts.
          frame_.View().CommitOpenEditor();
          return ::zlm5::CheckChannels(frame_.View().Grid());
        },
        &frame_);
    connect(check_dialog_, &ChannelCheckDialog::GoToCell, this, &CheckCommands::GoToCell);
  }
  check_dialog_->show();
  check_dialog_->raise();
  check_dialog_->activateWindow();
}

ChannelCheckDialog* CheckCommands::CheckDialog() const { return check_dialog_; }

void CheckCommands::GoToCell(int row, int col) {
  GridControl& grid = frame_.View().GridWidget();
  // Leaving the current cell commits its open editor, as a click would.
  grid.SetCurrentCell(row, col);
  grid.EnsureCurrentVisible();
  frame_.activateWindow();
  grid.setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------
// Compare

RadioImage CheckCommands::ShownImage(ChannelView& view) {
  return ImageWithGridEdits(view.Document().image(), view.Grid());
}

QString CheckCommands::ChooseFile(const QString& suggested) {
  if (file_chooser_) return file_chooser_(suggested);
  QFileDialog dialog(&frame_, tr("Compare With"));
  dialog.setNameFilters({app_names::FileFilter(), tr("All Files (*)")});
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // In the folder of the user's own documents, not where a dialog was last.
  dialog.setDirectory(suggested.isEmpty() ? frame_.DocumentFolder()
                                          : QFileInfo(suggested).absolutePath());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

void CheckCommands::CompareWith() {
  if (radio_.Busy()) return;
  frame_.View().CommitOpenEditor();
  const QString path = ChooseFile(frame_.OwnDocumentPath());
  if (!path.isEmpty()) CompareWithFile(path);
}

bool CheckCommands::CompareWithFile(const QString& path) {
  frame_.View().CommitOpenEditor();
  const Result<RadioImage> other = LoadChannelDataFile(path.toStdString());
  if (!other) {
    ShowMessage(&frame_, tr("Cannot compare with the file.\n\n%1")
                             .arg(QString::fromStdString(other.error().Message())));
    return false;
  }
  ShowDifferences(QFileInfo(path).fileName(), *other, true);
  return true;
}

void CheckCommands::CompareWithRadio() {
  if (radio_.Busy()) return;
  radio_.ReadIntoScratch([this](const RadioImage& radio) {
    // Typed while the progress dialog waited: it counts too.
    frame_.View().CommitOpenEditor();
    ShowDifferences(tr("the radio"), radio, false);
  });
}

void CheckCommands::ShowDifferences(const QString& other, const RadioImage& image,
                                    bool whole_image) {
  const CompareScope scope =
      whole_image ? CompareScope::WholeImage : CompareScope::TransferredBytes;
  CompareDialog dialog(other, CompareImages(ShownImage(frame_.View()), image, scope), &frame_);
  if (dialog_hook_) {
    QTimer::singleShot(0, &dialog, [this, &dialog] {
      if (dialog_hook_) dialog_hook_(dialog);
    });
  }
  dialog.exec();
}

}  // namespace zlm5
