// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zlm5 {

// The language test. A few texts (the interrupted-transfer message and the
// printed report) exist in a Chinese and an English set; the English set is
// used only when LanguageTag() equals ProgramBaseName() + "_EN". The tag is
// empty unless the user chooses English texts (View menu, stored setting),
// so the Chinese texts are the default.

// The file name of the running program without folder and extension;
// "MAIN" when the name has no "." (as for "z-lm5" on Linux).
QString ProgramBaseName();

// The same rule for a given program path: trailing white space removed,
// everything up to the last "/" or "\" removed, then everything from the
// last "." on removed; "MAIN" when no "." is left to remove.
QString ProgramBaseNameOf(const QString& program_path);

// True when the English text set is to be used. Compares afresh on every
// call (exact, case-sensitive); nothing is cached.
bool UseEnglishTexts();

// The process-wide language tag; empty at start.
QString LanguageTag();
void SetLanguageTag(const QString& tag);

// Sets or clears the tag so that UseEnglishTexts() gives `english`.
void ChooseEnglishTexts(bool english);

}  // namespace zlm5
