// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zlm5 {

// Which way the image goes: from the radio into the program, or to the
// radio. Shared by the transfer and by the backups named after it.
enum class TransferDirection { kRead, kWrite };

}  // namespace zlm5
