// SPDX-License-Identifier: GPL-3.0-or-later
// High Power Debug and Low Power Debug: the dialogs' scroll rules on their
// own, and the commands against z-lm5-radio-sim on a pseudo-terminal.

#include <QAction>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "link/link_texts.h"
#include "tests/link/link_test_support.h"
#include "tests/link/sim_process.h"
#include "tests/ui/radio_test_support.h"
#include "ui/app/command_ids.h"
#include "ui/radio/power_tuning_dialogs.h"

namespace zlm5 {
namespace id = command_id;

namespace {

using namespace std::chrono_literals;

// Where a part of a scroll bar is, as its style draws it.
QRect PartOf(QScrollBar* bar, QStyle::SubControl part) {
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.subControls = QStyle::SC_All;
  option.orientation = bar->orientation();
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = bar->sliderPosition();
  option.sliderValue = bar->value();
  option.singleStep = bar->singleStep();
  option.pageStep = bar->pageStep();
  option.upsideDown = bar->invertedAppearance();
  return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

void ClickPart(QScrollBar* bar, QStyle::SubControl part) {
  QTest::mouseClick(bar, Qt::LeftButton, {}, PartOf(bar, part).center());
}

QList<int> Sent(const QSignalSpy& spy) {
  QList<int> values;
  for (const QList<QVariant>& call : spy) values.append(call.first().toInt());
  return values;
}

}  // namespace

class RadioTuningTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<test::TempDir>();
    save_file_ = dir_->Path("saved.sin");
    log_file_ = dir_->Path("log.txt");
    window_ = std::make_unique<test::RadioWindow>(QString::fromStdString(dir_->path()));
    messages_ = std::make_unique<test::MessageLog>();
    // The tuning's own time-outs, short pauses before the wake-ups (a pause
    // only delays the next send: no reply can miss it).
    TuningOptions quick;
    quick.wake_up_pause = 20ms;
    window_->radio->SetTuningOptions(quick);
  }
  void cleanup() {
    messages_.reset();
    window_.reset();
    sim_.reset();
    dir_.reset();
  }

  // --- the dialogs' scroll rules -----------------------------------------

  void the_dialogs_show_the_byte_read_within_their_ranges() {
    HighPowerDebugDialog high;
    QCOMPARE(high.windowTitle(), QStringLiteral("High Power Debug"));
    QCOMPARE(high.ScrollBar()->objectName(), QStringLiteral("control1113"));
    high.Open(77);
    QCOMPARE(high.ScrollBar()->minimum(), 1);
    QCOMPARE(high.ScrollBar()->maximum(), 250);
    QCOMPARE(high.BarPosition(), 77);
    QCOMPARE(high.ShownValueText(), QStringLiteral("77"));

    LowPowerDebugDialog low;
    QCOMPARE(low.windowTitle(), QStringLiteral("Lower Power Debug"));
    QCOMPARE(low.ScrollBar()->objectName(), QStringLiteral("control1114"));
    // A byte beyond the range: the bar at its end, the text the byte.
    low.Open(230);
    QCOMPARE(low.ScrollBar()->maximum(), 200);
    QCOMPARE(low.BarPosition(), 200);
    QCOMPARE(low.ShownValueText(), QStringLiteral("230"));
  }

  void an_arrow_click_sends_one_value_and_the_ends_send_themselves_again() {
    HighPowerDebugDialog high;
    high.Open(100);
    high.show();
    QSignalSpy sent(&high, &PowerDebugDialog::ScrollEnded);
    ClickPart(high.ScrollBar(), QStyle::SC_ScrollBarAddLine);
    QCOMPARE(Sent(sent), QList<int>{101});
    QCOMPARE(high.ShownValueText(), QStringLiteral("101"));
    ClickPart(high.ScrollBar(), QStyle::SC_ScrollBarSubLine);
    ClickPart(high.ScrollBar(), QStyle::SC_ScrollBarSubLine);
    QCOMPARE(Sent(sent), (QList<int>{101, 100, 99}));

    LowPowerDebugDialog low;
    low.Open(1);
    low.show();
    QSignalSpy low_sent(&low, &PowerDebugDialog::ScrollEnded);
    ClickPart(low.ScrollBar(), QStyle::SC_ScrollBarSubLine);
    QCOMPARE(Sent(low_sent), QList<int>{1});
    low.Open(200);
    ClickPart(low.ScrollBar(), QStyle::SC_ScrollBarAddLine);
    QCOMPARE(Sent(low_sent), (QList<int>{1, 200}));
    QCOMPARE(low.ShownValueText(), QStringLiteral("200"));

    // Beyond the range: one step from the byte, kept in the range.
    high.Open(255);
    sent.clear();
    ClickPart(high.ScrollBar(), QStyle::SC_ScrollBarAddLine);
    QCOMPARE(Sent(sent), QList<int>{250});
    QCOMPARE(high.ShownValueText(), QStringLiteral("250"));
  }

  void a_trough_click_sends_the_unchanged_value() {
    LowPowerDebugDialog low;
    low.Open(120);
    low.show();
    QSignalSpy sent(&low, &PowerDebugDialog::ScrollEnded);
    ClickPart(low.ScrollBar(), QStyle::SC_ScrollBarSubPage);
    ClickPart(low.ScrollBar(), QStyle::SC_ScrollBarAddPage);
    QCOMPARE(Sent(sent), (QList<int>{120, 120}));
    QCOMPARE(low.BarPosition(), 120);
    QCOMPARE(low.ShownValueText(), QStringLiteral("120"));
  }

  void a_drag_shows_the_thumb_and_sends_once_on_release() {
    HighPowerDebugDialog high;
    high.Open(125);
    high.show();
    QVERIFY(QTest::qWaitForWindowExposed(&high));
    QScrollBar* bar = high.ScrollBar();
    QSignalSpy sent(&high, &PowerDebugDialog::ScrollEnded);
    const QPoint start = PartOf(bar, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(bar, Qt::LeftButton, {}, start);
    QStringList shown;
    for (int dx : {10, 25, 40}) {
      QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(dx, 0)),
                       bar->mapToGlobal(QPointF(start + QPoint(dx, 0))), Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(bar, &move);
      shown.append(high.ShownValueText());
    }
    QVERIFY(sent.isEmpty());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, start + QPoint(40, 0));
    QCOMPARE(sent.size(), 1);
    const int released = sent.first().first().toInt();
    QVERIFY(released > 125);
    QCOMPARE(shown.last(), QString::number(released));
    QVERIFY(shown.first().toInt() > 125 && shown.first().toInt() < released);
    QCOMPARE(high.Position(), released);
  }

  void keys_step_and_send_when_let_go_while_the_wheel_and_enter_do_nothing() {
    LowPowerDebugDialog low;
    low.Open(50);
    low.show();
    QSignalSpy sent(&low, &PowerDebugDialog::ScrollEnded);
    QSignalSpy exits(&low, &PowerDebugDialog::ExitRequested);
    low.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&low));
    // The scroll bar has the focus from the start: the arrow keys tune.
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(low.ScrollBar()));
    QTest::keyClick(low.ScrollBar(), Qt::Key_Right);
    QCOMPARE(Sent(sent), QList<int>{51});
    QWheelEvent wheel(QPointF(5, 5), low.ScrollBar()->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(low.ScrollBar(), &wheel);
    QCOMPARE(low.BarPosition(), 51);
    QTest::keyClick(&low, Qt::Key_Return);
    QTest::keyClick(low.ExitButton(), Qt::Key_Enter);
    QVERIFY(low.isVisible());
    QCOMPARE(sent.size(), 1);
    QVERIFY(exits.isEmpty());
  }

  void exit_esc_and_the_close_box_ask_to_leave_and_only_end_closes() {
    HighPowerDebugDialog high;
    high.Open(10);
    high.show();
    QSignalSpy exits(&high, &PowerDebugDialog::ExitRequested);
    QTest::mouseClick(high.ExitButton(), Qt::LeftButton);
    QTest::keyClick(&high, Qt::Key_Escape);
    high.close();
    QCOMPARE(exits.size(), 3);
    QVERIFY(high.isVisible());
    high.End();
    QVERIFY(!high.isVisible());
    QCOMPARE(high.result(), int(QDialog::Rejected));
  }

  void a_probed_value_shows_on_the_bar_until_the_members_are_restored() {
    HighPowerDebugDialog high;
    high.Open(140);
    high.ShowProbedValue(0x15);
    QCOMPARE(high.BarPosition(), 0x15);
    QCOMPARE(high.ShownValueText(), QStringLiteral("140"));
    high.RefreshFromMembers();
    QCOMPARE(high.BarPosition(), 140);
  }

  // --- the commands against the simulator ------------------------------------

  void high_power_debug_sends_one_value_per_arrow_click_and_exit_leaves() {
    StartSim({"--high", "100", "--low", "90"});
    bool hooked = false;
    QString caption;
    QString opened_text;
    QString clicked_text;
    int opened_bar = 0;
    Radio().SetDialogHook([&](QDialog& shown) {
      auto* dialog = qobject_cast<PowerDebugDialog*>(&shown);
      QVERIFY(dialog != nullptr);
      hooked = true;
      caption = dialog->windowTitle();
      opened_bar = dialog->BarPosition();
      opened_text = dialog->ShownValueText();
      ClickPart(dialog->ScrollBar(), QStyle::SC_ScrollBarAddLine);
      clicked_text = dialog->ShownValueText();
      QTest::mouseClick(dialog->ExitButton(), Qt::LeftButton);
    });
    Action(id::kHighPowerDebug)->trigger();

    QVERIFY(hooked);
    QCOMPARE(caption, QStringLiteral("High Power Debug"));
    QCOMPARE(opened_bar, 100);
    QCOMPARE(opened_text, QStringLiteral("100"));
    QCOMPARE(clicked_text, QStringLiteral("101"));
    QVERIFY(messages_->texts.isEmpty());
    QVERIFY(!Radio().Busy());
    QCOMPARE(window_->opens, 1);
    QCOMPARE(Frame().Document().image().at(0xFF9), std::uint8_t{100});

    const auto frames = Frames();
    QCOMPARE(test::CountFrames(frames, "rx 4D 53"), 1);
    QCOMPARE(test::CountFrames(frames, "rx 4D 63"), 1);
    QCOMPARE(test::CountFrames(frames, "rx 57 0F F9 01 65"), 1);
    QCOMPARE(CountPrefix(frames, "rx 57 "), 1);
    QCOMPARE(test::CountFrames(frames, "rx 4D 55"), 1);
    QCOMPARE(test::ReadBytes(save_file_).at(0xFF9), std::uint8_t{101});
  }

  void a_wrong_wake_up_answer_shows_on_the_bar_until_retry() {
    StartSim(
        {"--high", "100", "--low", "90", "--wrong-byte", "change-wakeup=15", "--fault-count", "6"});
    int bar_during_question = 0;
    int bar_after = 0;
    Radio().SetDialogHook([&](QDialog& shown) {
      auto* dialog = qobject_cast<PowerDebugDialog*>(&shown);
      messages_->on_message = [&, dialog](const MessageRequest& request) {
        bar_during_question = dialog->BarPosition();
        QCOMPARE(request.parent, static_cast<QWidget*>(dialog));
      };
      messages_->answers = {QMessageBox::Retry};
      ClickPart(dialog->ScrollBar(), QStyle::SC_ScrollBarSubLine);
      bar_after = dialog->BarPosition();
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
    Action(id::kLowPowerDebug)->trigger();

    QCOMPARE(messages_->texts,
             QStringList{QString::fromUtf8(link_texts::kChangeWakeUpNotAcknowledged.data())});
    QCOMPARE(bar_during_question, 0x15);
    QCOMPARE(bar_after, 89);
    const auto frames = Frames();
    QCOMPARE(test::CountFrames(frames, "rx 57 0F F8 01 59"), 1);
    QCOMPARE(test::CountFrames(frames, "rx 4D 55"), 1);
  }

  void exit_after_a_cancelled_change_takes_the_radio_out_of_tuning() {
    StartSim({"--high", "100", "--wrong-byte", "change-wakeup=15"});
    Radio().SetDialogHook([&](QDialog& shown) {
      auto* dialog = qobject_cast<PowerDebugDialog*>(&shown);
      messages_->answers = {QMessageBox::Cancel};
      ClickPart(dialog->ScrollBar(), QStyle::SC_ScrollBarAddLine);
      QTest::mouseClick(dialog->ExitButton(), Qt::LeftButton);
    });
    Action(id::kHighPowerDebug)->trigger();

    QCOMPARE(messages_->texts,
             QStringList{QString::fromUtf8(link_texts::kChangeWakeUpNotAcknowledged.data())});
    QVERIFY(!Radio().Busy());
    QCOMPARE(window_->opens, 2);  // opened again for the leave exchange
    const auto frames = Frames();
    QCOMPARE(CountPrefix(frames, "rx 57 "), 0);
    QCOMPARE(test::CountFrames(frames, "rx 4D 55"), 1);
  }

  void a_port_that_cannot_be_opened_shows_no_dialog() {
    Radio().SetPortName(QStringLiteral("/nonexistent/zlm5-tuning"));
    bool hooked = false;
    Radio().SetDialogHook([&](QDialog&) { hooked = true; });
    Action(id::kLowPowerDebug)->trigger();
    QVERIFY(!hooked);
    QCOMPARE(messages_->texts, QStringList{QString::fromUtf8(link_texts::kCouldNotOpenPort.data()) +
                                           QStringLiteral("\n\n/nonexistent/zlm5-tuning: ") +
                                           QString::fromLocal8Bit(std::strerror(ENOENT))});
    QVERIFY(!Radio().Busy());
    QVERIFY(Action(id::kReadFromRadio)->isEnabled());
  }

 private:
  MainFrame& Frame() { return *window_->frame; }
  RadioOperations& Radio() { return *window_->radio; }
  QAction* Action(int command) { return Frame().Action(command); }

  void StartSim(std::vector<std::string> options) {
    options.insert(options.end(), {"--save", save_file_, "--log", log_file_, "--no-wire-time",
                                   "--turnaround", test::kTuningTurnaroundMs});
    sim_ = std::make_unique<test::SimProcess>(options);
    QVERIFY2(sim_->started(), sim_->ErrorOutput().c_str());
    Radio().SetPortName(QString::fromStdString(sim_->terminal()));
  }

  std::vector<std::string> Frames() {
    sim_->Stop();
    return test::LogFrames(log_file_);
  }

  static int CountPrefix(const std::vector<std::string>& frames, const std::string& prefix) {
    return static_cast<int>(std::count_if(frames.begin(), frames.end(),
                                          [&](const auto& f) { return f.rfind(prefix, 0) == 0; }));
  }

  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<test::RadioWindow> window_;
  std::unique_ptr<test::MessageLog> messages_;
  std::unique_ptr<test::SimProcess> sim_;
  std::string save_file_, log_file_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::RadioTuningTest)
#include "test_radio_tuning.moc"
