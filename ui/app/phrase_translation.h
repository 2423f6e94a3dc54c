// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <span>
#include <string_view>

namespace zlm5 {

// Texts that the core builds in English, for the command line and the
// window alike, shown by the window in its own language.
//
// A table lists such texts as the translator finds them: each row a
// QT_TRANSLATE_NOOP(context, "...") of the exact English, with "%1" ...
// "%9" where the core puts a value (a number, a path, what the user typed,
// or another text of the tables). "%1" to "%9" stand in the English in
// ascending order; a translation may place them as its language needs.
struct PhraseTable {
  const char* context;
  std::span<const char* const> phrases;
};

// `text` in the window's language. The first row of `tables`, in their
// order, that matches the whole of `text` is translated, and each of its
// values is put into the translation after it has been shown the same way
// (so a reason within a reason is translated too); a value is the shortest
// text that lets the rest of the row match. A text that no row matches is
// kept as it is, and so is every value that is no text of the tables.
// Rows that wrap another text ("%1; the row is skipped") come before the
// rows they wrap. Without a translator the English comes back unchanged.
QString TranslatedPhrase(const QString& text, std::span<const PhraseTable> tables);

// `text` of paragraphs ("\n\n" between them), each shown through
// TranslatedPhrase on its own: a message with the system's reason or a
// hint after it.
QString TranslatedParagraphs(std::string_view text, std::span<const PhraseTable> tables);

// `translation` with each "%N" replaced by values[N-1] in one pass, so that
// a "%" inside a value stays as it is.
QString FillPhrase(const QString& translation, std::span<const QString> values);

}  // namespace zlm5
