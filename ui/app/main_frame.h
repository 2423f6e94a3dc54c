// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <span>

#include "files/channel_document.h"

class QAction;
class QLabel;
class QMenu;
class QSettings;
class QToolBar;

namespace zlm5 {

class ChannelView;
class EditCommands;
class HelpWindow;
class RecentFiles;

// The main window: menu, toolbar, status bar and the channel view, and the
// file commands (New, Open, Save, Save As, recent files, dropped files).
//
// Every command is a QAction found by its id (ui/command_ids.h) through
// Action(id), with its label, status prompt and tooltip from the command
// table of main_frame.cpp, in the window's language (ui/app/translation.h). Only the keys
// of the accelerator table act (Ctrl+N, Ctrl+O, Ctrl+P, Ctrl+S, F1,
// Shift+F1, F6, Shift+F6) and those of the Edit menu; other shortcuts in
// labels are text only. Of the Edit menu's keys, Undo (Ctrl+Z) and Redo
// (Ctrl+Y, Ctrl+Shift+Z) act anywhere in the window but in a text field,
// which keeps its own; Cut, Copy, Paste (Ctrl+X, Ctrl+C, Ctrl+V), Insert
// Empty Channel (Insert), Delete Channels (Ctrl+Delete), Move Up and Down
// (Alt+Up, Alt+Down) and Clear Channels (Delete) act while the grid has
// the focus.
//
// Commands handled here: the file commands, Exit, Edit Data, the View
// toggles, English Texts, the help commands and About. The others exist as
// actions with their menu entries and prompts but are connected by their
// own parts of the program:
//   radio operations: kReadFromRadio, kWriteToRadio, kOptionalFeatures,
//                     kHighPowerDebug, kLowPowerDebug, kCom1..kCom4
//                     (PortMenu() takes further entries after them);
//   printing:         kPrint, kPrintPreview, kPrintSetup;
//   editing:          the Edit menu, kImportChannels, kExportChannels
//                     (EditCommands, made by the frame: Edits()).
// kDebugOnLine (toolbar only) is always disabled.
//
// Edits are never dropped silently: New, Open, a recent file, a dropped file
// and closing the window first commit an open cell editor, then ask whether
// to save a modified document (Save, Discard, Cancel). The caption never
// changes; the status bar's document pane names the document (a long name
// cut in the middle) and marks unsaved changes with " *".
//
// Every command of the window puts the message pane back to the idle
// prompt before it runs, so that no text of an earlier command stays; a
// command with something to tell sets its own text after ("Saved to ...").
//
// A document whose file lies in the backups folder (DefaultBackupFolder:
// File > Open Backup...) is a backup: Save asks for a name as for a new
// document, so that the backup stays as the transfer left it. The file
// dialogs start in DocumentFolder(), where the user last opened or saved a
// document of their own, never in the backups folder.
class MainFrame : public QMainWindow {
  Q_OBJECT

 public:
  // The file dialogs, replaceable for tests and automation. `suggested` is
  // a path in the folder of the user's own document, or a bare name ("Untitled.sin",
  // a backup's name) or nothing when there is no such document; the
  // dialog then starts in DocumentFolder(). Returns the chosen path; empty
  // when the user cancelled.
  enum class FileDialogKind { Open, SaveAs, ImportChannels, ExportChannels };
  using FileChooser = std::function<QString(FileDialogKind kind, const QString& suggested)>;

  // `settings` holds the recent-file list and the language choice and must
  // outlive the frame. The frame starts with a new document.
  explicit MainFrame(QSettings& settings, QWidget* parent = nullptr);
  ~MainFrame() override;

  // The action of a command id; null for an id the frame does not have.
  QAction* Action(int command_id) const;

  QMenu* FileMenu() const { return file_menu_; }
  // Between File and Program; its commands are added by their parts.
  QMenu* EditMenu() const { return edit_menu_; }
  QMenu* ProgramMenu() const { return program_menu_; }
  // COM1..COM4; append a separator and further port entries as needed.
  QMenu* PortMenu() const { return port_menu_; }
  QMenu* ViewMenu() const { return view_menu_; }
  QMenu* HelpMenu() const { return help_menu_; }
  QToolBar* ToolBar() const { return tool_bar_; }

  ChannelView& View() { return *view_; }
  ChannelDocument& Document() { return document_; }
  RecentFiles& Recent() { return *recent_; }
  // Where the program's choices are remembered (given to the constructor).
  QSettings& Settings() { return settings_; }
  EditCommands& Edits() { return *edit_commands_; }

  // The status bar's message pane (pane 0). Command prompts shown while the
  // mouse is over a menu item or button cover it for that time.
  void SetMessageText(const QString& text);
  QString MessageText() const;
  static QString IdleMessageText();  // "For Help，Please Press F1"
  // Puts the idle prompt back into the message pane.
  void ClearMessageText();
  // The document pane: the document's title, " *" while it has unsaved
  // changes; the full path as its tooltip.
  QString DocumentPaneText() const;
  // Indicator panes "CAP", "NUM", "SCRL": the text when the key is on,
  // blank when it is off or its state cannot be told.
  QString LockPaneText(int pane) const;

  // Where the user last opened or saved a document of their own; at start
  // the folder of the newest recent file that is not a backup, else the
  // home folder.
  QString DocumentFolder() const { return document_folder_; }
  // True when the document's file lies in the backups folder.
  bool DocumentIsBackup() const;
  // The document's path when it is a file of the user's own; empty for a
  // new document or a backup.
  QString OwnDocumentPath() const;

  void SetFileChooser(FileChooser chooser);
  // Asks for a file with the chooser, or the file dialog of `kind`.
  QString ChooseFile(FileDialogKind kind, const QString& suggested);

  // The file commands, also reachable from code. Each returns true when it
  // did what it was asked (false when cancelled or failed; failures are
  // reported to the user).
  bool NewDocument();
  bool OpenDocument();  // asks for a file
  bool OpenDocumentFile(const QString& path);
  bool OpenRecentFile(int index);  // 0 = the newest entry
  bool SaveDocument();
  bool SaveDocumentAs();
  // Commits an open editor; if the document is modified asks whether to save
  // it. True when the caller may go on and replace or drop the document.
  bool SaveModified();
  // Loads `path` without asking about the current document: for the start
  // of the program. On failure returns the reason and changes nothing.
  Status LoadFile(const QString& path);

  // The help window (created on first use) and the two ways to open it.
  HelpWindow& Help();
  void ShowHelpTopics();
  void ShowHelpContents();
  void ShowAbout();

  // Rereads the lock keys into their panes.
  void UpdateLockIndicators();

  // Sets the window's texts again in the language now installed
  // (ui/app/translation.h): menus, commands, toolbar and status bar. Runs on
  // every LanguageChange; the commands of the other parts of the program
  // follow when they took their texts with SetActionTexts.
  void Retranslate();

 signals:
  // After Retranslate(), for the parts whose texts change with their state
  // (Undo and Redo name their step).
  void LanguageChanged();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The tables of main_frame.cpp: each command with its texts, icon, keys
  // and handler; each menu with its title and entries.
  struct CommandRow;
  struct MenuRow;
  static const CommandRow kCommandRows[];
  static const MenuRow kMenuRows[];

  QAction* AddAction(const CommandRow& row);
  void BuildActions();
  void BindKeys(QAction& action, const CommandRow& row);
  void BuildMenus();
  void AddEntries(QWidget& menu_or_bar, std::span<const int> entries);
  void BuildToolBar();
  void BuildStatusBar();
  void ConnectCommands();
  void UpdateRecentMenu();
  void UpdateDocumentPane();
  bool SaveTo(const QString& path);
  void ReportOpenFailure(const Error& error);
  QString DocumentPath() const;
  QString DocumentTitle() const;

  QSettings& settings_;
  ChannelDocument document_;
  ChannelView* view_ = nullptr;
  std::unique_ptr<RecentFiles> recent_;
  EditCommands* edit_commands_ = nullptr;
  FileChooser file_chooser_;
  QString document_folder_;

  QHash<int, QAction*> actions_;
  std::array<QAction*, 4> recent_actions_{};
  QMenu* file_menu_ = nullptr;
  QMenu* edit_menu_ = nullptr;
  QMenu* program_menu_ = nullptr;
  QMenu* port_menu_ = nullptr;
  QMenu* view_menu_ = nullptr;
  QMenu* help_menu_ = nullptr;
  QToolBar* tool_bar_ = nullptr;

  QLabel* message_pane_ = nullptr;
  QLabel* document_pane_ = nullptr;
  std::array<QLabel*, 3> lock_panes_{};

  QPointer<HelpWindow> help_window_;
  // The language the texts were last set in, and the idle prompt then.
  bool chinese_shown_ = false;
  QString idle_text_;
};

}  // namespace zlm5
