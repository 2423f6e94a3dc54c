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
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "files/backup_store.h"
#include "ui/app/about_dialog.h"
#include "ui/app/app.h"
#include "ui/app/app_names.h"
#include "ui/app/command_ids.h"
#include "ui/app/help_window.h"
#include "ui/app/language.h"
#include "ui/app/lock_keys.h"
#include "ui/app/message_box.h"
#include "ui/app/recent_files.h"
#include "ui/app/resources.h"
#include "ui/app/translation.h"
#include "ui/edit/edit_commands.h"
#include "ui/edit/edit_history.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_control.h"

namespace zlm5 {
namespace id = command_id;

namespace {

constexpr int kLockRefreshDelayMs = 50;  // the LED follows the key press a moment later
constexpr int kMaxMenuPathLength = 60;
// The document pane shows a name of up to about this many characters; a
// longer one is cut in the middle, so that the message pane keeps its room.
constexpr int kDocumentPaneCharacters = 32;

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

// The core takes paths in UTF-8 on every platform.
std::string ToNativePath(const QString& path) { return path.toStdString(); }

// The folder a path names, made comparable: resolved through links where it
// exists.
QString FolderKey(const QString& folder) {
  const QFileInfo info(folder);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool IsBackupFile(const QString& path) {
  return FolderKey(QFileInfo(path).absolutePath()) ==
         FolderKey(QString::fromStdString(DefaultBackupFolder()));
}

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
  // The user's Documents folder where there is one (Windows always has
  // it), the home folder otherwise.
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  document_folder_ =
      !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
  for (const QString& path : recent_->Entries()) {
    if (IsBackupFile(path)) continue;
    document_folder_ = QFileInfo(path).absolutePath();
    break;
  }
  const bool english = settings_.value(app_names::kEnglishTextsKey, false).toBool();
  ChooseEnglishTexts(english);
  chinese_shown_ = ApplyWindowLanguage(english);

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

MainFrame::~MainFrame() { qApp->removeEventFilter(this); }

QAction* MainFrame::Action(int command_id) const { return actions_.value(command_id, nullptr); }

// ---------------------------------------------------------------------------
// Building

// Where a command's key acts. The accelerator table is complete: the other
// keys in the labels ("\tCtrl+R") are shown only (see ShowShortcutOnly).
enum class KeyScope {
  kMenu,    // through the menu or toolbar that holds the action
  kWindow,  // anywhere in the window: keys without a menu item
  kGrid,    // while the grid has the focus (see BindKeys)
};

// One command of the window. The label and the prompt ("status prompt\n
// tooltip", or a prompt alone) are the English source texts, translated
// when the action is made and again on a change of language.
struct MainFrame::CommandRow {
  int id;
  const char* label;
  const char* prompt;
  const char* icon = nullptr;  // toolbar icon, :/icons/toolbar/<icon>.png
  QKeyCombination key = Qt::Key_unknown;
  QKeyCombination other_key = Qt::Key_unknown;
  KeyScope scope = KeyScope::kMenu;
  void (*run)(MainFrame&) = nullptr;  // null: handled by its own part
};

// The commands handled elsewhere (radio operations, printing, editing) have
// no handler here; see the class comment.
const MainFrame::CommandRow MainFrame::kCommandRows[] = {
    // File
    {id::kNew,
     QT_TR_NOOP("&New\tCtrl+N"),
     QT_TR_NOOP("Create a new document\nNew"),
     "new",
     Qt::CTRL | Qt::Key_N,
     {},
     KeyScope::kMenu,
     [](MainFrame& f) { f.NewDocument(); }},
    {id::kOpen,
     QT_TR_NOOP("&Open...\tCtrl+O"),
     QT_TR_NOOP("Open an existing document\nOpen"),
     "open",
     Qt::CTRL | Qt::Key_O,
     {},
     KeyScope::kMenu,
     [](MainFrame& f) { f.OpenDocument(); }},
    {id::kSave,
     QT_TR_NOOP("&Save\tCtrl+S"),
     QT_TR_NOOP("Save the active document\nSave"),
     "save",
     Qt::CTRL | Qt::Key_S,
     {},
     KeyScope::kMenu,
     [](MainFrame& f) { f.SaveDocument(); }},
    {id::kSaveAs,
     QT_TR_NOOP("Save &As..."),
     QT_TR_NOOP("Save the active document with a new name\nSave As"),
     nullptr,
     {},
     {},
     KeyScope::kMenu,
     [](MainFrame& f) { f.SaveDocumentAs(); }},
    {id::kPrint, QT_TR_NOOP("&Print...\tCtrl+P"), QT_TR_NOOP("Print the active document\nPrint"),
     "print", Qt::CTRL | Qt::Key_P},
    {id::kPrintPreview, QT_TR_NOOP("Print Pre&view"),
     QT_TR_NOOP("Display full pages\nPrint Preview")},
    {id::kPrintSetup, QT_TR_NOOP("P&rint Setup..."),
     QT_TR_NOOP("Change the printer and printing options\nPrint Setup")},
    {id::kImportChannels, QT_TR_NOOP("&Import Channels..."),
     QT_TR_NOOP("Import channels from a CSV channel list\nImport Channels")},
    {id::kExportChannels, QT_TR_NOOP("&Export Channels..."),
     QT_TR_NOOP("Export the channels to a CSV channel list\nExport Channels")},
    {id::kExit,
     QT_TR_NOOP("E&xit"),
     QT_TR_NOOP("Quit the application; prompts to save documents\nExit"),
     nullptr,
     {},
     {},
     KeyScope::kMenu,
     [](MainFrame& f) { f.close(); }},

    // Edit. The texts of Undo and Redo name the step they act on. A text
    // field keeps Ctrl+Z and Ctrl+Y (and the clipboard keys) for itself.
    {id::kUndo, QT_TR_NOOP("&Undo"), QT_TR_NOOP("Undo the last change\nUndo"), nullptr,
     Qt::CTRL | Qt::Key_Z},
    {id::kRedo, QT_TR_NOOP("&Redo"), QT_TR_NOOP("Redo the change that was undone\nRedo"), nullptr,
     Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
    {id::kCut,
     QT_TR_NOOP("Cu&t"),
     QT_TR_NOOP("Cut the selected channels to the clipboard\nCut"),
     nullptr,
     Qt::CTRL | Qt::Key_X,
     {},
     KeyScope::kGrid},
    {id::kCopy,
     QT_TR_NOOP("&Copy"),
     QT_TR_NOOP("Copy the selected channels to the clipboard\nCopy"),
     nullptr,
     Qt::CTRL | Qt::Key_C,
     {},
     KeyScope::kGrid},
    {id::kPaste,
     QT_TR_NOOP("&Paste"),
     QT_TR_NOOP("Paste channels from the clipboard from the selected channel on\nPaste"),
     nullptr,
     Qt::CTRL | Qt::Key_V,
     {},
     KeyScope::kGrid},
    {id::kInsertChannel,
     QT_TR_NOOP("&Insert Empty Channel"),
     QT_TR_NOOP("Insert an empty channel; the channels below move down\nInsert Empty Channel"),
     nullptr,
     Qt::Key_Insert,
     {},
     KeyScope::kGrid},
    {id::kDeleteChannels,
     QT_TR_NOOP("&Delete Channels"),
     QT_TR_NOOP("Delete the selected channels; the channels below move up\nDelete Channels"),
     nullptr,
     Qt::CTRL | Qt::Key_Delete,
     {},
     KeyScope::kGrid},
    {id::kMoveChannelUp,
     QT_TR_NOOP("Mo&ve Up"),
     QT_TR_NOOP("Move the selected channels up by one\nMove Up"),
     nullptr,
     Qt::ALT | Qt::Key_Up,
     {},
     KeyScope::kGrid},
    {id::kMoveChannelDown,
     QT_TR_NOOP("Move Do&wn"),
     QT_TR_NOOP("Move the selected channels down by one\nMove Down"),
     nullptr,
     Qt::ALT | Qt::Key_Down,
     {},
     KeyScope::kGrid},
    {id::kClearChannels,
     QT_TR_NOOP("C&lear Channels"),
     QT_TR_NOOP("Empty the selected channels\nClear Channels"),
     nullptr,
     Qt::Key_Delete,
     {},
     KeyScope::kGrid},

    // Program
    {id::kReadFromRadio, QT_TR_NOOP("&Read From Radio\tCtrl+R"),
     QT_TR_NOOP("Read Data From Radio\nRead"), "read"},
    {id::kWriteToRadio, QT_TR_NOOP("&Write To Radio\tCtrl+W"),
     QT_TR_NOOP("Write Data to Radio \nWrite"), "write"},
    {id::kEditData,
     QT_TR_NOOP("&Edit Data\tCtrl+E"),
     QT_TR_NOOP("Edit channel Data \nEdit"),
     "edit",
     {},
     {},
     KeyScope::kMenu,
     [](MainFrame& f) { f.View().EditData(); }},
    {id::kOptionalFeatures, QT_TR_NOOP("&Optional Features\tCtrl+O"),
     QT_TR_NOOP("Set the rest  functional features for the interphone")},
    {id::kHighPowerDebug, QT_TR_NOOP("High Power Debug"), ""},
    {id::kLowPowerDebug, QT_TR_NOOP("Low Power Debug"), ""},

    // Port
    {id::kCom1, QT_TR_NOOP("COM1(&P)\tCtrl+C"), QT_TR_NOOP("Choose Communication Port one \nCom1")},
    {id::kCom2, QT_TR_NOOP("COM2(&Q)\tCtrl+D"), QT_TR_NOOP("Choose Communication Port two \nCom2")},
    {id::kCom3, QT_TR_NOOP("COM3(&S)\tCtrl+E"),
     QT_TR_NOOP("Choose Communication Port three \nCom3")},
    {id::kCom4, QT_TR_NOOP("COM4(&T)\tCtrl+F"),
     QT_TR_NOOP("Choose Communication Port four \nCom4")},

    // View; the three are check items (BuildActions).
    {id::kViewToolbar, QT_TR_NOOP("&Toolbar"),
     QT_TR_NOOP("Show or hide the toolbar\nToggle ToolBar")},
    {id::kViewStatusBar, QT_TR_NOOP("&Status Bar"),
     QT_TR_NOOP("Show or hide the status bar\nToggle StatusBar")},
    {id::kViewEnglishTexts, QT_TR_NOOP("&English Texts"),
     QT_TR_NOOP("Use the English texts for messages and the printed report\nEnglish Texts")},

    // Help. F1 (kHelp), F6 and Shift+F6 do nothing: there is a single pane,
    // and help is reached through Help Topics, Shift+F1 and the toolbar.
    {id::kHelpTopics,
     QT_TR_NOOP("&Help Topics"),
     QT_TR_NOOP("List Help topics\nHelp Topics"),
     nullptr,
     {},
     {},
     KeyScope::kMenu,
     [](MainFrame& f) { f.ShowHelpTopics(); }},
    {id::kAbout,
     QT_TR_NOOP("&About VRAX-3.0..."),
     QT_TR_NOOP("Display program information, version number and copyright\nAbout"),
     "about",
     {},
     {},
     KeyScope::kMenu,
     [](MainFrame& f) { f.ShowAbout(); }},
    {id::kContextHelp,
     QT_TR_NOOP("Help"),
     QT_TR_NOOP("Display help for clicked on buttons, menus and windows\nHelp"),
     "context_help",
     Qt::SHIFT | Qt::Key_F1,
     {},
     KeyScope::kWindow,
     [](MainFrame& f) { f.ShowHelpContents(); }},
    {id::kHelp,
     QT_TR_NOOP("Help"),
     QT_TR_NOOP("Display help for current task or command\nHelp"),
     nullptr,
     Qt::Key_F1,
     {},
     KeyScope::kWindow},
    {id::kNextPane,
     QT_TR_NOOP("Next Pane"),
     QT_TR_NOOP("Switch to the next window pane\nNext Pane"),
     nullptr,
     Qt::Key_F6,
     {},
     KeyScope::kWindow},
    {id::kPreviousPane,
     QT_TR_NOOP("Previous Pane"),
     QT_TR_NOOP("Switch back to the previous window pane\nPrevious Pane"),
     nullptr,
     Qt::SHIFT | Qt::Key_F6,
     {},
     KeyScope::kWindow},

    // Toolbar only; no part of the program handles it (always disabled).
    {id::kDebugOnLine, QT_TR_NOOP("Debug on line"),
     QT_TR_NOOP("Debug TX Power,Squelch Level,Low Power Alert\nDebug on line"), "debug"},
};

namespace {

// Entries of a menu or the toolbar: command ids, separators, and the place
// of the recent-file list.
constexpr int kSeparator = 0;
constexpr int kRecentFiles = -1;

constexpr int kFileEntries[] = {id::kNew,
                                id::kOpen,
                                id::kSave,
                                id::kSaveAs,
                                kSeparator,
                                id::kImportChannels,
                                id::kExportChannels,
                                kSeparator,
                                id::kPrint,
                                id::kPrintPreview,
                                id::kPrintSetup,
                                kSeparator,
                                kRecentFiles,
                                kSeparator,
                                id::kExit};
constexpr int kEditEntries[] = {
    id::kUndo,           id::kRedo,          kSeparator,           id::kCut,
    id::kCopy,           id::kPaste,         kSeparator,           id::kInsertChannel,
    id::kDeleteChannels, id::kMoveChannelUp, id::kMoveChannelDown, id::kClearChannels};
constexpr int kProgramEntries[] = {
    id::kReadFromRadio,  kSeparator, id::kWriteToRadio,     kSeparator,
    id::kEditData,       kSeparator, id::kOptionalFeatures, kSeparator,
    id::kHighPowerDebug, kSeparator, id::kLowPowerDebug};
constexpr int kPortEntries[] = {id::kCom1, id::kCom2, id::kCom3, id::kCom4};
constexpr int kViewEntries[] = {id::kViewToolbar, id::kViewStatusBar, kSeparator,
                                id::kViewEnglishTexts};
constexpr int kHelpEntries[] = {id::kHelpTopics, kSeparator, id::kAbout};
constexpr int kToolBarEntries[] = {
    id::kNew,          id::kOpen,  id::kSave,       kSeparator, id::kReadFromRadio,
    id::kWriteToRadio, kSeparator, id::kEditData,   kSeparator, id::kPrint,
    id::kContextHelp,  id::kAbout, id::kDebugOnLine};

}  // namespace

struct MainFrame::MenuRow {
  QMenu* MainFrame::*menu;
  const char* title;
  std::span<const int> entries;
};

const MainFrame::MenuRow MainFrame::kMenuRows[] = {
    {&MainFrame::file_menu_, QT_TR_NOOP("&File"), kFileEntries},
    {&MainFrame::edit_menu_, QT_TR_NOOP("&Edit"), kEditEntries},
    {&MainFrame::program_menu_, QT_TR_NOOP("&Program"), kProgramEntries},
    {&MainFrame::port_menu_, QT_TR_NOOP("P&ort"), kPortEntries},
    {&MainFrame::view_menu_, QT_TR_NOOP("&View"), kViewEntries},
    {&MainFrame::help_menu_, QT_TR_NOOP("&Help"), kHelpEntries},
};

QAction* MainFrame::AddAction(const CommandRow& row) {
  auto* action = new QAction(this);
  action->setObjectName(QStringLiteral("command%1").arg(row.id));
  action->setData(row.id);
  // The command's own keys first: a key its label shows is then shown only
  // when the command does not answer to it.
  BindKeys(*action, row);
  SetActionTexts(*action, staticMetaObject.className(), row.label, row.prompt);
  if (row.icon != nullptr) {
    action->setIcon(ToolbarIcon(QString::fromLatin1(row.icon)));
    action->setIconVisibleInMenu(false);
  }
  // Before any handler of the command: what it has to tell comes after.
  connect(action, &QAction::triggered, this, &MainFrame::ClearMessageText);
  if (row.run != nullptr) {
    connect(action, &QAction::triggered, this, [this, run = row.run] { run(*this); });
  }
  actions_.insert(row.id, action);
  return action;
}

void MainFrame::BindKeys(QAction& action, const CommandRow& row) {
  if (row.key.key() == Qt::Key_unknown) return;
  QList<QKeySequence> keys = {QKeySequence(row.key)};
  if (row.other_key.key() != Qt::Key_unknown) keys.append(QKeySequence(row.other_key));
  action.setShortcuts(keys);
  switch (row.scope) {
    case KeyScope::kMenu:
      break;
    case KeyScope::kWindow:
      addAction(&action);
      break;
    case KeyScope::kGrid:
      // Delete, Insert and Alt+Down keep their meaning in the boxes and the
      // cell editors: these act on channels only while the grid has the focus.
      action.setShortcutContext(Qt::WidgetShortcut);
      view_->GridWidget().addAction(&action);
      break;
  }
}

void MainFrame::BuildActions() {
  for (const CommandRow& row : kCommandRows) AddAction(row);
  for (int i = 0; i < id::kRecentFileCount; ++i) {
    recent_actions_[i] = AddAction(
        {id::kRecentFile1 + i, QT_TR_NOOP("Recent File"), QT_TR_NOOP("Open this document")});
    connect(recent_actions_[i], &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
  }
  for (int check : {id::kViewToolbar, id::kViewStatusBar, id::kViewEnglishTexts}) {
    Action(check)->setCheckable(true);
    Action(check)->setChecked(check != id::kViewEnglishTexts || UseEnglishTexts());
  }
  Action(id::kDebugOnLine)->setEnabled(false);
}

void MainFrame::AddEntries(QWidget& menu_or_bar, std::span<const int> entries) {
  for (int entry : entries) {
    if (entry == kSeparator) {
      auto* separator = new QAction(&menu_or_bar);
      separator->setSeparator(true);
      menu_or_bar.addAction(separator);
    } else if (entry == kRecentFiles) {
      for (QAction* recent : recent_actions_) menu_or_bar.addAction(recent);
    } else {
      menu_or_bar.addAction(Action(entry));
    }
  }
}

void MainFrame::BuildMenus() {
  for (const MenuRow& row : kMenuRows) {
    QMenu* menu = menuBar()->addMenu(tr(row.title));
    this->*row.menu = menu;
    AddEntries(*menu, row.entries);
  }
}

void MainFrame::BuildToolBar() {
  tool_bar_ = new QToolBar(tr("Standard"), this);
  tool_bar_->setObjectName(QStringLiteral("standardToolBar"));
  tool_bar_->setIconSize(QSize(18, 18));
  tool_bar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  tool_bar_->setMovable(true);
  tool_bar_->setFloatable(true);
  tool_bar_->setAllowedAreas(Qt::AllToolBarAreas);
  AddEntries(*tool_bar_, kToolBarEntries);
  addToolBar(Qt::TopToolBarArea, tool_bar_);
}

void MainFrame::Retranslate() {
  chinese_shown_ = WindowInChinese();
  RetranslateActions(*this);
  for (const MenuRow& row : kMenuRows) (this->*row.menu)->setTitle(tr(row.title));
  tool_bar_->setWindowTitle(tr("Standard"));
  UpdateRecentMenu();
  UpdateDocumentPane();
  // A message of an operation stays; the idle prompt changes language.
  const bool idle = MessageText() == idle_text_;
  idle_text_ = IdleMessageText();
  if (idle) SetMessageText(idle_text_);
  emit LanguageChanged();
}

void MainFrame::changeEvent(QEvent* event) {
  // Qt sends this once the translator has changed; the English Texts
  // command has retranslated already.
  if (event->type() == QEvent::LanguageChange && tool_bar_ != nullptr &&
      WindowInChinese() != chinese_shown_) {
    Retranslate();
  }
  QMainWindow::changeEvent(event);
}

void MainFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  idle_text_ = IdleMessageText();
  message_pane_ = new QLabel(idle_text_, bar);
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
  connect(Action(id::kViewToolbar), &QAction::toggled, tool_bar_, &QWidget::setVisible);
  connect(tool_bar_, &QToolBar::visibilityChanged, Action(id::kViewToolbar), &QAction::setChecked);
  connect(Action(id::kViewStatusBar), &QAction::toggled, statusBar(), &QWidget::setVisible);
  connect(Action(id::kViewEnglishTexts), &QAction::toggled, this, [this](bool english) {
    ChooseEnglishTexts(english);
    settings_.setValue(app_names::kEnglishTextsKey, english);
    settings_.sync();
    // On a Chinese desktop the window changes language at once.
    if (ApplyWindowLanguage(english) != chinese_shown_) Retranslate();
  });
}

// ---------------------------------------------------------------------------
// Status bar

QString MainFrame::IdleMessageText() { return tr("For Help，Please Press F1"); }

void MainFrame::SetMessageText(const QString& text) { message_pane_->setText(text); }

void MainFrame::ClearMessageText() { SetMessageText(idle_text_); }

QString MainFrame::MessageText() const { return message_pane_->text(); }

QString MainFrame::DocumentPaneText() const { return document_pane_->text(); }

QString MainFrame::LockPaneText(int pane) const {
  return pane >= 0 && pane < 3 ? lock_panes_[pane]->text() : QString();
}

void MainFrame::UpdateDocumentPane() {
  const bool modified = document_.modified();
  const QFontMetrics metrics(document_pane_->font());
  const QString title = metrics.elidedText(DocumentTitle(), Qt::ElideMiddle,
                                           metrics.averageCharWidth() * kDocumentPaneCharacters);
  document_pane_->setText(title + (modified ? QStringLiteral(" *") : QString()));
  QString tip = DocumentPath().isEmpty() ? tr("A new document, not saved yet")
                                         : QDir::toNativeSeparators(DocumentPath());
  if (modified) tip += QLatin1Char('\n') + tr("The channel data has unsaved changes.");
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

QString MainFrame::DocumentPath() const { return QString::fromStdString(document_.path()); }

bool MainFrame::DocumentIsBackup() const {
  return !DocumentPath().isEmpty() && IsBackupFile(DocumentPath());
}

QString MainFrame::OwnDocumentPath() const {
  return DocumentIsBackup() ? QString() : DocumentPath();
}

QString MainFrame::DocumentTitle() const {
  return DocumentPath().isEmpty() ? tr("Untitled") : QFileInfo(DocumentPath()).fileName();
}

QString MainFrame::ChooseFile(FileDialogKind kind, const QString& suggested) {
  if (file_chooser_) return file_chooser_(kind, suggested);
  const bool channel_list =
      kind == FileDialogKind::ImportChannels || kind == FileDialogKind::ExportChannels;
  QString caption = tr("Open");
  if (kind == FileDialogKind::SaveAs) caption = tr("Save As");
  if (kind == FileDialogKind::ImportChannels) caption = tr("Import Channels");
  if (kind == FileDialogKind::ExportChannels) caption = tr("Export Channels");
  QFileDialog dialog(this, caption);
  dialog.setNameFilters(
      {channel_list ? tr("Channel Lists (*.csv)") : app_names::FileFilter(), tr("All Files (*)")});
  dialog.setDefaultSuffix(channel_list ? QStringLiteral("csv") : app_names::kFileSuffix);
  // Never where the dialog was last (the backups folder, say): in the
  // folder of the suggestion, or where the user keeps documents.
  const bool in_folder = !suggested.isEmpty() && QFileInfo(suggested).isAbsolute();
  dialog.setDirectory(in_folder ? QFileInfo(suggested).absolutePath() : document_folder_);
  if (kind == FileDialogKind::Open || kind == FileDialogKind::ImportChannels) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
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
      this, tr("Save changes to %1?").arg(DocumentTitle()), QMessageBox::Question,
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
  const QString path = ChooseFile(FileDialogKind::Open, OwnDocumentPath());
  if (path.isEmpty()) return false;
  const Status loaded = LoadFile(path);
  if (!loaded) ReportOpenFailure(loaded.error());
  return loaded.ok();
}

bool MainFrame::OpenDocumentFile(const QString& path) {
  ClearMessageText();
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
  Status opened = document_.Open(ToNativePath(absolute));
  if (!opened) return opened;
  view_->OnInitialUpdate();
  recent_->Add(absolute);
  if (!IsBackupFile(absolute)) document_folder_ = QFileInfo(absolute).absolutePath();
  UpdateRecentMenu();
  UpdateDocumentPane();
  return opened;
}

bool MainFrame::SaveDocument() {
  view_->CommitOpenEditor();
  // A backup stays as the transfer left it: saved under a name of the user's.
  if (OwnDocumentPath().isEmpty()) return SaveDocumentAs();
  return SaveTo(DocumentPath());
}

bool MainFrame::SaveDocumentAs() {
  view_->CommitOpenEditor();
  QString suggested = OwnDocumentPath();
  if (DocumentPath().isEmpty()) {
    suggested = DocumentTitle() + QLatin1Char('.') + app_names::kFileSuffix;
  } else if (suggested.isEmpty()) {
    suggested = DocumentTitle();  // a backup's name, in the user's folder
  }
  const QString path = ChooseFile(FileDialogKind::SaveAs, suggested);
  if (path.isEmpty()) return false;
  return SaveTo(path);
}

bool MainFrame::SaveTo(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  view_->EncodeToImage();
  const Status saved = document_.Save(ToNativePath(absolute));
  if (!saved) {
    ShowMessage(
        this,
        tr("Failed to save document.\n\n%1").arg(QString::fromStdString(saved.error().Message())));
    UpdateDocumentPane();
    return false;
  }
  // Undoing back to this state clears the modified mark again.
  view_->History().MarkSaved();
  recent_->Add(absolute);
  if (!IsBackupFile(absolute)) document_folder_ = QFileInfo(absolute).absolutePath();
  UpdateRecentMenu();
  UpdateDocumentPane();
  SetMessageText(tr("Saved to %1").arg(QDir::toNativeSeparators(absolute)));
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
      action->setText(tr("Recent File"));
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
