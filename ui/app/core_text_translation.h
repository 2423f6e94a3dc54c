// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <span>
#include <string_view>

#include "model/error.h"
#include "ui/app/phrase_translation.h"

namespace zlm5 {

// The reports of the core (the import and paste reasons, the channel
// checks, the identity lists, the fleet's results, the transfer summary)
// in the window's language. The core words them in English, exactly as the
// command line prints them; the window translates them here, each
// paragraph ("\n\n" between them) on its own. Texts the tables do not know
// (a path, the system's reason) are kept as they are.
QString CoreTextShown(std::string_view text);

// An error's message as Error::Message() joins it, with the object and the
// reason each shown through CoreTextShown.
QString ErrorShown(const Error& error);

// The tables CoreTextShown looks texts up in, in order: the core's own
// phrases, then the radio link's (link_text_translation.h), which a fleet
// result carries.
std::span<const PhraseTable> CoreTextTables();

}  // namespace zlm5
