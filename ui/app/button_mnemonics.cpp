// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/button_mnemonics.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>

#include <array>

namespace zlm5 {
namespace {

constexpr const char* kContext = "zlm5::ButtonMnemonics";

struct StandardText {
  QDialogButtonBox::StandardButton button;
  const char* text;
};

constexpr std::array kStandardTexts = {
    StandardText{QDialogButtonBox::Apply, QT_TRANSLATE_NOOP("zlm5::ButtonMnemonics", "&Apply")},
    StandardText{QDialogButtonBox::Cancel, QT_TRANSLATE_NOOP("zlm5::ButtonMnemonics", "&Cancel")},
    StandardText{QDialogButtonBox::Save, QT_TRANSLATE_NOOP("zlm5::ButtonMnemonics", "&Save")},
    StandardText{QDialogButtonBox::Discard, QT_TRANSLATE_NOOP("zlm5::ButtonMnemonics", "&Discard")},
    StandardText{QDialogButtonBox::Close, QT_TRANSLATE_NOOP("zlm5::ButtonMnemonics", "&Close")},
};

bool HasMnemonic(const QString& text) {
  // "&&" is a literal ampersand, not an access key.
  for (qsizetype i = text.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < text.size();
       i = text.indexOf(QLatin1Char('&'), i + 2)) {
    if (text[i + 1] != QLatin1Char('&')) return true;
  }
  return false;
}

template <typename Find>
void GiveMnemonics(Find find) {
  for (const StandardText& standard : kStandardTexts) {
    QAbstractButton* button = find(standard.button);
    if (button == nullptr || HasMnemonic(button->text())) continue;
    button->setText(QCoreApplication::translate(kContext, standard.text));
  }
}

}  // namespace

void GiveStandardMnemonics(QDialogButtonBox& buttons) {
  GiveMnemonics([&buttons](QDialogButtonBox::StandardButton which) -> QAbstractButton* {
    return buttons.button(which);
  });
}

void GiveStandardMnemonics(QMessageBox& box) {
  GiveMnemonics([&box](QDialogButtonBox::StandardButton which) -> QAbstractButton* {
    return box.button(static_cast<QMessageBox::StandardButton>(which));
  });
}

}  // namespace zlm5
