// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zlm5 {

// Numeric ids of the main window's commands. MainFrame::Action(id) returns
// the QAction of each; menus, toolbar and key bindings all use these.
namespace command_id {

// File
inline constexpr int kNew = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kRecentFile1 = 57616;  // recent files 1..4: 57616..57619
inline constexpr int kRecentFileCount = 4;
inline constexpr int kExit = 57665;

// Program
inline constexpr int kReadFromRadio = 32771;
inline constexpr int kWriteToRadio = 32772;
inline constexpr int kEditData = 32780;
inline constexpr int kOptionalFeatures = 32784;
inline constexpr int kHighPowerDebug = 32786;
inline constexpr int kLowPowerDebug = 32787;

// Port
inline constexpr int kCom1 = 32773;
inline constexpr int kCom2 = 32775;
inline constexpr int kCom3 = 32776;
inline constexpr int kCom4 = 32777;

// Toolbar only; nothing handles it, so it is always disabled.
inline constexpr int kDebugOnLine = 32778;

// View
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;
// Our own: use the English texts of messages and the printed report.
inline constexpr int kViewEnglishTexts = 32800;

// Edit (our own menu, between File and Program). The standard editing
// commands keep the framework's ids; the channel commands are our own.
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
inline constexpr int kCut = 57635;
inline constexpr int kCopy = 57634;
inline constexpr int kPaste = 57637;
inline constexpr int kClearChannels = 57632;
inline constexpr int kInsertChannel = 32812;
inline constexpr int kDeleteChannels = 32813;
inline constexpr int kMoveChannelUp = 32814;
inline constexpr int kMoveChannelDown = 32815;

// File: channel lists in the CSV exchange format (our own).
inline constexpr int kImportChannels = 32810;
inline constexpr int kExportChannels = 32811;

// Help
inline constexpr int kAbout = 57664;
inline constexpr int kHelpTopics = 57667;
inline constexpr int kContextHelp = 57669;  // Shift+F1 and the toolbar's help button
inline constexpr int kHelp = 57670;         // F1: does nothing

// Key bindings without a menu item.
inline constexpr int kNextPane = 57680;      // F6
inline constexpr int kPreviousPane = 57681;  // Shift+F6

}  // namespace command_id
}  // namespace zlm5
