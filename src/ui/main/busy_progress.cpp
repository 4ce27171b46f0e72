#include <QApplication>
#include <memory>

#include "ui/common/busy_dialog.h"
#include "ui/macro_editor/macro_edit_dialog.h"
#include "ui/main/main_dialog.h"

namespace qp40 {
namespace {

QString BusyText(DeviceWork work) {
  switch (work) {
    case DeviceWork::kLoad:
      return QStringLiteral("Loading Data from device ......");
    case DeviceWork::kSave:
      return QStringLiteral("Save data to device ...");
    case DeviceWork::kCheck:
      return QStringLiteral("Checking data on device ...");
    case DeviceWork::kMacroLoad:
      return QStringLiteral("Loading Macro from device ......");
    case DeviceWork::kMacroStore:
      return QStringLiteral("Save Macro to device ...");
  }
  return {};
}

// The window is busy from the start of the work to its end; the busy dialog comes up with the
// first page, so work that is refused before it sends anything shows none.
class BusyProgress final : public Progress {
 public:
  BusyProgress(QWidget& over, bool& busy, DeviceWork work, int total_pages)
      : over_(over), busy_(busy), was_busy_(busy), work_(work), total_pages_(total_pages) {
    busy_ = true;
  }
  ~BusyProgress() override { busy_ = was_busy_; }
  BusyProgress(const BusyProgress&) = delete;
  BusyProgress& operator=(const BusyProgress&) = delete;

  void PageDone() override {
    if (!dialog_) dialog_ = std::make_unique<BusyDialog>(&over_, BusyText(work_), total_pages_);
    dialog_->PageDone();
  }

 private:
  QWidget& over_;
  bool& busy_;
  const bool was_busy_;
  const DeviceWork work_;
  const int total_pages_;
  std::unique_ptr<BusyDialog> dialog_;
};

// The macro editor whose command is running, if one is open.
QWidget* OpenMacroEditor() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (qobject_cast<CDialogMacroEdit*>(widget) != nullptr && widget->isVisible()) return widget;
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<Progress> CMorvelDlg::ShowProgress(DeviceWork work, int total_pages) {
  // Macro work runs from the macro editor; its busy dialog stands over the editor.
  QWidget* over = nullptr;
  if (work == DeviceWork::kMacroLoad || work == DeviceWork::kMacroStore) over = OpenMacroEditor();
  return std::make_unique<BusyProgress>(over != nullptr ? *over : *this, busy_, work, total_pages);
}

}  // namespace qp40
