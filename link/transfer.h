// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/link_clock.h"
#include "link/link_host.h"
#include "link/serial_transport.h"
#include "model/radio_image.h"
#include "model/transfer_direction.h"

namespace zlm5 {

// How a transfer ended.
enum class TransferOutcome {
  kCompleted,        // all 394 blocks moved
  kFailed,           // a failure message was shown, or the user answered Cancel
                     // to "Communication Error..."
  kCancelled,        // the host's cancel flag, or Cancel to the type question
  kPortUnavailable,  // the port could not be opened (reported to the host)
};

namespace transfer_limits {
inline constexpr int kBlockCount = 394;  // blocks of 8 bytes, 0x000-0xC4F
inline constexpr int kBlockSize = 8;
inline constexpr int kWakeUpAttempts = 15;         // before asking Retry/Cancel
inline constexpr int kSendOrderErrors = 3;         // " Error in the Send Order" shown at most
inline constexpr std::size_t kReadReplySize = 12;  // 4 header bytes + 8 data bytes
inline constexpr std::size_t kIdentSize = 8;
inline constexpr std::size_t kIdentTypeIndex = 4;  // radio type code; 0xFF = none
inline constexpr std::size_t kImageTypeOffset = 0x81B;
}  // namespace transfer_limits

struct TransferOptions {
  // The transfer profile unless a test shortens it.
  TimeoutProfile profile = TimeoutProfile::Transfer();
  // Steady clock when null.
  LinkClock* clock = nullptr;
};

// Reads or writes image bytes 0x000-0xC4F over `transport`, talking to the
// user through `host`; returns when the transfer has ended in any way, with
// the port closed.
//
// Write: the caller encodes the grid into `image` first (GridToImage), as
// the desktop program does before opening the port, so the image holds the
// encoded grid even when the transfer then fails. The engine never changes
// the image in a write. A write that ends after the radio took some of its
// blocks says how many (link_texts::PartlyWritten): the radio's memory is
// then part new, part old. After the user's Cancel to "Communication
// Error..." and after " Program Interrupt..." an OK message says it; after
// the host's cancel flag, the host's ShowNote.
//
// Read: the blocks are collected in a scratch copy; `image` bytes
// 0x000-0xC4F are replaced only when all 394 blocks have arrived
// (kCompleted); on any other outcome `image` is untouched. A block reply
// must be exactly 12 bytes: fewer, or a byte still arriving after the
// twelfth, ends the read with a message. On kCompleted the caller decodes
// the image into the grid (ImageToGrid) and refreshes its controls; the
// document is not marked modified. Bytes 0xC50 and above are never sent,
// received or changed.
//
// Not re-entrant: the host's callbacks (Pump above all) must not start
// another transfer or tuning session; the desktop program keeps its Read,
// Write and tuning commands disabled while a transfer runs. Transfers on
// different threads, each with its own transport, host and image, share
// nothing that changes: a fleet run (link/fleet_run.h) runs one per radio.
// What the caller gives them must not be shared either: a ManualLinkClock
// keeps its time, and two TracingTransports on one stream mix their lines.
//
// Retry/Cancel questions loop only as long as the host answers Retry. After
// an I/O error (adapter pulled, simulator gone) Retry reopens the device
// before waking the radio again; if that fails the question is asked again,
// with the device and the operating system's reason below it.
TransferOutcome RunTransfer(TransferDirection direction, SerialTransport& transport,
                            const std::string& device, RadioImage& image, TransferHost& host,
                            const TransferOptions& options = {});

}  // namespace zlm5
