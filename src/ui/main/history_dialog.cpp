#include "ui/main/history_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace qp40 {
namespace {

constexpr int kPaneWidth = 640;
constexpr int kListHeight = 160;
constexpr int kChangesHeight = 220;
constexpr int kProfiles = 4;

}  // namespace

HistoryDialog::HistoryDialog(std::vector<HistoryEntry> entries, bool macros_known, QWidget* parent)
    : QDialog(parent), entries_(std::move(entries)), macros_known_(macros_known) {
  setWindowTitle(QStringLiteral("History"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Snapshots of the keypad, oldest first:"), this));
  list_ = new QListWidget(this);
  // Times and summaries line up in a fixed-width font, as the differences do.
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  list_->setFont(fixed);
  list_->setMinimumSize(kPaneWidth, kListHeight);
  for (const HistoryEntry& entry : entries_) list_->addItem(entry.line);
  layout->addWidget(list_);

  layout->addWidget(
      new QLabel(QStringLiteral("What restoring it would change in the window:"), this));
  changes_ = new QPlainTextEdit(this);
  changes_->setReadOnly(true);
  changes_->setLineWrapMode(QPlainTextEdit::NoWrap);
  changes_->setFont(fixed);
  changes_->setMinimumSize(kPaneWidth, kChangesHeight);
  layout->addWidget(changes_);

  auto* row = new QHBoxLayout;
  restore_whole_ = new QPushButton(QStringLiteral("Restore"), this);
  profile_ = new QComboBox(this);
  for (int profile = 1; profile <= kProfiles; ++profile) {
    profile_->addItem(QStringLiteral("Profile %1").arg(profile));
  }
  restore_profile_ = new QPushButton(QStringLiteral("Restore profile 1"), this);
  restore_macros_ = new QPushButton(QStringLiteral("Restore macros"), this);
  // Enter never restores by accident: only a click does.
  for (QPushButton* button : {restore_whole_, restore_profile_, restore_macros_}) {
    button->setAutoDefault(false);
  }
  row->addWidget(restore_whole_);
  row->addWidget(profile_);
  row->addWidget(restore_profile_);
  row->addWidget(restore_macros_);
  row->addStretch();
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  row->addWidget(close);
  layout->addLayout(row);

  connect(list_, &QListWidget::currentRowChanged, this, [this] { ShowChosen(); });
  connect(profile_, &QComboBox::currentIndexChanged, this, [this](int index) {
    restore_profile_->setText(QStringLiteral("Restore profile %1").arg(index + 1));
  });
  connect(restore_whole_, &QPushButton::clicked, this, [this] { Finish(HistoryRestore::kWhole); });
  connect(restore_profile_, &QPushButton::clicked, this,
          [this] { Finish(HistoryRestore::kProfile); });
  connect(restore_macros_, &QPushButton::clicked, this,
          [this] { Finish(HistoryRestore::kMacros); });
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

  // The newest snapshot is chosen first: it is the one most often wanted back.
  list_->setCurrentRow(static_cast<int>(entries_.size()) - 1);
  ShowChosen();
}

QString HistoryDialog::ChangesText() const { return changes_->toPlainText(); }

int HistoryDialog::Chosen() const {
  const int row = list_->currentRow();
  return row >= 0 && row < static_cast<int>(entries_.size()) ? row : -1;
}

std::uint8_t HistoryDialog::Profile() const {
  const int index = profile_->currentIndex();
  return static_cast<std::uint8_t>(index >= 0 && index < kProfiles ? index : 0);
}

void HistoryDialog::ShowChosen() {
  const int chosen = Chosen();
  const bool readable = chosen >= 0 && entries_[static_cast<std::size_t>(chosen)].readable;
  restore_whole_->setEnabled(readable);
  restore_profile_->setEnabled(readable);
  profile_->setEnabled(readable);
  // Without the keypad's macros there is nothing to put the snapshot's macros over.
  restore_macros_->setEnabled(readable && macros_known_);
  if (chosen < 0) {
    changes_->clear();
    return;
  }
  const HistoryEntry& entry = entries_[static_cast<std::size_t>(chosen)];
  if (!entry.readable) {
    changes_->setPlainText(QStringLiteral("This snapshot cannot be read: it cannot be restored."));
  } else if (entry.changes.isEmpty()) {
    changes_->setPlainText(QStringLiteral("No difference: the window shows this snapshot."));
  } else {
    changes_->setPlainText(entry.changes.join(QLatin1Char('\n')));
  }
}

void HistoryDialog::Finish(HistoryRestore restore) {
  if (Chosen() < 0 || !entries_[static_cast<std::size_t>(Chosen())].readable) return;
  restore_ = restore;
  accept();
}

}  // namespace qp40
