// SPDX-License-Identifier: GPL-3.0-or-later
// Any text is read as the ports.conf settings file.
//
// Promises: a text that is refused gets a message; a table that is read
// is written back by FormatPortTable into a text that reads as the same
// table.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "link/port_names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto table = zlm5::ParsePortTable(text);
  if (!table) {
    ZLM5_FUZZ_CHECK(!table.error().Message().empty());
    return 0;
  }
  const auto again = zlm5::ParsePortTable(zlm5::FormatPortTable(*table));
  ZLM5_FUZZ_CHECK(again.ok());
  ZLM5_FUZZ_CHECK(*again == *table);
  return 0;
}
