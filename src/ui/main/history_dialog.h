#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class QComboBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace qp40 {

// One snapshot as "History…" lists it.
struct HistoryEntry {
  // Its number, time, event and what changed against the snapshot before it.
  QString line;
  // False when the snapshot cannot be read: it is listed, never restored.
  bool readable = false;
  // What differs between the window and the snapshot, in the words of the layout diff.
  QStringList changes;
};

// What the user chose to put back.
enum class HistoryRestore { kNothing, kWhole, kProfile, kMacros };

// The keypad's snapshots, oldest first, with the differences of the chosen one against what the
// window shows, and the restore buttons; it closes on a restore, and the window does the work.
class HistoryDialog : public QDialog {
  Q_OBJECT

 public:
  HistoryDialog(std::vector<HistoryEntry> entries, bool macros_known, QWidget* parent = nullptr);

  QListWidget* List() const { return list_; }
  // The profile "Restore profile N" puts back (0..3).
  QComboBox* ProfileChoice() const { return profile_; }
  // The differences shown for the chosen snapshot.
  QString ChangesText() const;
  // The index of the chosen snapshot in the entries, or -1.
  int Chosen() const;
  HistoryRestore Restore() const { return restore_; }
  std::uint8_t Profile() const;

 private:
  void ShowChosen();
  void Finish(HistoryRestore restore);

  std::vector<HistoryEntry> entries_;
  bool macros_known_;
  QListWidget* list_ = nullptr;
  QPlainTextEdit* changes_ = nullptr;
  QComboBox* profile_ = nullptr;
  QPushButton* restore_whole_ = nullptr;
  QPushButton* restore_profile_ = nullptr;
  QPushButton* restore_macros_ = nullptr;
  HistoryRestore restore_ = HistoryRestore::kNothing;
};

}  // namespace qp40
