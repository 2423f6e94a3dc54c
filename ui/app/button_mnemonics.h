// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialogButtonBox;
class QMessageBox;

namespace zlm5 {

// Access keys for the standard buttons of the window's questions and
// reports, as the Linux desktops give them: Alt+A applies, Alt+S saves,
// Alt+D discards, Alt+C cancels or closes. A button whose text from the
// platform already has an access key keeps it; the others get the one
// above, in the window's language.
void GiveStandardMnemonics(QDialogButtonBox& buttons);
void GiveStandardMnemonics(QMessageBox& box);

}  // namespace zlm5
