#pragma once

#include <QPlainTextEdit>
#include <string>
#include <string_view>

#include "log/log.h"

namespace qp40 {

// The log pane at the bottom of the main window. Each new line is appended at the end, at a cost
// of its own length however long the log is. The pane is not read-only: when the user has typed
// into it, the next line puts the whole log text back, replacing what was typed.
class LogPane : public QPlainTextEdit, public LogSink {
  Q_OBJECT

 public:
  explicit LogPane(QWidget* parent = nullptr);

  void OnLineAppended(std::string_view line, const std::string& whole_log) override;

  // True while the pane holds text the user typed since the last line.
  bool UserEdited() const { return user_edited_; }

 private:
  void ScrollToEnd();

  bool user_edited_ = false;
  bool writing_ = false;
};

// The log's bytes as pane text: Latin-1, with each CR LF (and any lone CR or LF) one line break.
QString LogTextForPane(std::string_view text);

}  // namespace qp40
