// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace zlm5 {

// The About box: the program icon, the maker's name over "Communication
// Software Z-LM5", the version and the maker's notice (copyright and the
// licence, GPL version 3 or later), and an OK button.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);

  static QString MakerName();    // "VRAX Electronics"
  static QString ProductLine();  // "Communication Software Z-LM5"
  static QString Notice();       // "Version <the program's version>\nCopyright ..."
};

}  // namespace zlm5
