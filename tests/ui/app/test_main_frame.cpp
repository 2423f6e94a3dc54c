// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: menus, toolbar and key bindings with their ids and texts,
// the questions before edits are dropped, recent files, dropped files,
// failed opens, the caption, the language choice and the help commands.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <functional>
#include <memory>
#include <utility>

#include "files/channel_document.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app/about_dialog.h"
#include "ui/app/app_names.h"
#include "ui/app/command_ids.h"
#include "ui/app/help_window.h"
#include "ui/app/language.h"
#include "ui/app/main_frame.h"
#include "ui/app/recent_files.h"
#include "ui/app/shown_shortcut.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_control.h"

namespace zlm5 {
namespace id = command_id;

namespace {

const QString kCaption = QStringLiteral("VRAX Electronics Programming Software Z-LM5");

// The ids of a menu's or toolbar's items in order; 0 for a separator.
QList<int> Ids(const QList<QAction*>& actions) {
  QList<int> ids;
  for (const QAction* action : actions) {
    ids.append(action->isSeparator() ? 0 : action->data().toInt());
  }
  return ids;
}

QList<int> VisibleIds(const QList<QAction*>& actions) {
  QList<QAction*> visible;
  for (QAction* action : actions) {
    if (action->isVisible()) visible.append(action);
  }
  return Ids(visible);
}

}  // namespace

class MainFrameTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    settings_ = std::make_unique<test::TempSettings>();
    messages_ = std::make_unique<test::MessageRecorder>();
    MakeFrame();
  }
  void cleanup() {
    frame_.reset();
    messages_.reset();
    settings_.reset();
    SetLanguageTag(QString());
  }

  // --- commands -----------------------------------------------------------

  void every_command_has_its_label_prompt_and_tooltip() {
    struct Item {
      int id;
      const char* label;
      const char* prompt;
      const char* tip;  // null: not checked
    };
    const Item items[] = {
        {id::kNew, "&New\tCtrl+N", "Create a new document", "New"},
        {id::kOpen, "&Open...\tCtrl+O", "Open an existing document", "Open"},
        {id::kSave, "&Save\tCtrl+S", "Save the active document", "Save"},
        {id::kSaveAs, "Save &As...", "Save the active document with a new name", "Save As"},
        {id::kPrint, "&Print...\tCtrl+P", "Print the active document", "Print"},
        {id::kPrintPreview, "Print Pre&view", "Display full pages", "Print Preview"},
        {id::kPrintSetup, "P&rint Setup...", "Change the printer and printing options",
         "Print Setup"},
        {id::kExit, "E&xit", "Quit the application; prompts to save documents", "Exit"},
        {id::kImportChannels, "&Import Channels...", "Import channels from a CSV channel list",
         "Import Channels"},
        {id::kExportChannels, "&Export Channels...", "Export the channels to a CSV channel list",
         "Export Channels"},
        {id::kUndo, "&Undo", "Undo the last change", "Undo"},
        {id::kRedo, "&Redo", "Redo the change that was undone", "Redo"},
        {id::kCut, "Cu&t", "Cut the selected channels to the clipboard", "Cut"},
        {id::kCopy, "&Copy", "Copy the selected channels to the clipboard", "Copy"},
        {id::kPaste, "&Paste", "Paste channels from the clipboard from the selected channel on",
         "Paste"},
        {id::kInsertChannel, "&Insert Empty Channel",
         "Insert an empty channel; the channels below move down", "Insert Empty Channel"},
        {id::kDeleteChannels, "&Delete Channels",
         "Delete the selected channels; the channels below move up", "Delete Channels"},
        {id::kMoveChannelUp, "Mo&ve Up", "Move the selected channels up by one", "Move Up"},
        {id::kMoveChannelDown, "Move Do&wn", "Move the selected channels down by one", "Move Down"},
        {id::kClearChannels, "C&lear Channels", "Empty the selected channels", "Clear Channels"},
        {id::kReadFromRadio, "&Read From Radio\tCtrl+R", "Read Data From Radio", "Read"},
        {id::kWriteToRadio, "&Write To Radio\tCtrl+W", "Write Data to Radio ", "Write"},
        {id::kEditData, "&Edit Data\tCtrl+E", "Edit channel Data ", "Edit"},
        {id::kOptionalFeatures, "&Optional Features\tCtrl+O",
         "Set the rest  functional features for the interphone", nullptr},
        {id::kHighPowerDebug, "High Power Debug", "", nullptr},
        {id::kLowPowerDebug, "Low Power Debug", "", nullptr},
        {id::kCom1, "COM1(&P)\tCtrl+C", "Choose Communication Port one ", "Com1"},
        {id::kCom2, "COM2(&Q)\tCtrl+D", "Choose Communication Port two ", "Com2"},
        {id::kCom3, "COM3(&S)\tCtrl+E", "Choose Communication Port three ", "Com3"},
        {id::kCom4, "COM4(&T)\tCtrl+F", "Choose Communication Port four ", "Com4"},
        {id::kViewToolbar, "&Toolbar", "Show or hide the toolbar", "Toggle ToolBar"},
        {id::kViewStatusBar, "&Status Bar", "Show or hide the status bar", "Toggle StatusBar"},
        {id::kHelpTopics, "&Help Topics", "List Help topics", "Help Topics"},
        {id::kAbout, "&About VRAX-3.0...",
         "Display program information, version number and copyright", "About"},
        {id::kContextHelp, "Help", "Display help for clicked on buttons, menus and windows",
         "Help"},
        {id::kHelp, "Help", "Display help for current task or command", "Help"},
        {id::kNextPane, "Next Pane", "Switch to the next window pane", "Next Pane"},
        {id::kPreviousPane, "Previous Pane", "Switch back to the previous window pane",
         "Previous Pane"},
        {id::kDebugOnLine, "Debug on line", "Debug TX Power,Squelch Level,Low Power Alert",
         "Debug on line"},
    };
    for (const Item& item : items) {
      QAction* action = frame_->Action(item.id);
      QVERIFY2(action != nullptr, qPrintable(QString::number(item.id)));
      // "label\tkey": the menu draws the key from the action's shortcut.
      const QString label = QString::fromUtf8(item.label);
      const qsizetype tab = label.indexOf(QLatin1Char('\t'));
      QCOMPARE(action->text(), label.left(tab));
      if (tab >= 0) QCOMPARE(action->shortcut().toString(), label.mid(tab + 1));
      QCOMPARE(action->statusTip(), QString::fromUtf8(item.prompt));
      if (item.tip != nullptr) QCOMPARE(action->toolTip(), QString::fromUtf8(item.tip));
    }
    QCOMPARE(frame_->Action(id::kRecentFile1)->statusTip(), QStringLiteral("Open this document"));
    QCOMPARE(frame_->Action(12345), nullptr);
  }

  void the_menus_hold_their_items_in_order() {
    QStringList titles;
    for (QAction* menu : frame_->menuBar()->actions()) titles.append(menu->text());
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&Program", "P&ort", "&View", "&Help"}));
    QCOMPARE(Ids(frame_->FileMenu()->actions()),
             QList<int>({id::kNew, id::kOpen, id::kSave, id::kSaveAs, 0, id::kImportChannels,
                         id::kExportChannels, 0, id::kPrint, id::kPrintPreview, id::kPrintSetup, 0,
                         57616, 57617, 57618, 57619, 0, id::kExit}));
    QCOMPARE(Ids(frame_->EditMenu()->actions()),
             QList<int>({id::kUndo, id::kRedo, 0, id::kCut, id::kCopy, id::kPaste, 0,
                         id::kInsertChannel, id::kDeleteChannels, id::kMoveChannelUp,
                         id::kMoveChannelDown, id::kClearChannels}));
    // Each entry of the Edit menu has a letter of its own for the keyboard.
    QString letters;
    for (QAction* action : frame_->EditMenu()->actions()) {
      if (action->isSeparator()) continue;
      const QChar letter =
          action->text().at(action->text().indexOf(QLatin1Char('&')) + 1).toLower();
      QVERIFY2(!letters.contains(letter), qPrintable(action->text()));
      letters.append(letter);
    }
    QCOMPARE(Ids(frame_->ProgramMenu()->actions()),
             QList<int>({id::kReadFromRadio, 0, id::kWriteToRadio, 0, id::kEditData, 0,
                         id::kOptionalFeatures, 0, id::kHighPowerDebug, 0, id::kLowPowerDebug}));
    QCOMPARE(Ids(frame_->PortMenu()->actions()),
             QList<int>({id::kCom1, id::kCom2, id::kCom3, id::kCom4}));
    QCOMPARE(Ids(frame_->ViewMenu()->actions()),
             QList<int>({id::kViewToolbar, id::kViewStatusBar, 0, id::kViewEnglishTexts}));
    QCOMPARE(Ids(frame_->HelpMenu()->actions()), QList<int>({id::kHelpTopics, 0, id::kAbout}));
  }

  void the_toolbar_has_its_thirteen_items_and_debug_is_disabled() {
    QToolBar* bar = frame_->ToolBar();
    QCOMPARE(Ids(bar->actions()), QList<int>({id::kNew, id::kOpen, id::kSave, 0, id::kReadFromRadio,
                                              id::kWriteToRadio, 0, id::kEditData, 0, id::kPrint,
                                              id::kContextHelp, id::kAbout, id::kDebugOnLine}));
    QCOMPARE(bar->iconSize(), QSize(18, 18));
    QVERIFY(bar->isMovable());
    QVERIFY(bar->isFloatable());
    QCOMPARE(bar->allowedAreas(), Qt::AllToolBarAreas);
    QCOMPARE(frame_->toolBarArea(bar), Qt::TopToolBarArea);
    QVERIFY(!frame_->Action(id::kDebugOnLine)->isEnabled());
    for (QAction* action : bar->actions()) {
      if (!action->isSeparator()) QVERIFY(!action->icon().isNull());
    }
  }

  // The accelerator table, and the keys of the Edit menu.
  void only_the_accelerator_table_and_the_edit_menu_bind_keys() {
    QMap<int, QKeySequence> bound;
    for (QAction* action : frame_->findChildren<QAction*>()) {
      // A key a label shows without the command answering to it is no binding.
      if (!action->shortcut().isEmpty() && !ShortcutShownOnly(*action)) {
        bound.insert(action->data().toInt(), action->shortcut());
      }
    }
    const QMap<int, QKeySequence> table = {
        {id::kNew, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {id::kOpen, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {id::kPrint, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {id::kSave, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {id::kHelp, QKeySequence(Qt::Key_F1)},
        {id::kContextHelp, QKeySequence(Qt::SHIFT | Qt::Key_F1)},
        {id::kNextPane, QKeySequence(Qt::Key_F6)},
        {id::kPreviousPane, QKeySequence(Qt::SHIFT | Qt::Key_F6)},
        {id::kUndo, QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {id::kRedo, QKeySequence(Qt::CTRL | Qt::Key_Y)},
        {id::kCut, QKeySequence(Qt::CTRL | Qt::Key_X)},
        {id::kCopy, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {id::kPaste, QKeySequence(Qt::CTRL | Qt::Key_V)},
        {id::kInsertChannel, QKeySequence(Qt::Key_Insert)},
        {id::kDeleteChannels, QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {id::kMoveChannelUp, QKeySequence(Qt::ALT | Qt::Key_Up)},
        {id::kMoveChannelDown, QKeySequence(Qt::ALT | Qt::Key_Down)},
        {id::kClearChannels, QKeySequence(Qt::Key_Delete)},
    };
    QCOMPARE(bound, table);
    QCOMPARE(frame_->Action(id::kRedo)->shortcuts().value(1),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  }

  void keys_shown_only_in_labels_run_nothing() {
    const QList<QPair<int, Qt::Key>> label_only = {
        {id::kReadFromRadio, Qt::Key_R}, {id::kWriteToRadio, Qt::Key_W}, {id::kEditData, Qt::Key_E},
        {id::kCom1, Qt::Key_C},          {id::kCom2, Qt::Key_D},         {id::kCom4, Qt::Key_F}};
    for (const auto& [command, key] : label_only) {
      QSignalSpy triggered(frame_->Action(command), &QAction::triggered);
      QTest::keyClick(frame_.get(), key, Qt::ControlModifier);
      QCOMPARE(triggered.count(), 0);
    }
    QVERIFY(messages_->Texts().isEmpty());  // Edit Data would have explained itself
  }

  void accelerators_run_their_commands() {
    QList<MainFrame::FileDialogKind> asked;
    frame_->SetFileChooser([&](MainFrame::FileDialogKind kind, const QString&) {
      asked.append(kind);
      return QString();
    });
    QTest::keyClick(frame_.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(frame_.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(asked, QList<MainFrame::FileDialogKind>(
                        {MainFrame::FileDialogKind::Open, MainFrame::FileDialogKind::SaveAs}));
    QSignalSpy printed(frame_->Action(id::kPrint), &QAction::triggered);
    QTest::keyClick(frame_.get(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(printed.count(), 1);
  }

  void f1_does_nothing_and_shift_f1_opens_the_manual_at_its_contents() {
    QTest::keyClick(frame_.get(), Qt::Key_F1);
    QCOMPARE(frame_->findChild<HelpWindow*>(), nullptr);
    QTest::keyClick(frame_.get(), Qt::Key_F1, Qt::ShiftModifier);
    auto* help = frame_->findChild<HelpWindow*>();
    QVERIFY(help != nullptr);
    QVERIFY(help->isVisible());
    QCOMPARE(help->Browser()->source().fragment(), QStringLiteral("contents"));
  }

  void help_topics_opens_the_finder_on_its_contents() {
    frame_->Action(id::kHelpTopics)->trigger();
    auto* help = frame_->findChild<HelpWindow*>();
    QVERIFY(help != nullptr && help->isVisible());
    QCOMPARE(help->Finder()->count(), 2);
    QCOMPARE(help->Finder()->tabText(0), QStringLiteral("Contents"));
    QCOMPARE(help->Finder()->tabText(1), QStringLiteral("Index"));
    QCOMPARE(help->Finder()->currentIndex(), 0);
  }

  void the_view_toggles_show_and_hide_toolbar_and_status_bar() {
    frame_->Action(id::kViewToolbar)->trigger();
    QVERIFY(frame_->ToolBar()->isHidden());
    QVERIFY(!frame_->Action(id::kViewToolbar)->isChecked());
    frame_->Action(id::kViewToolbar)->trigger();
    QVERIFY(!frame_->ToolBar()->isHidden());
    frame_->Action(id::kViewStatusBar)->trigger();
    QVERIFY(frame_->statusBar()->isHidden());
  }

  void the_about_box() {
    AboutDialog about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About VRAX"));
    QCOMPARE(AboutDialog::MakerName(), QStringLiteral("VRAX Electronics"));
    QCOMPARE(AboutDialog::ProductLine(), QStringLiteral("Communication Software Z-LM5"));
    auto* title = about.findChild<QLabel*>(QStringLiteral("aboutTitle"));
    QCOMPARE(title->text(), QStringLiteral("VRAX Electronics\nCommunication Software Z-LM5"));
    QVERIFY(!about.findChild<QLabel*>(QStringLiteral("aboutIcon"))->pixmap().isNull());
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("aboutNotice"))->text(),
             QStringLiteral("Version %1\nCopyright © 2026 VRAX Electronics.\n"
                            "Free software under the GNU General Public License, version 3 or "
                            "later.\nThere is NO WARRANTY, to the extent permitted by law.")
                 .arg(QStringLiteral(ZLM5_PROJECT_VERSION)));
  }

  // --- caption and status bar -----------------------------------------------

  void the_caption_never_changes() {
    QCOMPARE(frame_->windowTitle(), kCaption);
    const QString path = Path(QStringLiteral("caption.sin"));
    Chooser(path);
    QVERIFY(frame_->SaveDocumentAs());
    QCOMPARE(frame_->windowTitle(), kCaption);
    QVERIFY(frame_->NewDocument());
    QVERIFY(frame_->OpenDocumentFile(path));
    QCOMPARE(frame_->windowTitle(), kCaption);
  }

  void the_status_bar_shows_the_document_and_its_unsaved_changes() {
    QCOMPARE(frame_->MessageText(), QStringLiteral("For Help，Please Press F1"));
    QCOMPARE(frame_->DocumentPaneText(), QStringLiteral("Untitled"));
    Edit(1, 1, QStringLiteral("146.525"));
    QCOMPARE(frame_->DocumentPaneText(), QStringLiteral("Untitled *"));
    Chooser(Path(QStringLiteral("pane.sin")));
    QVERIFY(frame_->SaveDocument());
    QCOMPARE(frame_->DocumentPaneText(), QStringLiteral("pane.sin"));
  }

  // --- questions before edits are dropped --------------------------------

  void new_asks_before_dropping_edits() {
    Edit(1, 1, QStringLiteral("146.525"));
    messages_->Answer(QMessageBox::Cancel);
    QVERIFY(!frame_->NewDocument());
    QCOMPARE(messages_->Texts(), QStringList({"Save changes to Untitled?"}));
    QCOMPARE(messages_->LastButtons(),
             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(Cell(1, 1), QStringLiteral("146.52500"));
    QVERIFY(frame_->Document().modified());

    messages_->Answer(QMessageBox::Discard);
    QVERIFY(frame_->NewDocument());
    QCOMPARE(Cell(1, 1), QString());
    QVERIFY(!frame_->Document().modified());

    messages_->Clear();
    QVERIFY(frame_->NewDocument());  // nothing to lose: no question
    QVERIFY(messages_->Texts().isEmpty());
  }

  void save_in_the_question_saves_first() {
    Edit(1, 1, QStringLiteral("146.525"));
    const QString path = Path(QStringLiteral("asked.sin"));
    Chooser(path);
    messages_->Answer(QMessageBox::Save);
    QVERIFY(frame_->NewDocument());
    QCOMPARE(test::ReadAll(path).mid(0, 4), QByteArray::fromHex("00256514"));
    QCOMPARE(Cell(1, 1), QString());
  }

  void cancelling_the_save_as_of_the_question_keeps_everything() {
    Edit(1, 1, QStringLiteral("146.525"));
    Chooser(QString());
    messages_->Answer(QMessageBox::Save);
    QVERIFY(!frame_->NewDocument());
    QCOMPARE(Cell(1, 1), QStringLiteral("146.52500"));
  }

  void a_text_still_in_an_editor_counts_as_an_edit() {
    Click(1, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("433.5"));
    messages_->Answer(QMessageBox::Cancel);
    QVERIFY(!frame_->NewDocument());
    QCOMPARE(messages_->Texts(), QStringList({"Save changes to Untitled?"}));
    QCOMPARE(Cell(1, 1), QStringLiteral("433.50000"));
  }

  void open_recent_and_dropped_files_ask_first() {
    const QString other = SaveCopy(QStringLiteral("other.sin"));
    QVERIFY(frame_->NewDocument());
    Edit(2, 1, QStringLiteral("145.5"));

    messages_->Answer(QMessageBox::Cancel);
    QVERIFY(!frame_->OpenDocumentFile(other));
    messages_->Answer(QMessageBox::Cancel);
    QVERIFY(!frame_->OpenRecentFile(0));
    Chooser(other);
    messages_->Answer(QMessageBox::Cancel);
    QVERIFY(!frame_->OpenDocument());
    messages_->Answer(QMessageBox::Cancel);
    Drop(other);
    QTRY_COMPARE(messages_->Texts().size(), 4);
    for (const QString& text : messages_->Texts()) {
      QCOMPARE(text, QStringLiteral("Save changes to Untitled?"));
    }
    QCOMPARE(Cell(2, 1), QStringLiteral("145.50000"));
    QVERIFY(frame_->Document().path().empty());

    messages_->Answer(QMessageBox::Discard);
    Drop(other);
    QTRY_COMPARE(frame_->DocumentPaneText(), QStringLiteral("other.sin"));
    QCOMPARE(Cell(2, 1), QString());
  }

  // File managers offer a dropped file as text too; the text fields of the
  // window must not take it as typing.
  void a_file_dropped_on_a_text_field_opens_it() {
    const QString other = SaveCopy(QStringLiteral("dropped.sin"));
    QVERIFY(frame_->NewDocument());
    QComboBox* type = frame_->View().FormBoxWidget(FormBox::Type);
    Drop(other, type->lineEdit());
    QTRY_COMPARE(frame_->DocumentPaneText(), QStringLiteral("dropped.sin"));
    QCOMPARE(type->currentText(), QStringLiteral("RaNOX-ONE"));
    for (QLineEdit* edit : frame_->findChildren<QLineEdit*>()) {
      QVERIFY2(!edit->acceptDrops(), qPrintable(edit->objectName()));
    }
  }

  void closing_asks_and_cancel_keeps_the_window() {
    Edit(1, 1, QStringLiteral("146.525"));
    messages_->Answer(QMessageBox::Cancel);
    QVERIFY(!frame_->close());
    QVERIFY(frame_->isVisible());
    messages_->Answer(QMessageBox::Discard);
    QVERIFY(frame_->close());
  }

  // --- files ------------------------------------------------------------------

  void a_file_that_cannot_be_opened_changes_nothing_and_is_named() {
    Edit(1, 1, QStringLiteral("146.525"));
    const QString kept = SaveCopy(QStringLiteral("kept.sin"));
    Edit(1, 11, QStringLiteral("KEEP"));
    const QString short_file = Path(QStringLiteral("short.sin"));
    QVERIFY(test::WriteAll(short_file, QByteArray(100, '\0')));
    messages_->Clear();
    messages_->Answer(QMessageBox::Discard);
    QVERIFY(!frame_->OpenDocumentFile(short_file));
    QCOMPARE(messages_->Texts().size(), 2);
    const QString message = messages_->Texts().at(1);
    QVERIFY2(message.contains(short_file), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("100 bytes")), qPrintable(message));
    QCOMPARE(Cell(1, 11), QStringLiteral("KEEP"));
    QCOMPARE(QString::fromStdString(frame_->Document().path()), kept);
    QVERIFY(frame_->Document().modified());

    messages_->Clear();
    messages_->Answer(QMessageBox::Discard);
    QVERIFY(!frame_->OpenDocumentFile(Path(QStringLiteral("missing.sin"))));
    QVERIFY(messages_->Texts().at(1).contains(QStringLiteral("missing.sin")));
    QCOMPARE(Cell(1, 1), QStringLiteral("146.52500"));
  }

  void a_failed_save_keeps_the_document_and_names_the_file() {
    Edit(1, 1, QStringLiteral("146.525"));
    const QString bad = Path(QStringLiteral("no-such-folder/x.sin"));
    Chooser(bad);
    messages_->Clear();
    QVERIFY(!frame_->SaveDocumentAs());
    QCOMPARE(messages_->Texts().size(), 1);
    QVERIFY(messages_->Texts().at(0).startsWith(QStringLiteral("Failed to save document.")));
    QVERIFY2(messages_->Texts().at(0).contains(bad), qPrintable(messages_->Texts().at(0)));
    QVERIFY(frame_->Document().path().empty());
    QVERIFY(frame_->Document().modified());
    QCOMPARE(frame_->DocumentPaneText(), QStringLiteral("Untitled *"));
    QVERIFY(frame_->Recent().Entries().isEmpty());
  }

  void opening_a_file_shows_its_channels() {
    Edit(3, 2, QStringLiteral("433.5"));
    const QString path = SaveCopy(QStringLiteral("shown.sin"));
    QVERIFY(frame_->NewDocument());
    QCOMPARE(Cell(3, 2), QString());
    QVERIFY(frame_->OpenDocumentFile(path));
    QCOMPARE(Cell(3, 2), QStringLiteral("433.50000"));
    QCOMPARE(Cell(3, 4), QStringLiteral("OFF"));
    QVERIFY(!frame_->Document().modified());
  }

  void recent_files_keep_the_four_newest_in_the_settings() {
    QCOMPARE(frame_->Action(57616)->text(), QStringLiteral("Recent File"));
    QVERIFY(!frame_->Action(57616)->isEnabled());
    QStringList saved;
    for (int i = 1; i <= 5; ++i) saved.append(SaveCopy(QStringLiteral("file%1.sin").arg(i)));
    const QStringList newest = {saved[4], saved[3], saved[2], saved[1]};
    QCOMPARE(frame_->Recent().Entries(), newest);
    QCOMPARE(VisibleIds(frame_->FileMenu()->actions()).mid(12, 4),
             QList<int>({57616, 57617, 57618, 57619}));
    QCOMPARE(frame_->Action(57617)->text(),
             QStringLiteral("&2 ") + QDir::toNativeSeparators(saved[3]));
    QCOMPARE(settings_->Get().value(QStringLiteral("Recent File List/File1")).toString(), saved[4]);

    // A frame started later finds the same list.
    frame_.reset();
    MakeFrame();
    QCOMPARE(frame_->Recent().Entries(), newest);
    QVERIFY(frame_->OpenRecentFile(2));
    QCOMPARE(frame_->Recent().Entries(), QStringList({saved[2], saved[4], saved[3], saved[1]}));
  }

  void the_first_recent_file_opens_like_the_others() {
    Edit(1, 1, QStringLiteral("146.525"));
    const QString first = SaveCopy(QStringLiteral("first.sin"));
    QVERIFY(frame_->NewDocument());
    Edit(1, 1, QStringLiteral("446.1"));
    const QString second = SaveCopy(QStringLiteral("second.sin"));
    QVERIFY(frame_->NewDocument());
    // "second" is the newest; open the older one, then the newest.
    QVERIFY(frame_->OpenRecentFile(1));
    QVERIFY(frame_->OpenRecentFile(1));
    QCOMPARE(QString::fromStdString(frame_->Document().path()), second);
    QCOMPARE(frame_->DocumentPaneText(), QStringLiteral("second.sin"));
    QCOMPARE(frame_->Recent().Entries().mid(0, 2), QStringList({second, first}));
    QVERIFY(frame_->OpenRecentFile(0));
    QCOMPARE(QString::fromStdString(frame_->Document().path()), second);
    // Saving writes the file that is open, and no other.
    Edit(2, 1, QStringLiteral("145.5"));
    Chooser(QString());  // a question for a name would fail the save
    QVERIFY(frame_->SaveDocument());
    QCOMPARE(test::ReadAll(second).mid(16, 4), QByteArray::fromHex("00005514"));
    QCOMPARE(test::ReadAll(first).mid(0, 4), QByteArray::fromHex("00256514"));
    QCOMPARE(test::ReadAll(first).mid(16, 4), QByteArray::fromHex("ffffffff"));
  }

  void a_recent_file_that_is_gone_leaves_the_list() {
    const QString kept = SaveCopy(QStringLiteral("stays.sin"));
    const QString gone = SaveCopy(QStringLiteral("gone.sin"));
    QVERIFY(QFile::remove(gone));
    messages_->Clear();
    QVERIFY(!frame_->OpenRecentFile(0));
    QCOMPARE(messages_->Texts().size(), 1);
    QVERIFY(messages_->Texts().at(0).contains(gone));
    QCOMPARE(frame_->Recent().Entries(), QStringList({kept}));
    QCOMPARE(QString::fromStdString(frame_->Document().path()), gone);  // still the saved one
  }

  // --- after New and Open ---------------------------------------------------

  void new_and_open_start_at_channel_one_with_the_keys_on_the_grid() {
    Edit(3, 2, QStringLiteral("433.5"));
    const QString path = SaveCopy(QStringLiteral("start.sin"));
    const std::function<bool()> replaces[] = {[this] { return frame_->NewDocument(); },
                                              [&] { return frame_->OpenDocumentFile(path); }};
    for (const auto& replace : replaces) {
      Grid().SetTopRow(100);
      Grid().SetCurrentCell(110, 6);
      Grid().horizontalScrollBar()->setValue(Grid().horizontalScrollBar()->maximum());
      frame_->View().FormBoxWidget(FormBox::Type)->setFocus();
      messages_->Answer(QMessageBox::Discard);
      QVERIFY(replace());
      QCOMPARE(Grid().TopRow(), 1);
      QCOMPARE(Grid().Row(), 1);
      QCOMPARE(Grid().Col(), 1);
      QCOMPARE(Grid().horizontalScrollBar()->value(), 0);
      QCOMPARE(QApplication::focusWidget(), &Grid());
      // What the user types goes into channel 1's receive frequency.
      QTest::keyClick(&Grid(), Qt::Key_1);
      QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("45.5"));
      frame_->View().CommitOpenEditor();
      QCOMPARE(Cell(1, 1), QStringLiteral("145.50000"));
    }
    QCOMPARE(Cell(3, 2), QStringLiteral("433.50000"));  // the file was opened
  }

  // --- the status bar's texts ---------------------------------------------

  void each_command_tells_what_it_did_or_clears_the_old_text() {
    for (int row = 1; row <= 4; ++row) Edit(row, 1, QStringLiteral("146.525"));
    Grid().SelectRows(1, 4);
    frame_->Action(id::kCopy)->trigger();
    QCOMPARE(frame_->MessageText(), QStringLiteral("4 Channels copied"));
    Grid().SelectRows(10, 10);
    frame_->Action(id::kPaste)->trigger();
    QCOMPARE(frame_->MessageText(), QStringLiteral("4 Channels pasted"));
    QCOMPARE(Cell(13, 1), QStringLiteral("146.52500"));
    Grid().SelectRows(1, 3);
    frame_->Action(id::kCut)->trigger();
    QCOMPARE(frame_->MessageText(), QStringLiteral("3 Channels cut"));
    QCOMPARE(Cell(1, 1), QString());

    const QString csv = Path(QStringLiteral("all.csv"));
    Chooser(csv);
    frame_->Action(id::kExportChannels)->trigger();
    QCOMPARE(frame_->MessageText(),
             QStringLiteral("5 Channels exported to ") + QDir::toNativeSeparators(csv));
    const QString saved = Path(QStringLiteral("told.sin"));
    Chooser(saved);
    frame_->Action(id::kSave)->trigger();
    QCOMPARE(frame_->MessageText(), QStringLiteral("Saved to ") + QDir::toNativeSeparators(saved));
    // A command with nothing to tell leaves no older text behind.
    frame_->Action(id::kUndo)->trigger();
    QCOMPARE(Cell(1, 1), QStringLiteral("146.52500"));
    QCOMPARE(frame_->MessageText(), QStringLiteral("For Help，Please Press F1"));
  }

  void a_long_file_name_is_cut_in_the_middle_and_leaves_the_hint_its_room() {
    const QString name = QStringLiteral("northern-district-") + QString(60, QLatin1Char('x')) +
                         QStringLiteral("-repeaters.sin");
    const QString path = SaveCopy(name);
    frame_->ClearMessageText();
    const QString shown = frame_->DocumentPaneText();
    QVERIFY2(shown.size() < name.size() && shown.startsWith(QStringLiteral("northern-")) &&
                 shown.endsWith(QStringLiteral("-repeaters.sin")) && shown.contains(QChar(0x2026)),
             qPrintable(shown));
    auto* pane = frame_->findChild<QLabel*>(QStringLiteral("documentPane"));
    QVERIFY(pane->toolTip().startsWith(QDir::toNativeSeparators(path)));
    auto* message = frame_->findChild<QLabel*>(QStringLiteral("messagePane"));
    QTRY_VERIFY2(message->width() >= message->fontMetrics().horizontalAdvance(message->text()),
                 qPrintable(QString::number(message->width())));
  }

  // --- the save question's keys ---------------------------------------------

  void alt_d_in_the_save_question_discards() {
    Edit(1, 1, QStringLiteral("146.525"));
    messages_.reset();  // the real message box
    QStringList texts;
    QTimer::singleShot(0, frame_.get(), [&texts] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      for (auto which : {QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel}) {
        texts.append(box->button(which)->text());
      }
      // As the window manager would: the question is the active window.
      box->activateWindow();
      if (QTest::qWaitFor([box] { return QApplication::activeWindow() == box; })) {
        QTest::keyClick(box, Qt::Key_D, Qt::AltModifier);
      }
      // The key presses Discard at once, which clicks it a moment later; a
      // key that did nothing leaves the question to Esc.
      if (!box->button(QMessageBox::Discard)->isDown()) box->reject();
    });
    QVERIFY(frame_->NewDocument());
    QCOMPARE(texts, QStringList({"&Save", "&Discard", "&Cancel"}));
    QCOMPARE(Cell(1, 1), QString());
  }

  // --- backups ----------------------------------------------------------------

  void a_backup_is_saved_under_a_new_name_and_dialogs_start_at_the_users_files() {
    // The data folder's variable: XDG_DATA_HOME on Linux, LOCALAPPDATA on
    // Windows; each platform reads its own.
    const QByteArray data_home = qgetenv("XDG_DATA_HOME");
    const QByteArray local_app_data = qgetenv("LOCALAPPDATA");
    qputenv("XDG_DATA_HOME", settings_->Folder().toUtf8());
    qputenv("LOCALAPPDATA", settings_->Folder().toUtf8());
    const auto restore = qScopeGuard([&data_home, &local_app_data] {
      for (const auto& [name, value] :
           {std::pair{"XDG_DATA_HOME", data_home}, std::pair{"LOCALAPPDATA", local_app_data}}) {
        if (value.isNull()) {
          qunsetenv(name);
        } else {
          qputenv(name, value);
        }
      }
    });
    QVERIFY(QDir().mkpath(Path(QStringLiteral("mine"))));
    QVERIFY(QDir().mkpath(Path(QStringLiteral("z-lm5/backups"))));
    Edit(1, 1, QStringLiteral("146.525"));
    const QString own = SaveCopy(QStringLiteral("mine/own.sin"));
    const QString backup_name = QStringLiteral("2026-01-02_03-04-05_read.sin");
    const QString backup = Path(QStringLiteral("z-lm5/backups/") + backup_name);
    QVERIFY(QFile::copy(own, backup));
    const QByteArray kept = test::ReadAll(backup);
    QVERIFY(frame_->NewDocument());
    QVERIFY(frame_->OpenDocumentFile(backup));
    QVERIFY(frame_->DocumentIsBackup());
    QCOMPARE(frame_->DocumentFolder(), Path(QStringLiteral("mine")));

    // No dialog is pointed at the backups folder.
    QList<MainFrame::FileDialogKind> kinds;
    QStringList suggested;
    frame_->SetFileChooser([&](MainFrame::FileDialogKind kind, const QString& name) {
      kinds.append(kind);
      suggested.append(name);
      return QString();
    });
    frame_->Action(id::kOpen)->trigger();
    frame_->Action(id::kImportChannels)->trigger();
    frame_->Action(id::kExportChannels)->trigger();
    // Save asks for a name as for a new document; the backup stays.
    Edit(2, 1, QStringLiteral("145.5"));
    QVERIFY(!frame_->SaveDocument());
    using Kind = MainFrame::FileDialogKind;
    QCOMPARE(kinds,
             QList<Kind>({Kind::Open, Kind::ImportChannels, Kind::ExportChannels, Kind::SaveAs}));
    QCOMPARE(suggested, QStringList({QString(), QString(),
                                     QStringLiteral("2026-01-02_03-04-05_read.csv"), backup_name}));
    QCOMPARE(test::ReadAll(backup), kept);

    // The file dialog itself starts with the user's own documents.
    frame_->SetFileChooser(nullptr);
    QString start;
    QTimer::singleShot(0, frame_.get(), [&start] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      start = dialog->directory().absolutePath();
      dialog->reject();
    });
    QVERIFY(!frame_->SaveDocument());
    QCOMPARE(start, Path(QStringLiteral("mine")));
    QCOMPARE(test::ReadAll(backup), kept);
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));

    // Saved under a name of the user's, it is a document like any other.
    Chooser(Path(QStringLiteral("mine/from-backup.sin")));
    QVERIFY(frame_->SaveDocument());
    QVERIFY(!frame_->DocumentIsBackup());
    Edit(3, 1, QStringLiteral("146.5"));
    Chooser(QString());
    QVERIFY(frame_->SaveDocument());
    QCOMPARE(test::ReadAll(backup), kept);
  }

  // --- language -----------------------------------------------------------

  void english_texts_is_a_stored_choice_that_sets_the_tag() {
    QAction* english = frame_->Action(id::kViewEnglishTexts);
    QCOMPARE(english->text(), QStringLiteral("&English Texts"));
    QVERIFY(english->isCheckable());
    QVERIFY(!english->isChecked());
    QVERIFY(LanguageTag().isEmpty());
    QVERIFY(!UseEnglishTexts());

    english->trigger();
    QCOMPARE(LanguageTag(), ProgramBaseName() + QStringLiteral("_EN"));
    QVERIFY(UseEnglishTexts());
    QCOMPARE(settings_->Get().value(app_names::kEnglishTextsKey).toBool(), true);

    frame_.reset();
    SetLanguageTag(QString());
    MakeFrame();
    QVERIFY(UseEnglishTexts());
    QVERIFY(frame_->Action(id::kViewEnglishTexts)->isChecked());
    frame_->Action(id::kViewEnglishTexts)->trigger();
    QVERIFY(LanguageTag().isEmpty());
    QVERIFY(!UseEnglishTexts());
  }

 private:
  void MakeFrame() {
    frame_ = std::make_unique<MainFrame>(settings_->Get());
    frame_->resize(730, 768);
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
  }
  GridControl& Grid() { return frame_->View().GridWidget(); }
  QString Cell(int row, int col) { return Grid().TextMatrix(row, col); }
  QString Path(const QString& name) { return settings_->Folder() + QLatin1Char('/') + name; }
  void Chooser(const QString& answer) {
    frame_->SetFileChooser([answer](MainFrame::FileDialogKind, const QString&) { return answer; });
  }
  void Click(int row, int col) {
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Grid().CellRect(row, col).center());
  }
  // Types into a cell's editor and leaves the cell, as a user would.
  void Edit(int row, int col, const QString& text) {
    Click(row, col);
    QTest::keyClicks(QApplication::focusWidget(), text);
    frame_->View().CommitOpenEditor();
  }
  QString SaveCopy(const QString& name) {
    QString path = Path(name);
    Chooser(path);
    if (!frame_->SaveDocumentAs()) return {};
    return path;
  }
  // Drops `path` on `target` (the frame when null), as a file manager does:
  // as a URL and as its text.
  void Drop(const QString& path, QWidget* target = nullptr) {
    if (target == nullptr) target = frame_.get();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    data.setText(QUrl::fromLocalFile(path).toString());
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
  }

  std::unique_ptr<test::TempSettings> settings_;
  std::unique_ptr<test::MessageRecorder> messages_;
  std::unique_ptr<MainFrame> frame_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::MainFrameTest)
#include "test_main_frame.moc"
