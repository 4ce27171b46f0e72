#include "ui/common/busy_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <array>

#include "ui/common/dialog_template.h"

namespace qp40 {

namespace {

constexpr int kTextId = 1001;
constexpr int kBarId = 1002;

constexpr std::array kBusyControls = {
    ControlEntry{kTextId, ControlKind::kCenteredText, "Loading from device ......", 7, 34, 227, 16},
    ControlEntry{kBarId, ControlKind::kProgressBar, "", 7, 56, 227, 10},
};
constexpr DialogTemplate kBusyTemplate{"", 241, 84, kBusyControls};

}  // namespace

void RepaintWhileBusy() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

BusyDialog::BusyDialog(QWidget* main_window, const QString& text, int total_pages)
    : QDialog(main_window, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
  BuildDialog(*this, kBusyTemplate);
  setFixedSize(size());
  label_ = DialogItem<QLabel>(*this, kTextId);
  bar_ = DialogItem<QProgressBar>(*this, kBarId);
  bar_->setRange(0, std::max(total_pages, 1));
  bar_->setValue(0);
  label_->setText(text);
  setWindowModality(Qt::ApplicationModal);
  if (main_window != nullptr) {
    move(main_window->geometry().center() - rect().center());
  }
  show();
  RepaintWhileBusy();
}

BusyDialog::~BusyDialog() { hide(); }

void BusyDialog::PageDone() {
  ++pages_done_;
  bar_->setValue(std::min(pages_done_, bar_->maximum()));
  RepaintWhileBusy();
}

QString BusyDialog::Text() const { return label_->text(); }

void BusyDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace qp40
