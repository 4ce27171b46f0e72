#pragma once

#include <QAbstractScrollArea>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "log/log.h"

class QPlainTextEdit;
class QStackedLayout;

namespace qp40 {

// Shows the log's lines and draws only those in view, so a new line costs its own length
// however long the log has grown.
class LogView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit LogView(QWidget* parent = nullptr);

  // Adds pane text (line breaks as '\n') at the end.
  void Append(QStringView text);
  QString Text() const;
  // Lines shown; the log ends with a line break, so the last of them is empty.
  int LineCount() const { return static_cast<int>(lines_.size()); }
  int TopLine() const;
  void ScrollToEnd();

 signals:
  // The user clicked into the log or typed a key that is not for scrolling.
  void UserAction(QEvent* event);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void UpdateScrollBars();
  int VisibleLines() const;

  std::vector<QString> lines_;
  int widest_ = 0;
};

// The log pane at the bottom of the main window. While nobody edits it, new lines are appended to
// a view of the log at a cost of their own length. The pane is not read-only: clicking or typing
// into it opens the log in an editor, and when the user has typed there, the next line puts the
// whole log text back, replacing what was typed.
class LogPane : public QWidget, public LogSink {
  Q_OBJECT

 public:
  explicit LogPane(QWidget* parent = nullptr);

  void OnLineAppended(std::string_view line, const std::string& whole_log) override;

  // The text the pane shows: the log, or what the user has made of it in the editor.
  QString Text() const;
  bool Editing() const;
  // True while the editor holds text the user typed since the last line.
  bool UserEdited() const { return user_edited_; }
  LogView* View() const { return view_; }
  QPlainTextEdit* Editor() const { return editor_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BeginEditing(QEvent* trigger);
  void EndEditing();

  QStackedLayout* stack_;
  LogView* view_;
  QPlainTextEdit* editor_;
  bool user_edited_ = false;
  bool writing_ = false;
};

// The log's bytes as pane text: UTF-8 when they are valid UTF-8, else Latin-1; each CR LF (and
// any lone CR or LF) is one line break.
QString LogTextForPane(std::string_view text);

}  // namespace qp40
