#include "ui/log_pane.h"

#include <QScrollBar>
#include <QTextCursor>

namespace qp40 {

QString LogTextForPane(std::string_view text) {
  QString pane_text;
  pane_text.reserve(static_cast<qsizetype>(text.size()));
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      pane_text.append(QChar('\n'));
    } else {
      pane_text.append(QChar::fromLatin1(c));
    }
  }
  return pane_text;
}

LogPane::LogPane(QWidget* parent) : QPlainTextEdit(parent) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  // The log only grows; an undo history of it would only hold memory.
  setUndoRedoEnabled(false);
  connect(document(), &QTextDocument::contentsChanged, this, [this] {
    if (!writing_) user_edited_ = true;
  });
}

void LogPane::OnLineAppended(std::string_view line, const std::string& whole_log) {
  writing_ = true;
  if (user_edited_) {
    setPlainText(LogTextForPane(whole_log));
    user_edited_ = false;
  } else {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(LogTextForPane(line));
  }
  writing_ = false;
  ScrollToEnd();
}

void LogPane::ScrollToEnd() {
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->maximum());
}

}  // namespace qp40
