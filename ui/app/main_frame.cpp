// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "ui/app/about_dialog.h"
#include "ui/app/app.h"
#include "ui/app/app_names.h"
#include "ui/grid/channel_view.h"
#include "ui/app/command_ids.h"
#include "ui/edit/edit_commands.h"
#include "ui/edit/edit_history.h"
#include "ui/grid/grid_control.h"
#include "ui/app/help_window.h"
#include "ui/app/language.h"
#include "ui/app/lock_keys.h"
#include "ui/app/message_box.h"
#include "ui/app/recent_files.h"
#include "ui/app/resources.h"

namespace zlm5 {
namespace id = command_id;

namespace {

constexpr int kLockRefreshDelayMs = 50;  // the LED follows the key press a moment later
constexpr int kMaxMenuPathLength = 60;

const std::array<QString, 3> kLockPaneTexts = {QStringLiteral("CAP"), QStringLiteral("NUM"),
                                               QStringLiteral("SCRL")};

QIcon ToolbarIcon(const QString& name) {
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/toolbar/%1.png").arg(name), QSize(18, 18));
  icon.addFile(QStringLiteral(":/icons/toolbar/%1@2x.png").arg(name), QSize(36, 36));
  return icon;
}

// A path as a recent-file menu entry shows it: native separators, "&"
// doubled, long paths shortened in the middle.
QString MenuPath(const QString& path) {
  QString shown = QDir::toNativeSeparators(path);
  if (shown.size() > kMaxMenuPathLength) {
    const qsizetype keep_right = kMaxMenuPathLength * 2 / 3;
    const qsizetype keep_left = kMaxMenuPathLength - keep_right - 3;
    shown = shown.left(keep_left) + QStringLiteral("...") + shown.right(keep_right);
  }
  return shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

std::string ToNativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

MainFrame::MainFrame(QSettings& settings, QWidget* parent)
    : QMainWindow(parent), settings_(settings) {
  LoadResources();
  setObjectName(QStringLiteral("mainFrame"));
  setWindowTitle(app_names::kWindowTitle);
  QIcon program_icon;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    program_icon.addFile(QStringLiteral(":/icons/app/z-lm5-%1.png").arg(size), QSize(size, size));
  }
  setWindowIcon(program_icon);
  setDockOptions(dockOptions() | QMainWindow::AnimatedDocks);
  // Files dropped on the window open as with File > Open.
  setAcceptDrops(true);

  recent_ = std::make_unique<RecentFiles>(settings_);
  ChooseEnglishTexts(settings_.value(app_names::kEnglishTextsKey, false).toBool());

  view_ = new ChannelView(document_, this);
  setCentralWidget(view_);

  BuildActions();
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  ConnectCommands();
  edit_commands_ = new EditCommands(*this);
  UpdateRecentMenu();

  connect(view_, &ChannelView::StatusMessage, this, &MainFrame::SetMessageText);
  connect(view_, &ChannelView::DocumentModified, this, &MainFrame::UpdateDocumentPane);

  view_->OnInitialUpdate();
  UpdateDocumentPane();
  UpdateLockIndicators();
  qApp->installEventFilter(this);
}

MainFrame::~MainFrame() {
  qApp->removeEventFilter(this);
}

QAction* MainFrame::Action(int command_id) const { return actions_.value(command_id, nullptr); }

// ---------------------------------------------------------------------------
// Building

QAction* MainFrame::AddAction(int command_id, const QString& label,
                              const QString& prompt_and_tip, const QString& icon_name) {
  auto* action = new QAction(label, this);
  action->setObjectName(QStringLiteral("command%1").arg(command_id));
  action->setData(command_id);
  // The string table holds "status prompt\ntooltip"; a text without "\n"
  // is a prompt only, and the tooltip is then the label without its "&".
  const qsizetype split = prompt_and_tip.indexOf(QLatin1Char('\n'));
  if (split >= 0) {
    action->setStatusTip(prompt_and_tip.left(split));
    action->setToolTip(prompt_and_tip.mid(split + 1));
  } else {
    action->setStatusTip(prompt_and_tip);
  }
  if (!icon_name.isEmpty()) {
    action->setIcon(ToolbarIcon(icon_name));
    action->setIconVisibleInMenu(false);
  }
  actions_.insert(command_id, action);
  return action;
}

void MainFrame::BuildActions() {
  // File
  AddAction(id::kNew, QStringLiteral("&New\tCtrl+N"), QStringLiteral("Create a new document\nNew"),
            QStringLiteral("new"));
  AddAction(id::kOpen, QStringLiteral("&Open...\tCtrl+O"),
            QStringLiteral("Open an existing document\nOpen"), QStringLiteral("open"));
  AddAction(id::kSave, QStringLiteral("&Save\tCtrl+S"),
            QStringLiteral("Save the active document\nSave"), QStringLiteral("save"));
  AddAction(id::kSaveAs, QStringLiteral("Save &As..."),
            QStringLiteral("Save the active document with a new name\nSave As"));
  AddAction(id::kPrint, QStringLiteral("&Print...\tCtrl+P"),
            QStringLiteral("Print the active document\nPrint"), QStringLiteral("print"));
  AddAction(id::kPrintPreview, QStringLiteral("Print Pre&view"),
            QStringLiteral("Display full pages\nPrint Preview"));
  AddAction(id::kPrintSetup, QStringLiteral("P&rint Setup..."),
            QStringLiteral("Change the printer and printing options\nPrint Setup"));
  for (int i = 0; i < id::kRecentFileCount; ++i) {
    recent_actions_[i] = AddAction(id::kRecentFile1 + i, QStringLiteral("Recent File"),
                                   QStringLiteral("Open this document"));
  }
  AddAction(id::kImportChannels, QStringLiteral("&Import Channels..."),
            QStringLiteral("Import channels from a CSV channel list\nImport Channels"));
  AddAction(id::kExportChannels, QStringLiteral("&Export Channels..."),
            QStringLiteral("Export the channels to a CSV channel list\nExport Channels"));
  AddAction(id::kExit, QStringLiteral("E&xit"),
            QStringLiteral("Quit the application; prompts to save documents\nExit"));

  // Edit. The texts of Undo and Redo name the step they act on.
  AddAction(id::kUndo, QStringLiteral("&Undo"), QStringLiteral("Undo the last change\nUndo"));
  AddAction(id::kRedo, QStringLiteral("&Redo"),
            QStringLiteral("Redo the change that was undone\nRedo"));
  AddAction(id::kCut, QStringLiteral("Cu&t"),
            QStringLiteral("Cut the selected channels to the clipboard\nCut"));
  AddAction(id::kCopy, QStringLiteral("&Copy"),
            QStringLiteral("Copy the selected channels to the clipboard\nCopy"));
  AddAction(id::kPaste, QStringLiteral("&Paste"),
            QStringLiteral("Paste channels from the clipboard from the selected channel on\nPaste"));
  AddAction(id::kInsertChannel, QStringLiteral("&Insert Empty Channel"),
            QStringLiteral("Insert an empty channel; the channels below move down\n"
                           "Insert Empty Channel"));
  AddAction(id::kDeleteChannels, QStringLiteral("&Delete Channels"),
            QStringLiteral("Delete the selected channels; the channels below move up\n"
                           "Delete Channels"));
  AddAction(id::kMoveChannelUp, QStringLiteral("Mo&ve Up"),
            QStringLiteral("Move the selected channels up by one\nMove Up"));
  AddAction(id::kMoveChannelDown, QStringLiteral("Move Do&wn"),
            QStringLiteral("Move the selected channels down by one\nMove Down"));
  AddAction(id::kClearChannels, QStringLiteral("C&lear Channels"),
            QStringLiteral("Empty the selected channels\nClear Channels"));

  // Program
  AddAction(id::kReadFromRadio, QStringLiteral("&Read From Radio\tCtrl+R"),
            QStringLiteral("Read Data From Radio\nRead"), QStringLiteral("read"));
  AddAction(id::kWriteToRadio, QStringLiteral("&Write To Radio\tCtrl+W"),
            QStringLiteral("Write Data to Radio \nWrite"), QStringLiteral("write"));
  AddAction(id::kEditData, QStringLiteral("&Edit Data\tCtrl+E"),
            QStringLiteral("Edit channel Data \nEdit"), QStringLiteral("edit"));
  AddAction(id::kOptionalFeatures, QStringLiteral("&Optional Features\tCtrl+O"),
            QStringLiteral("Set the rest  functional features for the interphone"));
  AddAction(id::kHighPowerDebug, QStringLiteral("High Power Debug"), QString());
  AddAction(id::kLowPowerDebug, QStringLiteral("Low Power Debug"), QString());

  // Port
  AddAction(id::kCom1, QStringLiteral("COM1(&P)\tCtrl+C"),
            QStringLiteral("Choose Communication Port one \nCom1"));
  AddAction(id::kCom2, QStringLiteral("COM2(&Q)\tCtrl+D"),
            QStringLiteral("Choose Communication Port two \nCom2"));
  AddAction(id::kCom3, QStringLiteral("COM3(&S)\tCtrl+E"),
            QStringLiteral("Choose Communication Port three \nCom3"));
  AddAction(id::kCom4, QStringLiteral("COM4(&T)\tCtrl+F"),
            QStringLiteral("Choose Communication Port four \nCom4"));

  // View
  QAction* toolbar = AddAction(id::kViewToolbar, QStringLiteral("&Toolbar"),
                               QStringLiteral("Show or hide the toolbar\nToggle ToolBar"));
  toolbar->setCheckable(true);
  toolbar->setChecked(true);
  QAction* status = AddAction(id::kViewStatusBar, QStringLiteral("&Status Bar"),
                              QStringLiteral("Show or hide the status bar\nToggle StatusBar"));
  status->setCheckable(true);
  status->setChecked(true);
  QAction* english = AddAction(
      id::kViewEnglishTexts, QStringLiteral("&English Texts"),
      QStringLiteral("Use the English texts for messages and the printed report\nEnglish Texts"));
  english->setCheckable(true);
  english->setChecked(UseEnglishTexts());

  // Help
  AddAction(id::kHelpTopics, QStringLiteral("&Help Topics"),
            QStringLiteral("List Help topics\nHelp Topics"));
  AddAction(id::kAbout, QStringLiteral("&About VRAX-3.0..."),
            QStringLiteral("Display program information, version number and copyright\nAbout"),
            QStringLiteral("about"));
  AddAction(id::kContextHelp, QStringLiteral("Help"),
            QStringLiteral("Display help for clicked on buttons, menus and windows\nHelp"),
            QStringLiteral("context_help"));
  AddAction(id::kHelp, QStringLiteral("Help"),
            QStringLiteral("Display help for current task or command\nHelp"));
  AddAction(id::kNextPane, QStringLiteral("Next Pane"),
            QStringLiteral("Switch to the next window pane\nNext Pane"));
  AddAction(id::kPreviousPane, QStringLiteral("Previous Pane"),
            QStringLiteral("Switch back to the previous window pane\nPrevious Pane"));

  // Toolbar only; no part of the program handles it.
  QAction* debug = AddAction(id::kDebugOnLine, QStringLiteral("Debug on line"),
                             QStringLiteral("Debug TX Power,Squelch Level,Low Power Alert\n"
                                            "Debug on line"),
                             QStringLiteral("debug"));
  debug->setEnabled(false);

  // The accelerator table, complete. The other shortcuts in the labels are
  // text only.
  Action(id::kNew)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  Action(id::kOpen)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  Action(id::kPrint)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  Action(id::kSave)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  Action(id::kHelp)->setShortcut(QKeySequence(Qt::Key_F1));
  Action(id::kContextHelp)->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
  Action(id::kNextPane)->setShortcut(QKeySequence(Qt::Key_F6));
  Action(id::kPreviousPane)->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
  // Keys without a menu item act through the window.
  addAction(Action(id::kHelp));
  addAction(Action(id::kContextHelp));
  addAction(Action(id::kNextPane));
  addAction(Action(id::kPreviousPane));

  // The keys of the Edit menu. A text field takes Ctrl+Z and Ctrl+Y (and
  // the clipboard keys) for itself; the others act on channels only while
  // the grid has the focus, so that Delete, Insert and Alt+Down keep their
  // meaning in the boxes and the cell editors.
  Action(id::kUndo)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  Action(id::kRedo)->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  const std::array<std::pair<int, QKeySequence>, 8> grid_keys = {{
      {id::kCut, QKeySequence(Qt::CTRL | Qt::Key_X)},
      {id::kCopy, QKeySequence(Qt::CTRL | Qt::Key_C)},
      {id::kPaste, QKeySequence(Qt::CTRL | Qt::Key_V)},
      {id::kInsertChannel, QKeySequence(Qt::Key_Insert)},
      {id::kDeleteChannels, QKeySequence(Qt::CTRL | Qt::Key_Delete)},
      {id::kMoveChannelUp, QKeySequence(Qt::ALT | Qt::Key_Up)},
      {id::kMoveChannelDown, QKeySequence(Qt::ALT | Qt::Key_Down)},
      {id::kClearChannels, QKeySequence(Qt::Key_Delete)},
  }};
  for (const auto& [command, key] : grid_keys) {
    QAction* action = Action(command);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    view_->GridWidget().addAction(action);
  }
}

void MainFrame::BuildMenus() {
  file_menu_ = menuBar()->addMenu(QStringLiteral("&File"));
  file_menu_->addAction(Action(id::kNew));
  file_menu_->addAction(Action(id::kOpen));
  file_menu_->addAction(Action(id::kSave));
  file_menu_->addAction(Action(id::kSaveAs));
  file_menu_->addSeparator();
  file_menu_->addAction(Action(id::kImportChannels));
  file_menu_->addAction(Action(id::kExportChannels));
  file_menu_->addSeparator();
  file_menu_->addAction(Action(id::kPrint));
  file_menu_->addAction(Action(id::kPrintPreview));
  file_menu_->addAction(Action(id::kPrintSetup));
  file_menu_->addSeparator();
  for (QAction* recent : recent_actions_) file_menu_->addAction(recent);
  file_menu_->addSeparator();
  file_menu_->addAction(Action(id::kExit));

  edit_menu_ = menuBar()->addMenu(QStringLiteral("&Edit"));
  edit_menu_->addAction(Action(id::kUndo));
  edit_menu_->addAction(Action(id::kRedo));
  edit_menu_->addSeparator();
  edit_menu_->addAction(Action(id::kCut));
  edit_menu_->addAction(Action(id::kCopy));
  edit_menu_->addAction(Action(id::kPaste));
  edit_menu_->addSeparator();
  edit_menu_->addAction(Action(id::kInsertChannel));
  edit_menu_->addAction(Action(id::kDeleteChannels));
  edit_menu_->addAction(Action(id::kMoveChannelUp));
  edit_menu_->addAction(Action(id::kMoveChannelDown));
  edit_menu_->addAction(Action(id::kClearChannels));

  program_menu_ = menuBar()->addMenu(QStringLiteral("&Program"));
  program_menu_->addAction(Action(id::kReadFromRadio));
  program_menu_->addSeparator();
  program_menu_->addAction(Action(id::kWriteToRadio));
  program_menu_->addSeparator();
  program_menu_->addAction(Action(id::kEditData));
  program_menu_->addSeparator();
  program_menu_->addAction(Action(id::kOptionalFeatures));
  program_menu_->addSeparator();
  program_menu_->addAction(Action(id::kHighPowerDebug));
  program_menu_->addSeparator();
  program_menu_->addAction(Action(id::kLowPowerDebug));

  port_menu_ = menuBar()->addMenu(QStringLiteral("P&ort"));
  port_menu_->addAction(Action(id::kCom1));
  port_menu_->addAction(Action(id::kCom2));
  port_menu_->addAction(Action(id::kCom3));
  port_menu_->addAction(Action(id::kCom4));

  view_menu_ = menuBar()->addMenu(QStringLiteral("&View"));
  view_menu_->addAction(Action(id::kViewToolbar));
  view_menu_->addAction(Action(id::kViewStatusBar));
  view_menu_->addSeparator();
  view_menu_->addAction(Action(id::kViewEnglishTexts));

  help_menu_ = menuBar()->addMenu(QStringLiteral("&Help"));
  help_menu_->addAction(Action(id::kHelpTopics));
  help_menu_->addSeparator();
  help_menu_->addAction(Action(id::kAbout));
}

void MainFrame::BuildToolBar() {
  tool_bar_ = new QToolBar(QStringLiteral("Standard"), this);
  tool_bar_->setObjectName(QStringLiteral("standardToolBar"));
  tool_bar_->setIconSize(QSize(18, 18));
  tool_bar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  tool_bar_->setMovable(true);
  tool_bar_->setFloatable(true);
  tool_bar_->setAllowedAreas(Qt::AllToolBarAreas);
  tool_bar_->addAction(Action(id::kNew));
  tool_bar_->addAction(Action(id::kOpen));
  tool_bar_->addAction(Action(id::kSave));
  tool_bar_->addSeparator();
  tool_bar_->addAction(Action(id::kReadFromRadio));
  tool_bar_->addAction(Action(id::kWriteToRadio));
  tool_bar_->addSeparator();
  tool_bar_->addAction(Action(id::kEditData));
  tool_bar_->addSeparator();
  tool_bar_->addAction(Action(id::kPrint));
  tool_bar_->addAction(Action(id::kContextHelp));
  tool_bar_->addAction(Action(id::kAbout));
  tool_bar_->addAction(Action(id::kDebugOnLine));
  addToolBar(Qt::TopToolBarArea, tool_bar_);
}

void MainFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  message_pane_ = new QLabel(IdleMessageText(), bar);
  message_pane_->setObjectName(QStringLiteral("messagePane"));
  bar->addWidget(message_pane_, 1);

  document_pane_ = new QLabel(bar);
  document_pane_->setObjectName(QStringLiteral("documentPane"));
  document_pane_->setFrameShape(QFrame::Panel);
  document_pane_->setFrameShadow(QFrame::Sunken);
  bar->addPermanentWidget(document_pane_);

  const QFontMetrics metrics(font());
  for (std::size_t i = 0; i < lock_panes_.size(); ++i) {
    auto* pane = new QLabel(bar);
    pane->setObjectName(QStringLiteral("lockPane%1").arg(kLockPaneTexts[i]));
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    pane->setAlignment(Qt::AlignCenter);
    pane->setMinimumWidth(metrics.horizontalAdvance(kLockPaneTexts[i]) + 12);
    bar->addPermanentWidget(pane);
    lock_panes_[i] = pane;
  }
}

void MainFrame::ConnectCommands() {
  connect(Action(id::kNew), &QAction::triggered, this, [this] { NewDocument(); });
  connect(Action(id::kOpen), &QAction::triggered, this, [this] { OpenDocument(); });
  connect(Action(id::kSave), &QAction::triggered, this, [this] { SaveDocument(); });
  connect(Action(id::kSaveAs), &QAction::triggered, this, [this] { SaveDocumentAs(); });
  for (int i = 0; i < id::kRecentFileCount; ++i) {
    connect(recent_actions_[i], &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
  }
  connect(Action(id::kExit), &QAction::triggered, this, &QWidget::close);
  connect(Action(id::kEditData), &QAction::triggered, view_, &ChannelView::EditData);

  connect(Action(id::kViewToolbar), &QAction::toggled, tool_bar_, &QWidget::setVisible);
  connect(tool_bar_, &QToolBar::visibilityChanged, Action(id::kViewToolbar), &QAction::setChecked);
  connect(Action(id::kViewStatusBar), &QAction::toggled, statusBar(), &QWidget::setVisible);
  connect(Action(id::kViewEnglishTexts), &QAction::toggled, this, [this](bool english) {
    ChooseEnglishTexts(english);
    settings_.setValue(app_names::kEnglishTextsKey, english);
    settings_.sync();
  });

  connect(Action(id::kHelpTopics), &QAction::triggered, this, &MainFrame::ShowHelpTopics);
  connect(Action(id::kContextHelp), &QAction::triggered, this, &MainFrame::ShowHelpContents);
  connect(Action(id::kAbout), &QAction::triggered, this, &MainFrame::ShowAbout);
  // F1 (kHelp), F6 and Shift+F6 do nothing: there is a single pane, and
  // help is reached through Help Topics, Shift+F1 and the toolbar.
}

// ---------------------------------------------------------------------------
// Status bar

QString MainFrame::IdleMessageText() { return QStringLiteral("For Help，Please Press F1"); }

void MainFrame::SetMessageText(const QString& text) { message_pane_->setText(text); }

QString MainFrame::MessageText() const { return message_pane_->text(); }

QString MainFrame::DocumentPaneText() const { return document_pane_->text(); }

QString MainFrame::LockPaneText(int pane) const {
  return pane >= 0 && pane < 3 ? lock_panes_[pane]->text() : QString();
}

void MainFrame::UpdateDocumentPane() {
  const bool modified = document_.modified();
  document_pane_->setText(DocumentTitle() + (modified ? QStringLiteral(" *") : QString()));
  QString tip = DocumentPath().isEmpty() ? QStringLiteral("A new document, not saved yet")
                                         : QDir::toNativeSeparators(DocumentPath());
  if (modified) tip += QStringLiteral("\nThe channel data has unsaved changes.");
  document_pane_->setToolTip(tip);
}

void MainFrame::UpdateLockIndicators() {
  const std::array<LockKey, 3> keys = {LockKey::Caps, LockKey::Num, LockKey::Scroll};
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::optional<bool> on = ReadLockKeyState(keys[i]);
    lock_panes_[i]->setText(on.value_or(false) ? kLockPaneTexts[i] : QString());
  }
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock) {
      QTimer::singleShot(kLockRefreshDelayMs, this, &MainFrame::UpdateLockIndicators);
    }
  } else if (event->type() == QEvent::ApplicationActivate) {
    UpdateLockIndicators();
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Files

void MainFrame::SetFileChooser(FileChooser chooser) { file_chooser_ = std::move(chooser); }

QString MainFrame::DocumentPath() const { return QFile::decodeName(document_.path().c_str()); }

QString MainFrame::DocumentTitle() const {
  return DocumentPath().isEmpty() ? app_names::kUntitled : QFileInfo(DocumentPath()).fileName();
}

QString MainFrame::ChooseFile(FileDialogKind kind, const QString& suggested) {
  if (file_chooser_) return file_chooser_(kind, suggested);
  const bool channel_list =
      kind == FileDialogKind::ImportChannels || kind == FileDialogKind::ExportChannels;
  QString caption = QStringLiteral("Open");
  if (kind == FileDialogKind::SaveAs) caption = QStringLiteral("Save As");
  if (kind == FileDialogKind::ImportChannels) caption = QStringLiteral("Import Channels");
  if (kind == FileDialogKind::ExportChannels) caption = QStringLiteral("Export Channels");
  QFileDialog dialog(this, caption);
  dialog.setNameFilters({channel_list ? QStringLiteral("Channel Lists (*.csv)")
                                      : app_names::kFileFilter,
                         QStringLiteral("All Files (*)")});
  dialog.setDefaultSuffix(channel_list ? QStringLiteral("csv") : app_names::kFileSuffix);
  if (kind == FileDialogKind::Open || kind == FileDialogKind::ImportChannels) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!suggested.isEmpty()) dialog.setDirectory(QFileInfo(suggested).absolutePath());
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(suggested);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

bool MainFrame::SaveModified() {
  view_->CommitOpenEditor();
  if (!document_.modified()) return true;
  const QMessageBox::StandardButton answer = ShowMessage(
      this, QStringLiteral("Save changes to %1?").arg(DocumentTitle()), QMessageBox::Question,
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save) return SaveDocument();
  return answer == QMessageBox::Discard;
}

bool MainFrame::NewDocument() {
  if (!SaveModified()) return false;
  document_.New();
  view_->OnInitialUpdate();
  UpdateDocumentPane();
  return true;
}

bool MainFrame::OpenDocument() {
  if (!SaveModified()) return false;
  const QString path = ChooseFile(FileDialogKind::Open, DocumentPath());
  if (path.isEmpty()) return false;
  const Status loaded = LoadFile(path);
  if (!loaded) ReportOpenFailure(loaded.error());
  return loaded.ok();
}

bool MainFrame::OpenDocumentFile(const QString& path) {
  if (!SaveModified()) return false;
  const Status loaded = LoadFile(path);
  if (!loaded) ReportOpenFailure(loaded.error());
  return loaded.ok();
}

bool MainFrame::OpenRecentFile(int index) {
  const QString path = recent_->At(index);
  if (path.isEmpty()) return false;
  if (!SaveModified()) return false;
  const Status loaded = LoadFile(path);
  if (!loaded) {
    ReportOpenFailure(loaded.error());
    // An entry whose file cannot be opened leaves the list.
    recent_->Remove(path);
    UpdateRecentMenu();
  }
  return loaded.ok();
}

void MainFrame::ReportOpenFailure(const Error& error) {
  ShowMessage(this, App::OpenFailureMessage(QString::fromStdString(error.Message())));
}

Status MainFrame::LoadFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  const Status opened = document_.Open(ToNativePath(absolute));
  if (!opened) return opened;
  view_->OnInitialUpdate();
  recent_->Add(absolute);
  UpdateRecentMenu();
  UpdateDocumentPane();
  return opened;
}

bool MainFrame::SaveDocument() {
  view_->CommitOpenEditor();
  if (DocumentPath().isEmpty()) return SaveDocumentAs();
  return SaveTo(DocumentPath());
}

bool MainFrame::SaveDocumentAs() {
  view_->CommitOpenEditor();
  const QString suggested = DocumentPath().isEmpty()
                                ? DocumentTitle() + QLatin1Char('.') + app_names::kFileSuffix
                                : DocumentPath();
  const QString path = ChooseFile(FileDialogKind::SaveAs, suggested);
  if (path.isEmpty()) return false;
  return SaveTo(path);
}

bool MainFrame::SaveTo(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  view_->EncodeToImage();
  const Status saved = document_.Save(ToNativePath(absolute));
  if (!saved) {
    ShowMessage(this, QStringLiteral("Failed to save document.\n\n%1")
                          .arg(QString::fromStdString(saved.error().Message())));
    UpdateDocumentPane();
    return false;
  }
  // Undoing back to this state clears the modified mark again.
  view_->History().MarkSaved();
  recent_->Add(absolute);
  UpdateRecentMenu();
  UpdateDocumentPane();
  return true;
}

void MainFrame::UpdateRecentMenu() {
  const int count = recent_->Count();
  for (int i = 0; i < id::kRecentFileCount; ++i) {
    QAction* action = recent_actions_[i];
    if (i < count) {
      action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(MenuPath(recent_->At(i))));
      action->setEnabled(true);
      action->setVisible(true);
    } else if (i == 0) {
      // An empty list shows its place holder, greyed.
      action->setText(QStringLiteral("Recent File"));
      action->setEnabled(false);
      action->setVisible(true);
    } else {
      action->setVisible(false);
    }
  }
}

// ---------------------------------------------------------------------------
// Window

void MainFrame::closeEvent(QCloseEvent* event) {
  if (!SaveModified()) {
    event->ignore();
    return;
  }
  if (help_window_) help_window_->close();
  event->accept();
}

namespace {
QString FirstLocalFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return {};
}
}  // namespace

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!FirstLocalFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainFrame::dropEvent(QDropEvent* event) {
  const QString path = FirstLocalFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  activateWindow();
  // Opened after the drop has finished, so that the drag source is not kept
  // waiting by the question or the message boxes.
  QTimer::singleShot(0, this, [this, path] { OpenDocumentFile(path); });
}

// ---------------------------------------------------------------------------
// Help

HelpWindow& MainFrame::Help() {
  if (!help_window_) help_window_ = new HelpWindow(this);
  return *help_window_;
}

void MainFrame::ShowHelpTopics() { Help().ShowFinder(); }

void MainFrame::ShowHelpContents() { Help().ShowContentsPage(); }

void MainFrame::ShowAbout() {
  AboutDialog dialog(this);
  dialog.exec();
}

}  // namespace zlm5
