// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/name_validator.h"

#include <QLineEdit>

namespace zlm5 {

NameValidator::NameValidator(QLineEdit* editor, int max_typed)
    : QValidator(editor), max_typed_(max_typed), accepted_length_(editor->text().size()) {
  // The line edit changes its text before it asks us, so remember the
  // length of the last text it showed.
  connect(editor, &QLineEdit::textChanged, this,
          [this](const QString& text) { accepted_length_ = text.size(); });
}

bool NameValidator::IsNameCharacter(QChar c) {
  return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
         (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('-') ||
         c == QLatin1Char(' ');
}

QValidator::State NameValidator::validate(QString& input, int& /*pos*/) const {
  input = input.toUpper();
  for (QChar c : input) {
    if (!IsNameCharacter(c)) return Invalid;
  }
  if (input.size() > max_typed_ && input.size() > accepted_length_) return Invalid;
  return Acceptable;
}

}  // namespace zlm5
