// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report_data.h"

#include "model/channel_codec.h"
#include "model/form_lists.h"
#include "model/memory_grid.h"

namespace zlm5 {
namespace {

QString SelectedEntry(const ChannelGrid& grid, FormBox box) {
  const auto entries = form_lists::Entries(box);
  const int index = grid.BoxSelection(box);
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
  const std::string_view text = entries[static_cast<std::size_t>(index)];
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ReportData ReportDataFromGrid(const ChannelGrid& grid, const RadioImage& image,
                              ReportTextSet text_set) {
  ReportData data;
  for (int r = 0; r < ReportData::kRows; ++r) {
    for (int c = 0; c < ReportData::kColumns; ++c) {
      data.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
          QString::fromStdString(grid.TextMatrix(r, c));
    }
  }
  data.type_entry = SelectedEntry(grid, FormBox::Type);
  data.field_entry = SelectedEntry(grid, FormBox::Field);
  data.power_rank_entry = SelectedEntry(grid, FormBox::PowerRank);
  data.image = image;
  data.text_set = text_set;
  return data;
}

ReportData ReportDataFromImage(const RadioImage& image, ReportTextSet text_set) {
  MemoryGrid grid;
  ImageToGrid(image, grid);
  return ReportDataFromGrid(grid, image, text_set);
}

}  // namespace zlm5
