// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>

class QLineEdit;

namespace zlm5 {

// Input rule of the channel name editor: letters are turned to upper case,
// only "0"-"9", "A"-"Z", "-" and space are taken (the characters a radio
// name can hold), and typing stops at `max_typed` characters. A longer text
// put into the editor from code (an 8-character name read from a radio) is
// kept as it is and may be shortened, but not lengthened, by the user.
class NameValidator : public QValidator {
  Q_OBJECT

 public:
  NameValidator(QLineEdit* editor, int max_typed);

  State validate(QString& input, int& pos) const override;

  static bool IsNameCharacter(QChar c);

 private:
  int max_typed_;
  // Length of the editor's text before the change being validated.
  qsizetype accepted_length_ = 0;
};

}  // namespace zlm5
