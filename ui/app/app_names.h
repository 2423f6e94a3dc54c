// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zlm5 {

// Fixed names of the desktop program. Texts are used exactly as written.
namespace app_names {

// Caption of the main window; it never changes, whatever document is open.
inline const QString kWindowTitle = QStringLiteral("VRAX Electronics Programming Software Z-LM5");

// The application name: caption of every message box, and the name under
// which the settings (recent files, language choice) are stored.
inline const QString kApplicationName =
    QStringLiteral("VRAX Electronics Programming Software Z-LM5 Software");

// Where the settings live: QSettings(kOrganization, kApplicationName).
inline const QString kOrganization = QStringLiteral("Local AppWizard-Generated Applications");

// File dialogs: the channel data file type.
inline const QString kFileFilter = QStringLiteral("Channel Data (*.sin)");
inline const QString kFileSuffix = QStringLiteral("sin");

// Name of a document that was never saved or opened.
inline const QString kUntitled = QStringLiteral("Untitled");

// Desktop integration: the .desktop file's base name and the MIME type of
// channel data files (res/desktop/).
inline const QString kDesktopFileName = QStringLiteral("com.vrax.zlm5");
inline const QString kMimeType = QStringLiteral("application/x-zlm5-channel-data");

// Settings keys.
inline const QString kEnglishTextsKey = QStringLiteral("Settings/EnglishTexts");

}  // namespace app_names
}  // namespace zlm5
