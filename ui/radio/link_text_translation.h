// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>

#include "ui/app/phrase_translation.h"

namespace zlm5 {

// A message or status text of the radio link (link/link_texts.h and the
// hints of link/serial_port.cpp) in the window's language. The core words
// them in English for the command line and the window alike; here each
// paragraph of `text` ("\n\n" between them: the message, the system's
// reason, a hint) that is one of those texts is translated, and the others
// (the reason, numbers, a path) are kept as they are.
QString LinkTextShown(const std::string& text);

// The link's texts as a table of phrases, for CoreTextShown (a fleet
// result carries them) and for the check that each is translated.
PhraseTable LinkTextTable();

}  // namespace zlm5
