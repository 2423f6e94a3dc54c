// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zlm5 {

// Registers the program's resources (icons, the user manual) with Qt. They
// are compiled into the zlm5_ui static library, whose resource object the
// linker would otherwise leave out. Safe to call more than once.
void LoadResources();

}  // namespace zlm5
