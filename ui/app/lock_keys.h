// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace zlm5 {

// The lock keys shown in the status bar.
enum class LockKey { Caps, Num, Scroll };

// Whether a lock key is on, as the kernel's keyboard LED devices report it
// (Linux: <leds_root>/<device>::capslock/brightness, and numlock,
// scrolllock). On when any keyboard's LED is lit. No value when no such
// device can be read (another system, a remote session): the state is then
// unknown and the indicator stays blank.
std::optional<bool> ReadLockKeyState(LockKey key,
                                     const QString& leds_root = QStringLiteral("/sys/class/leds"));

}  // namespace zlm5
