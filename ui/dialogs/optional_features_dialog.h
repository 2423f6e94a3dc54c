// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QHash>
#include <QWidget>

#include "model/optional_features.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace zlm5 {

// The up-down control of the time-out timer: two arrow buttons beside the
// time-out box, position 0 to 40 without wrapping. Every step (a click,
// a repeat while a button is held, or Up/Down in the box) reports the new
// position with Stepped, also when the position stood at an end already.
class UpDownControl : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownControl(QWidget* parent = nullptr);

  void SetRange(int minimum, int maximum);
  int Position() const { return position_; }
  void SetPosition(int position);
  // One step up (+1) or down (-1), kept within the range.
  void Step(int delta);

  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 signals:
  void Stepped(int position);

 private:
  QToolButton* up_ = nullptr;
  QToolButton* down_ = nullptr;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
};

// A drop-down list whose value is the index of the chosen entry. It can
// only be chosen from: typing picks the entry that begins with what was
// typed, as in any drop-down list, and text that begins no entry changes
// nothing. No entry is chosen (-1) only when the loaded index is one the
// list does not have.
class ChoiceBox : public QComboBox {
  Q_OBJECT

 public:
  explicit ChoiceBox(QWidget* parent = nullptr);
  void Choose(int index);
  int ChosenEntry() const { return currentIndex(); }
};

// The Optional Features dialog over the settings block of one image: it
// reads the image when it is made and writes it only when OK is pressed
// (accept()); Cancel, Esc and the close box leave every byte as it was.
//
// Every control of the dialog exists with its id as object name
// ("control<id>"), shown or hidden as the radio's options call for; the
// hidden ones (ANI code, PF1, PF2, Begin of Tx, priority channel, Check,
// Kill and Listen ID) are loaded and stored like the others. The focus
// starts on OK, so Enter right away acts as OK. While the Radio ID box has
// the focus, only digits, letters and Backspace reach it (Tab, Enter, Esc,
// the arrows and Delete do nothing there). The time-out box shows the
// up-down control's position as seconds ("OFF", 15 ... 600) and takes no
// typing: the arrow buttons and the Up and Down keys change it, so that it
// always shows the position that OK stores.
class OptionalFeaturesDialog : public QDialog {
  Q_OBJECT

 public:
  // Control ids of the dialog.
  static constexpr int kOkId = 1;
  static constexpr int kCancelId = 2;
  static constexpr int kTotEditId = 1013;
  static constexpr int kSquelchId = 1016;
  static constexpr int kBeepId = 1074;
  static constexpr int kScramblerId = 1075;
  static constexpr int kVoxGainId = 1077;
  static constexpr int kLanguageId = 1079;
  static constexpr int kAniId = 1080;
  static constexpr int kRadioIdId = 1081;
  static constexpr int kBeginOfTxId = 1082;
  static constexpr int kEndOfTxId = 1083;
  static constexpr int kPf1Id = 1085;
  static constexpr int kPf2Id = 1086;
  static constexpr int kTotSpinId = 1089;
  static constexpr int kBatterySaveId = 1090;
  static constexpr int kCallIdId = 1098;
  static constexpr int kCheckIdId = 1099;
  static constexpr int kKillIdId = 1100;
  static constexpr int kListenIdId = 1101;
  static constexpr int kOptSignalId = 1102;
  static constexpr int kPriorityId = 3000;

  // `image` must outlive the dialog; it is changed only by accept().
  explicit OptionalFeaturesDialog(RadioImage& image, QWidget* parent = nullptr);
  ~OptionalFeaturesDialog() override;

  // The control of a template id; null for an id the dialog does not have.
  QWidget* Control(int id) const;
  // The values the controls hold now.
  OptionalFeaturesValues Values() const;

  // OK: stores the values into the image, then closes.
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildButtons();
  void BuildLists();
  void BuildCheckBoxes();
  void BuildTimeOut();
  void BuildIdBoxes();
  void HideWhatTheRadioLacks();
  void BuildLayout();
  QGroupBox* FunctionSetGroup();
  QGroupBox* PttIdGroup();
  // Pixels between the rows of a group; twice that between its columns,
  // between the groups and above the buttons.
  int Gap() const;
  void SetTabOrder();
  void Load(const OptionalFeaturesValues& values);
  template <typename T>
  T* Add(int id, T* widget);

  RadioImage& image_;
  QHash<int, QWidget*> controls_;

  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLineEdit* tot_edit_ = nullptr;
  UpDownControl* tot_spin_ = nullptr;
  ChoiceBox* squelch_ = nullptr;
  ChoiceBox* vox_gain_ = nullptr;
  ChoiceBox* language_ = nullptr;
  ChoiceBox* pf1_ = nullptr;
  ChoiceBox* pf2_ = nullptr;
  ChoiceBox* priority_ = nullptr;
  ChoiceBox* opt_signal_ = nullptr;
  QCheckBox* beep_ = nullptr;
  QCheckBox* scrambler_ = nullptr;
  QCheckBox* battery_save_ = nullptr;
  QCheckBox* begin_of_tx_ = nullptr;
  QCheckBox* end_of_tx_ = nullptr;
  QLineEdit* ani_ = nullptr;
  QLineEdit* radio_id_ = nullptr;
  QLineEdit* call_id_ = nullptr;
  QLineEdit* check_id_ = nullptr;
  QLineEdit* kill_id_ = nullptr;
  QLineEdit* listen_id_ = nullptr;
  QList<QWidget*> hidden_labels_;
};

}  // namespace zlm5
