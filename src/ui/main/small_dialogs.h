#pragma once

#include <QDialog>
#include <array>
#include <cstddef>
#include <functional>

class QComboBox;

namespace qp40 {

// The About box, opened from the window menu.
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

// The profile selection dialog behind "Edit Profile": a list of the four user profiles that
// starts on the selected profile index (on no entry when that index is 4 or more).
class CQlCfgModeSelect : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kListId = 1135;
  static constexpr int kOkId = 1;
  static constexpr int kCancelId = 2;

  CQlCfgModeSelect(int selected_profile_index, QWidget* parent = nullptr);

  // Marks each profile whose keys or settings the keypad does not hold yet with " *".
  void MarkEditedProfiles(const std::array<bool, 4>& edited);

  // The list index chosen with OK (-1 when no entry was selected), or the selected profile index
  // handed in when the dialog was cancelled.
  int ChosenIndex() const { return chosen_index_; }

  void accept() override;
  void reject() override;

 private:
  QComboBox* list_;
  int selected_profile_index_;
  int chosen_index_;
};

// The factory-restore confirmation. "Sure" runs the restore it was given before the dialog
// closes; "Cancel", Esc and the close box send nothing.
class MStoreDevice : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kSureId = 1;
  static constexpr int kCancelId = 2;

  MStoreDevice(std::function<void()> restore_factory_settings, QWidget* parent = nullptr);

  // 1 after "Sure", 0 otherwise.
  int Confirmed() const { return confirmed_; }

  void accept() override;
  void reject() override;

 private:
  std::function<void()> restore_factory_settings_;
  int confirmed_ = 0;
};

}  // namespace qp40
