// SPDX-License-Identifier: GPL-3.0-or-later
// Program > Program Several Radios... against two z-lm5-radio-sim at once:
// the ports offered, the identities shown before the start, the window's
// commands while the radios are written, the results, and closing the
// window in the middle.

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <fstream>
#include <memory>

#include "files/backup_store.h"
#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "model/settings_block.h"
#include "tests/link/link_test_support.h"
#include "tests/link/sim_process.h"
#include "tests/ui/radio_test_support.h"
#include "ui/app/command_ids.h"
#include "ui/grid/channel_view.h"
#include "ui/radio/fleet_commands.h"
#include "ui/radio/fleet_dialog.h"

namespace zlm5 {
namespace id = command_id;

namespace {

// A run of two radios without wire time ends in seconds; this only keeps
// a broken run from hanging the test.
constexpr int kRunEndsWithinMs = 120000;
constexpr int kComRows = 4;

RadioImage FromFile(const std::vector<std::uint8_t>& bytes) {
  RadioImage image;
  if (bytes.size() == image_map::kSize)
    std::copy(bytes.begin(), bytes.end(), image.bytes().begin());
  return image;
}

}  // namespace

class FleetDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void init() {
    dir_ = std::make_unique<test::TempDir>();
    window_ = std::make_unique<test::RadioWindow>(QString::fromStdString(dir_->path()));
    messages_ = std::make_unique<test::MessageLog>();
    for (int n = 0; n < 2; ++n) {
      const std::string memory = dir_->Path("radio" + std::to_string(n) + ".sin");
      saves_.push_back(dir_->Path("saved" + std::to_string(n) + ".sin"));
      test::WriteBytes(memory, ChannelDocument::NewDocumentImage());
      sims_.push_back(std::make_unique<test::SimProcess>(std::vector<std::string>{
          "--memory", memory, "--save", saves_.back(), "--no-wire-time", "--turnaround", "1"}));
      QVERIFY2(sims_.back()->started(), sims_.back()->ErrorOutput().c_str());
    }
    fleet_ = new FleetCommands(*window_->frame, *window_->radio);
    fleet_->SetDeviceLister([this] {
      std::vector<SerialDevice> devices(2);
      devices[0].path = sims_[0]->terminal();
      devices[1].path = sims_[1]->terminal();
      return devices;
    });
  }

  void cleanup() {
    messages_.reset();
    window_.reset();
    sims_.clear();
    saves_.clear();
    dir_.reset();
  }

  void two_radios_get_the_document_each_with_its_identity_while_the_window_waits() {
    // A channel typed into the grid: the radios get the grid as Write To
    // Radio would send it, and the document stays as it is.
    ChannelView& view = window_->frame->View();
    CommitCellText(view.Grid(), 1, grid_layout::kColReceive, "146.525", CommitPath::LeaveCell);
    const RadioImage document = window_->frame->Document().image();
    const bool modified = window_->frame->Document().modified();
    RadioImage expected = document;
    GridToImage(view.Grid(), expected);

    QMenu* program = window_->frame->ProgramMenu();
    const QList<QAction*> entries = program->actions();
    const qsizetype write = entries.indexOf(window_->frame->Action(id::kWriteToRadio));
    QCOMPARE(entries.value(write + 1), fleet_->ProgramSeveralAction());
    QCOMPARE(fleet_->ProgramSeveralAction()->text(), QStringLiteral("Program &Several Radios..."));
    // A letter of its own in the Program menu (Read From Radio has R).
    QString letters;
    for (QAction* action : entries) {
      const qsizetype amp = action->text().indexOf(QLatin1Char('&'));
      if (action->isSeparator() || amp < 0) continue;
      const QChar letter = action->text().at(amp + 1).toLower();
      QVERIFY2(!letters.contains(letter), qPrintable(action->text()));
      letters.append(letter);
    }
    fleet_->ProgramSeveralAction()->trigger();
    FleetDialog* dialog = fleet_->Dialog();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Program Several Radios"));
    QCOMPARE(dialog->RowCount(), kComRows + 2);
    QCOMPARE(dialog->RowPort(0), QStringLiteral("COM1"));
    QCOMPARE(dialog->RowPort(kComRows), QString::fromStdString(sims_[0]->terminal()));

    const std::string ids = dir_->Path("ids.csv");
    std::ofstream(ids) << "Order,Name,RadioId,Ani\n1,Unit A,1001,5678\n2,Unit B,1002,\n"
                          "3,Unit C,1003,\n";
    dialog->SetFileChooser([&ids] { return QString::fromStdString(ids); });
    QTest::mouseClick(dialog->LoadButton(), Qt::LeftButton);
    dialog->SetChecked(kComRows, true);
    dialog->SetChecked(kComRows + 1, true);
    QCOMPARE(dialog->RowIdentity(kComRows),
             QStringLiteral("Radio ID 1001, ANI 1678 (ANI 5678 stored as 1678)"));
    QCOMPARE(dialog->RowIdentity(kComRows + 1), QStringLiteral("Radio ID 1002"));
    QCOMPARE(dialog->RowIdentity(0), QString());
    QCOMPARE(dialog->Findings(),
             QStringList{QStringLiteral("line 4: Order 3, but 2 ports are given")});

    QSignalSpy finished(dialog, &FleetDialog::RunFinished);
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    // The window's radio and document commands wait, as for one transfer.
    QVERIFY(window_->radio->Busy());
    for (int command :
         {id::kReadFromRadio, id::kWriteToRadio, id::kOpen, id::kNew, id::kOptionalFeatures}) {
      QVERIFY2(!window_->frame->Action(command)->isEnabled(), qPrintable(QString::number(command)));
    }
    QVERIFY(!dialog->StartButton()->isEnabled());
    QVERIFY(dialog->CancelButton()->isEnabled());
    QVERIFY(finished.wait(kRunEndsWithinMs));

    QVERIFY(!window_->radio->Busy());
    QVERIFY(window_->frame->Action(id::kWriteToRadio)->isEnabled());
    QVERIFY(window_->frame->Action(id::kOpen)->isEnabled());
    QVERIFY(dialog->StartButton()->isEnabled());
    QVERIFY(messages_->texts.isEmpty());
    for (int n = 0; n < 2; ++n) {
      QCOMPARE(dialog->RowResult(kComRows + n), QStringLiteral("written"));
      QCOMPARE(dialog->RowProgress(kComRows + n), 394);
    }
    QCOMPARE(dialog->RowResult(0), QString());
    QVERIFY(window_->frame->Document().image() == document);
    QCOMPARE(window_->frame->Document().modified(), modified);

    for (int n = 0; n < 2; ++n) sims_[n]->Stop();
    const RadioImage first = FromFile(test::ReadBytes(saves_[0]));
    const RadioImage second = FromFile(test::ReadBytes(saves_[1]));
    QCOMPARE(SettingsBlock(first).RadioIdText(), std::string("1001"));
    QCOMPARE(SettingsBlock(first).AniText(), std::string("1678"));
    QCOMPARE(SettingsBlock(second).RadioIdText(), std::string("1002"));
    QCOMPARE(SettingsBlock(second).AniText(), SettingsBlock(expected).AniText());
    QVERIFY(std::equal(expected.bytes().begin(), expected.bytes().begin() + settings_map::kAni,
                       second.bytes().begin()));
    MemoryGrid shown;
    ImageToGrid(first, shown);
    QCOMPARE(QString::fromStdString(shown.TextMatrix(1, grid_layout::kColReceive)),
             QStringLiteral("146.52500"));
    // Each radio's write kept as a backup, as a single write is.
    const auto kept = BackupStore(dir_->Path("z-lm5/backups")).List();
    QVERIFY(kept.ok());
    QCOMPARE(kept->size(), std::size_t{2});
  }

  void closing_the_window_stops_every_radio_and_closes_once_they_have() {
    fleet_->ProgramSeveralAction()->trigger();
    FleetDialog* dialog = fleet_->Dialog();
    QVERIFY(dialog != nullptr);
    dialog->SetChecked(kComRows, true);
    dialog->SetChecked(kComRows + 1, true);
    QSignalSpy finished(dialog, &FleetDialog::RunFinished);
    QVERIFY(dialog->Start());

    QVERIFY(!window_->frame->close());
    QVERIFY(window_->frame->isVisible());
    QVERIFY(finished.wait(kRunEndsWithinMs));
    for (int n = 0; n < 2; ++n) {
      const QString result = dialog->RowResult(kComRows + n);
      QVERIFY2(result == QStringLiteral("cancelled") ||
                   (result.startsWith(QStringLiteral("partly written (")) &&
                    result.endsWith(QStringLiteral(" blocks): cancelled"))),
               qPrintable(result));
    }
    QTRY_VERIFY(!window_->frame->isVisible());
    QVERIFY(messages_->texts.isEmpty());
  }

 private:
  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<test::RadioWindow> window_;
  std::unique_ptr<test::MessageLog> messages_;
  std::vector<std::unique_ptr<test::SimProcess>> sims_;
  std::vector<std::string> saves_;
  FleetCommands* fleet_ = nullptr;  // the frame's child
};

}  // namespace zlm5

QTEST_MAIN(zlm5::FleetDialogTest)
#include "test_fleet_dialog.moc"
