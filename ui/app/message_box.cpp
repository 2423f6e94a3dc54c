// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/message_box.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <utility>

#include "ui/app/app_names.h"
#include "ui/app/button_mnemonics.h"

namespace zlm5 {
namespace {

MessageHandler& Handler() {
  static MessageHandler handler;
  return handler;
}

// Holds two characters on one line, invisibly.
constexpr QChar kWordJoiner(0x2060);
// From here on, East Asian text, which breaks between any two characters.
constexpr char16_t kFirstEastAsian = 0x2E80;

bool JoinsWords(QChar c) { return !c.isSpace() && c.unicode() < kFirstEastAsian; }

// The text as the box shows it: a line breaks only at a blank, as the radio
// software's message boxes do, never inside "(6.25K/5k/2.5k)" or a path.
// A word joiner goes between any two characters of a word.
QString TextBreakingAtBlanks(const QString& text) {
  QString shown;
  shown.reserve(text.size() * 2);
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (i > 0 && JoinsWords(text[i - 1]) && JoinsWords(text[i])) shown += kWordJoiner;
    shown += text[i];
  }
  return shown;
}

// The box shows the text with its joiners, but a screen reader reads, and
// Ctrl+C copies, the message's own text.
class ReadableMessageBox : public QMessageBox {
 public:
  ReadableMessageBox(Icon icon, const QString& text, StandardButtons buttons, QWidget* parent)
      : QMessageBox(icon, app_names::kApplicationName, TextBreakingAtBlanks(text), buttons, parent),
        text_(text) {
    if (auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
      label->setAccessibleName(text);
    }
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (!event->matches(QKeySequence::Copy)) {
      QMessageBox::keyPressEvent(event);
      return;
    }
    QGuiApplication::clipboard()->setText(CopiedText());
    event->accept();
  }

 private:
  // Caption, message and buttons between dashed lines, as message boxes
  // are copied on Windows.
  QString CopiedText() const {
    const QString separator = QStringLiteral("---------------------------\n");
    QStringList button_texts;
    for (QAbstractButton* button : buttons()) button_texts.append(button->text().remove(u'&'));
    return separator + windowTitle() + u'\n' + separator + text_ + u'\n' + separator +
           button_texts.join(QStringLiteral("   ")) + u'\n' + separator;
  }

  QString text_;  // without joiners
};

}  // namespace

QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton default_button) {
  MessageRequest request{parent, icon, text, buttons, default_button};
  if (Handler()) return Handler()(request);

  ReadableMessageBox box(icon, text, buttons, parent);
  if (default_button != QMessageBox::NoButton) box.setDefaultButton(default_button);
  GiveStandardMnemonics(box);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageHandler SetMessageHandler(MessageHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

}  // namespace zlm5
