// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/phrase_translation.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <unordered_map>
#include <vector>

namespace zlm5 {
namespace {

// A row of a table as a pattern: its literal parts escaped, each "%N" a
// shortest group.
struct CompiledPhrase {
  QRegularExpression pattern;  // invalid for a row without values
  std::vector<int> numbers;    // the N of each group, in order
};

bool IsMarker(const QString& text, qsizetype i) {
  return text[i] == QLatin1Char('%') && i + 1 < text.size() && text[i + 1] >= QLatin1Char('1') &&
         text[i + 1] <= QLatin1Char('9');
}

CompiledPhrase Compile(const QString& phrase) {
  CompiledPhrase compiled;
  QString pattern;
  qsizetype literal_start = 0;
  for (qsizetype i = 0; i < phrase.size(); ++i) {
    if (!IsMarker(phrase, i)) continue;
    pattern += QRegularExpression::escape(phrase.mid(literal_start, i - literal_start));
    pattern += QStringLiteral("(.*?)");
    compiled.numbers.push_back(phrase[i + 1].digitValue());
    literal_start = i + 2;
    ++i;
  }
  if (compiled.numbers.empty()) return compiled;
  pattern += QRegularExpression::escape(phrase.mid(literal_start));
  compiled.pattern = QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                                        QRegularExpression::DotMatchesEverythingOption);
  return compiled;
}

// The tables are static arrays of literals, so a row's address names it.
// Used on the window's thread only. The cache's entries stay where they
// are as it grows (a node map): TranslatedPhrase holds one while it
// translates a value, which may compile further rows.
const CompiledPhrase& Compiled(const char* phrase) {
  static std::unordered_map<const char*, CompiledPhrase> cache;
  auto it = cache.find(phrase);
  if (it == cache.end()) it = cache.emplace(phrase, Compile(QString::fromUtf8(phrase))).first;
  return it->second;
}

}  // namespace

QString FillPhrase(const QString& translation, std::span<const QString> values) {
  QString filled;
  filled.reserve(translation.size());
  for (qsizetype i = 0; i < translation.size(); ++i) {
    if (IsMarker(translation, i)) {
      const auto index = static_cast<std::size_t>(translation[i + 1].digitValue() - 1);
      if (index < values.size()) {
        filled += values[index];
        ++i;
        continue;
      }
    }
    filled += translation[i];
  }
  return filled;
}

QString TranslatedParagraphs(std::string_view text, std::span<const PhraseTable> tables) {
  QStringList paragraphs = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                               .split(QStringLiteral("\n\n"));
  for (QString& paragraph : paragraphs) paragraph = TranslatedPhrase(paragraph, tables);
  return paragraphs.join(QStringLiteral("\n\n"));
}

QString TranslatedPhrase(const QString& text, std::span<const PhraseTable> tables) {
  for (const PhraseTable& table : tables) {
    for (const char* phrase : table.phrases) {
      const CompiledPhrase& compiled = Compiled(phrase);
      if (compiled.numbers.empty()) {
        if (text == QString::fromUtf8(phrase)) {
          return QCoreApplication::translate(table.context, phrase);
        }
        continue;
      }
      const QRegularExpressionMatch match = compiled.pattern.match(text);
      if (!match.hasMatch()) continue;
      std::vector<QString> values(9);
      for (std::size_t g = 0; g < compiled.numbers.size(); ++g) {
        const QString value = match.captured(static_cast<int>(g) + 1);
        // A row of values only would match its own value again.
        values[static_cast<std::size_t>(compiled.numbers[g] - 1)] =
            value.size() < text.size() ? TranslatedPhrase(value, tables) : value;
      }
      return FillPhrase(QCoreApplication::translate(table.context, phrase), values);
    }
  }
  return text;
}

}  // namespace zlm5
