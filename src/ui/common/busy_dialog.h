#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace qp40 {

// The busy dialog of a load or a save: its text and a bar of the pages done. The work runs on
// the UI thread; each page repaints the window while user input stays queued, so no command can
// start inside another and the window never looks hung.
class BusyDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows the dialog centred on `main_window` with `text`, for `total_pages` pages of work.
  BusyDialog(QWidget* main_window, const QString& text, int total_pages);
  ~BusyDialog() override;

  // One more page done: moves the bar and lets the windows repaint.
  void PageDone();

  QString Text() const;
  int PagesDone() const { return pages_done_; }

 protected:
  // The work cannot be stopped halfway; neither the close box nor Esc ends the dialog.
  void closeEvent(QCloseEvent* event) override;
  void reject() override {}

 private:
  QLabel* label_;
  QProgressBar* bar_;
  int pages_done_ = 0;
};

// Lets pending paint and timer work run without taking any user input.
void RepaintWhileBusy();

}  // namespace qp40
