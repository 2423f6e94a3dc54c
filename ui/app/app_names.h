// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

// Fixed names of the desktop program. Texts are used exactly as written;
// the names of the program and its maker are not translated.
namespace zlm5::app_names {

// Caption of the main window; it never changes, whatever document is open.
inline const QString kWindowTitle = QStringLiteral("VRAX Electronics Programming Software Z-LM5");

// The application name: caption of every message box, and the name under
// which the settings (recent files, language choice) are stored.
inline const QString kApplicationName =
    QStringLiteral("VRAX Electronics Programming Software Z-LM5 Software");

// Where the settings live: QSettings(kOrganization, kApplicationName).
inline const QString kOrganization = QStringLiteral("Local AppWizard-Generated Applications");

// File dialogs: the channel data file type, in the window's language.
inline QString FileFilter() {
  return QCoreApplication::translate("zlm5::app_names", "Channel Data (*.sin)");
}
inline const QString kFileSuffix = QStringLiteral("sin");

// Desktop integration: the .desktop file's base name and the MIME type of
// channel data files (res/desktop/).
inline const QString kDesktopFileName = QStringLiteral("com.vrax.zlm5");
inline const QString kMimeType = QStringLiteral("application/x-zlm5-channel-data");

// Settings keys.
inline const QString kEnglishTextsKey = QStringLiteral("Settings/EnglishTexts");

}  // namespace zlm5::app_names
