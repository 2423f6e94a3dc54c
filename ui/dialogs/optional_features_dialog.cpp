// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/optional_features_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <span>
#include <string_view>

namespace zlm5 {
namespace of = optional_features;

namespace {

constexpr const char* kFontFamily = "Times New Roman";
constexpr double kPointSize = 8.0;
constexpr int kListWidthInCharacters = 12;  // the lists are 47 dialog units wide
constexpr int kIdWidthInCharacters = 16;    // the ID boxes 63 units
constexpr int kButtonGapInCharacters = 12;  // between OK and Cancel

QString ControlName(int id) { return QStringLiteral("control%1").arg(id); }

QStringList Entries(std::span<const std::string_view> texts) {
  QStringList list;
  for (std::string_view text : texts) {
    list.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  return list;
}

// Letters typed into the box appear in upper case; `digits_only` refuses
// anything but digits.
class UpperCaseValidator : public QValidator {
 public:
  UpperCaseValidator(bool digits_only, QObject* parent)
      : QValidator(parent), digits_only_(digits_only) {}

  State validate(QString& input, int&) const override {
    if (digits_only_ &&
        std::any_of(input.cbegin(), input.cend(), [](QChar c) { return !c.isDigit(); })) {
      return Invalid;
    }
    input = input.toUpper();
    return Acceptable;
  }

 private:
  bool digits_only_;
};

// The keys that reach the Radio ID box: digits, letters and Backspace (and
// the keys that close the dialog, see eventFilter).
bool RadioIdKeyPasses(int key) {
  return (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z) ||
         key == Qt::Key_Backspace;
}

bool ClosesTheDialog(const QKeyEvent& key) {
  return key.key() == Qt::Key_Escape ||
         (key.key() == Qt::Key_F4 && key.modifiers().testFlag(Qt::AltModifier));
}

// The label of `buddy`, which also names it for assistive technology
// (without it Qt would take the group's title).
QLabel* RightAligned(const QString& text, QWidget* parent, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setBuddy(buddy);
  // Lists are otherwise named by their current entry.
  buddy->setAccessibleName(text.simplified());
  return label;
}

}  // namespace

// ---------------------------------------------------------------------------
// UpDownControl

UpDownControl::UpDownControl(QWidget* parent) : QWidget(parent) {
  up_ = new QToolButton(this);
  up_->setObjectName(QStringLiteral("upButton"));
  up_->setArrowType(Qt::UpArrow);
  down_ = new QToolButton(this);
  down_->setObjectName(QStringLiteral("downButton"));
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    button->setIconSize(QSize(fontMetrics().height() / 2, fontMetrics().height() / 3));
    button->setFixedWidth(fontMetrics().height());
  }
  connect(up_, &QToolButton::clicked, this, [this] { Step(+1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
}

void UpDownControl::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  position_ = std::clamp(position_, minimum_, maximum_);
}

void UpDownControl::SetPosition(int position) {
  position_ = std::clamp(position, minimum_, maximum_);
}

void UpDownControl::Step(int delta) {
  position_ = std::clamp(position_ + delta, minimum_, maximum_);
  emit Stepped(position_);
}

// ---------------------------------------------------------------------------
// ChoiceBox

// Not editable: a text field would let the user type a value that is no
// entry, which the radio's byte cannot hold. The box always shows the entry
// that OK stores.
ChoiceBox::ChoiceBox(QWidget* parent) : QComboBox(parent) { setEditable(false); }

void ChoiceBox::Choose(int index) { setCurrentIndex(index >= 0 && index < count() ? index : -1); }

// ---------------------------------------------------------------------------
// OptionalFeaturesDialog

OptionalFeaturesDialog::OptionalFeaturesDialog(RadioImage& image, QWidget* parent)
    : QDialog(parent), image_(image) {
  setObjectName(QStringLiteral("optionalFeaturesDialog"));
  // The model's title, through the translator.
  static_assert(of::kTitle == "Optional Features");
  setWindowTitle(tr("Optional Features"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont dialog_font(QString::fromLatin1(kFontFamily));
  dialog_font.setPointSizeF(kPointSize);
  setFont(dialog_font);

  BuildControls();
  BuildLayout();
  SetTabOrder();
  Load(LoadOptionalFeatures(image_));
  ok_->setFocus();
}

OptionalFeaturesDialog::~OptionalFeaturesDialog() = default;

template <typename T>
T* OptionalFeaturesDialog::Add(int id, T* widget) {
  widget->setObjectName(ControlName(id));
  controls_.insert(id, widget);
  return widget;
}

QWidget* OptionalFeaturesDialog::Control(int id) const { return controls_.value(id, nullptr); }

// Every control, in the order of the dialog's template.
void OptionalFeaturesDialog::BuildControls() {
  BuildButtons();
  BuildLists();
  BuildCheckBoxes();
  BuildTimeOut();
  BuildIdBoxes();
  HideWhatTheRadioLacks();
}

void OptionalFeaturesDialog::BuildButtons() {
  ok_ = Add(kOkId, new QPushButton(tr("OK"), this));
  ok_->setDefault(true);
  cancel_ = Add(kCancelId, new QPushButton(tr("Cancel"), this));
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void OptionalFeaturesDialog::BuildLists() {
  auto list = [this](int id, std::span<const std::string_view> entries) {
    auto* box = Add(id, new ChoiceBox(this));
    box->addItems(Entries(entries));
    return box;
  };
  squelch_ = list(kSquelchId, of::kSquelchEntries);
  vox_gain_ = list(kVoxGainId, of::kVoxGainEntries);
  language_ = list(kLanguageId, of::kLanguageEntries);
  pf1_ = list(kPf1Id, of::kKeyFunctionEntries);
  pf2_ = list(kPf2Id, of::kKeyFunctionEntries);
  priority_ = list(kPriorityId, {});
  opt_signal_ = list(kOptSignalId, of::kOptSignalEntries);
  for (ChoiceBox* box : {squelch_, vox_gain_, language_, opt_signal_}) {
    box->setMinimumWidth(fontMetrics().averageCharWidth() * kListWidthInCharacters);
  }
}

void OptionalFeaturesDialog::BuildCheckBoxes() {
  beep_ = Add(kBeepId, new QCheckBox(tr("Beep"), this));
  scrambler_ = Add(kScramblerId, new QCheckBox(tr("Scrambler Activation"), this));
  battery_save_ = Add(kBatterySaveId, new QCheckBox(tr("Battery Save"), this));
  begin_of_tx_ = Add(kBeginOfTxId, new QCheckBox(tr("Begin of Tx"), this));
  end_of_tx_ = Add(kEndOfTxId, new QCheckBox(tr("End of Tx"), this));
}

void OptionalFeaturesDialog::BuildTimeOut() {
  tot_edit_ = Add(kTotEditId, new QLineEdit(this));
  // Only the spin position is stored, so the box must not show anything
  // else: read-only, it keeps the focus and its Up and Down keys.
  tot_edit_->setReadOnly(true);
  tot_edit_->installEventFilter(this);
  tot_spin_ = Add(kTotSpinId, new UpDownControl(this));
  connect(tot_spin_, &UpDownControl::Stepped, this,
          [this](int position) { tot_edit_->setText(QString::fromStdString(TotText(position))); });
}

void OptionalFeaturesDialog::BuildIdBoxes() {
  ani_ = Add(kAniId, new QLineEdit(this));
  ani_->setValidator(new UpperCaseValidator(/*digits_only=*/true, ani_));
  radio_id_ = Add(kRadioIdId, new QLineEdit(this));
  radio_id_->setValidator(new UpperCaseValidator(false, radio_id_));
  radio_id_->installEventFilter(this);
  call_id_ = Add(kCallIdId, new QLineEdit(this));
  call_id_->setValidator(new UpperCaseValidator(false, call_id_));
  check_id_ = Add(kCheckIdId, new QLineEdit(this));
  kill_id_ = Add(kKillIdId, new QLineEdit(this));
  listen_id_ = Add(kListenIdId, new QLineEdit(this));
  for (QLineEdit* edit : {radio_id_, call_id_}) {
    edit->setMinimumWidth(fontMetrics().averageCharWidth() * kIdWidthInCharacters);
  }
}

// Controls the radio does not offer: made, loaded and stored, never shown.
void OptionalFeaturesDialog::HideWhatTheRadioLacks() {
  for (QWidget* hidden : std::initializer_list<QWidget*>{ani_, pf1_, pf2_, begin_of_tx_, priority_,
                                                         check_id_, kill_id_, listen_id_}) {
    hidden->hide();
  }
  for (const char* text :
       {"ANI CODE", "PF1", "PF2", "Priority Channel", "Check ID", "Kill ID", "Listen ID"}) {
    auto* label = new QLabel(QString::fromLatin1(text), this);
    label->hide();
    hidden_labels_.append(label);
  }
}

int OptionalFeaturesDialog::Gap() const { return fontMetrics().height() / 2; }

void OptionalFeaturesDialog::BuildLayout() {
  const int gap = Gap();
  auto* groups = new QHBoxLayout;
  groups->setSpacing(gap * 2);
  groups->addWidget(FunctionSetGroup(), 1);
  groups->addWidget(PttIdGroup(), 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addSpacing(fontMetrics().averageCharWidth() * kButtonGapInCharacters);
  buttons->addWidget(cancel_);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(gap * 2);
  layout->addLayout(groups);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QGroupBox* OptionalFeaturesDialog::FunctionSetGroup() {
  const int gap = Gap();
  auto* functions = new QGroupBox(tr("Function Set"), this);
  auto* tot_box = new QHBoxLayout;
  tot_box->setSpacing(0);
  tot_box->addWidget(tot_edit_, 1);
  tot_box->addWidget(tot_spin_);
  auto* f = new QGridLayout(functions);
  f->setHorizontalSpacing(gap * 2);
  f->setVerticalSpacing(gap);
  f->addWidget(RightAligned(tr("Time out time(TOT)(s)"), functions, tot_edit_), 0, 0);
  f->addLayout(tot_box, 0, 1);
  f->addWidget(RightAligned(tr("Squelch Level"), functions, squelch_), 1, 0);
  f->addWidget(squelch_, 1, 1);
  f->addWidget(RightAligned(tr("Language Choose"), functions, language_), 2, 0);
  f->addWidget(language_, 2, 1);
  f->addWidget(RightAligned(tr("Vox Gain Level"), functions, vox_gain_), 3, 0);
  f->addWidget(vox_gain_, 3, 1);
  auto* checks = new QHBoxLayout;
  checks->addWidget(beep_);
  checks->addSpacing(gap * 2);
  checks->addWidget(battery_save_);
  checks->addStretch(1);
  f->addLayout(checks, 4, 0, 1, 2);
  f->addWidget(scrambler_, 5, 0, 1, 2);
  f->setRowStretch(6, 1);
  return functions;
}

QGroupBox* OptionalFeaturesDialog::PttIdGroup() {
  const int gap = Gap();
  auto* ptt_id = new QGroupBox(tr("PTT ID"), this);
  auto* p = new QGridLayout(ptt_id);
  p->setHorizontalSpacing(gap * 2);
  p->setVerticalSpacing(gap);
  p->addWidget(RightAligned(tr("  Opt Signal In\nFrequent Mode"), ptt_id, opt_signal_), 0, 0);
  p->addWidget(opt_signal_, 0, 1);
  p->addWidget(RightAligned(tr("Radio ID"), ptt_id, radio_id_), 1, 0);
  p->addWidget(radio_id_, 1, 1);
  p->addWidget(end_of_tx_, 2, 1);
  p->addWidget(RightAligned(tr("Call ID"), ptt_id, call_id_), 3, 0);
  p->addWidget(call_id_, 3, 1);
  p->setRowStretch(4, 1);
  return ptt_id;
}

void OptionalFeaturesDialog::SetTabOrder() {
  // The order of the controls in the dialog's template; hidden controls and
  // the up-down control are no tab stops.
  const QList<QWidget*> order = {ok_,        cancel_,   squelch_,   beep_,     scrambler_,
                                 vox_gain_,  language_, radio_id_,  tot_edit_, battery_save_,
                                 end_of_tx_, call_id_,  opt_signal_};
  for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void OptionalFeaturesDialog::Load(const OptionalFeaturesValues& v) {
  priority_->clear();
  for (int i = 0; i < of::kPriorityEntryCount; ++i) {
    priority_->addItem(QString::fromStdString(PriorityEntryText(i)));
  }
  tot_spin_->SetRange(0, of::kMaxTotPosition);
  tot_spin_->SetPosition(v.tot_position);
  tot_edit_->setText(QString::fromStdString(TotText(tot_spin_->Position())));

  squelch_->Choose(v.squelch);
  pf2_->Choose(v.pf2);
  pf1_->Choose(v.pf1);
  priority_->Choose(v.priority_channel);
  language_->Choose(v.language);
  vox_gain_->Choose(v.vox_gain);
  opt_signal_->Choose(v.opt_signal);

  beep_->setChecked(v.beep);
  scrambler_->setChecked(v.scrambler);
  battery_save_->setChecked(v.battery_save);
  begin_of_tx_->setChecked(v.begin_of_tx);
  end_of_tx_->setChecked(v.end_of_tx);

  // The limits apply to the boxes as the values are put into them.
  const auto put = [](QLineEdit* edit, const std::string& text, int limit) {
    edit->setMaxLength(limit);
    edit->setText(QString::fromStdString(text));
  };
  tot_edit_->setMaxLength(of::kTotTextMaxLength);
  put(ani_, v.ani, of::kAniMaxLength);
  put(radio_id_, v.radio_id, of::kIdMaxLength);
  put(call_id_, v.call_id, of::kIdMaxLength);
  put(check_id_, v.check_id, of::kIdMaxLength);
  put(kill_id_, v.kill_id, of::kIdMaxLength);
  put(listen_id_, v.listen_id, of::kIdMaxLength);
}

OptionalFeaturesValues OptionalFeaturesDialog::Values() const {
  OptionalFeaturesValues v;
  v.squelch = squelch_->ChosenEntry();
  v.vox_gain = vox_gain_->ChosenEntry();
  v.language = language_->ChosenEntry();
  v.pf1 = pf1_->ChosenEntry();
  v.pf2 = pf2_->ChosenEntry();
  v.priority_channel = priority_->ChosenEntry();
  v.opt_signal = opt_signal_->ChosenEntry();
  v.beep = beep_->isChecked();
  v.scrambler = scrambler_->isChecked();
  v.battery_save = battery_save_->isChecked();
  v.begin_of_tx = begin_of_tx_->isChecked();
  v.end_of_tx = end_of_tx_->isChecked();
  v.tot_position = tot_spin_->Position();
  v.tot_text = tot_edit_->text().toStdString();
  v.ani = ani_->text().toStdString();
  v.radio_id = radio_id_->text().toStdString();
  v.call_id = call_id_->text().toStdString();
  v.check_id = check_id_->text().toStdString();
  v.kill_id = kill_id_->text().toStdString();
  v.listen_id = listen_id_->text().toStdString();
  return v;
}

void OptionalFeaturesDialog::accept() {
  StoreOptionalFeatures(Values(), image_);
  QDialog::accept();
}

bool OptionalFeaturesDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // Esc and Alt+F4 still close the dialog from there: someone who reaches
    // the box with the keyboard alone must be able to leave it.
    if (watched == radio_id_) return !RadioIdKeyPasses(key->key()) && !ClosesTheDialog(*key);
    // The up-down control takes the arrow keys of its box.
    if (watched == tot_edit_ && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
      tot_spin_->Step(key->key() == Qt::Key_Up ? +1 : -1);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace zlm5
