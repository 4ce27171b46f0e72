#include "ui/common/log_pane.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedLayout>
#include <QStringDecoder>
#include <QTextCursor>
#include <algorithm>

namespace qp40 {

namespace {

constexpr int kTextMargin = 4;

bool IsScrollKey(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
      return true;
    default:
      return false;
  }
}

}  // namespace

QString LogTextForPane(std::string_view text) {
  // File paths reach the log in the file system's UTF-8; texts from the keypad are single bytes.
  // A line that is not valid UTF-8 is shown byte for byte.
  const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString decoded = utf8.decode(bytes);
  if (utf8.hasError()) decoded = QString::fromLatin1(bytes);

  QString pane_text;
  pane_text.reserve(decoded.size());
  for (qsizetype i = 0; i < decoded.size(); ++i) {
    const QChar c = decoded[i];
    if (c == QChar('\r')) {
      if (i + 1 < decoded.size() && decoded[i + 1] == QChar('\n')) ++i;
      pane_text.append(QChar('\n'));
    } else {
      pane_text.append(c);
    }
  }
  return pane_text;
}

LogView::LogView(QWidget* parent) : QAbstractScrollArea(parent), lines_(1) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
}

void LogView::Append(QStringView text) {
  const QFontMetrics metrics(font());
  qsizetype start = 0;
  while (true) {
    const qsizetype end = text.indexOf(QChar('\n'), start);
    const QStringView part = text.mid(start, end < 0 ? -1 : end - start);
    if (!part.isEmpty()) {
      QString& last = lines_.back();
      last.append(part);
      widest_ = std::max(widest_, metrics.horizontalAdvance(last));
    }
    if (end < 0) break;
    lines_.emplace_back();
    start = end + 1;
  }
  UpdateScrollBars();
  viewport()->update();
}

QString LogView::Text() const {
  QString text;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text.append(QChar('\n'));
    text.append(lines_[i]);
  }
  return text;
}

int LogView::TopLine() const { return verticalScrollBar()->value(); }

void LogView::ScrollToEnd() { verticalScrollBar()->setValue(verticalScrollBar()->maximum()); }

int LogView::VisibleLines() const {
  return std::max(1, (viewport()->height() - kTextMargin) / QFontMetrics(font()).lineSpacing());
}

void LogView::UpdateScrollBars() {
  const int visible = VisibleLines();
  verticalScrollBar()->setRange(0, std::max(0, LineCount() - visible));
  verticalScrollBar()->setPageStep(visible);
  horizontalScrollBar()->setRange(0, std::max(0, widest_ + 2 * kTextMargin - viewport()->width()));
  horizontalScrollBar()->setPageStep(viewport()->width());
}

void LogView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void LogView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(viewport());
  const QFontMetrics metrics(font());
  const int spacing = metrics.lineSpacing();
  const int first = TopLine();
  const int last = std::min(LineCount(), first + viewport()->height() / spacing + 2);
  const int x = kTextMargin - horizontalScrollBar()->value();
  painter.setPen(palette().color(QPalette::Text));
  for (int line = first; line < last; ++line) {
    painter.drawText(x, kTextMargin + (line - first) * spacing + metrics.ascent(), lines_[line]);
  }
}

void LogView::keyPressEvent(QKeyEvent* event) {
  if (IsScrollKey(event->key()) && !event->matches(QKeySequence::SelectAll)) {
    QAbstractScrollArea::keyPressEvent(event);
    if (event->key() == Qt::Key_Home && event->modifiers() & Qt::ControlModifier) {
      verticalScrollBar()->setValue(0);
    } else if (event->key() == Qt::Key_End && event->modifiers() & Qt::ControlModifier) {
      ScrollToEnd();
    }
    return;
  }
  emit UserAction(event);
}

void LogView::mousePressEvent(QMouseEvent* event) { emit UserAction(event); }

LogPane::LogPane(QWidget* parent)
    : QWidget(parent),
      stack_(new QStackedLayout(this)),
      view_(new LogView(this)),
      editor_(new QPlainTextEdit(this)) {
  // The help lines line up in columns, so the log is shown in the fixed-pitch font.
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(std::max(font.pointSizeF(), this->font().pointSizeF()));
  view_->setFont(font);
  editor_->setFont(font);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor_->setUndoRedoEnabled(false);
  editor_->installEventFilter(this);
  stack_->setContentsMargins(0, 0, 0, 0);
  stack_->addWidget(view_);
  stack_->addWidget(editor_);
  stack_->setCurrentWidget(view_);
  setFocusProxy(view_);

  connect(view_, &LogView::UserAction, this, &LogPane::BeginEditing);
  connect(editor_->document(), &QTextDocument::contentsChanged, this, [this] {
    if (!writing_) user_edited_ = true;
  });
}

bool LogPane::Editing() const { return stack_->currentWidget() == editor_; }

QString LogPane::Text() const { return Editing() ? editor_->toPlainText() : view_->Text(); }

void LogPane::OnLineAppended(std::string_view line, const std::string& /*whole_log*/) {
  const QString text = LogTextForPane(line);
  view_->Append(text);
  if (Editing()) {
    if (user_edited_) {
      // What the user typed gives way to the whole log.
      EndEditing();
    } else {
      // Only looking: the editor follows the log and keeps the user's selection.
      writing_ = true;
      QTextCursor cursor(editor_->document());
      cursor.movePosition(QTextCursor::End);
      cursor.insertText(text);
      writing_ = false;
      editor_->verticalScrollBar()->setValue(editor_->verticalScrollBar()->maximum());
    }
  }
  view_->ScrollToEnd();
}

void LogPane::BeginEditing(QEvent* trigger) {
  if (!Editing()) {
    writing_ = true;
    editor_->setPlainText(view_->Text());
    writing_ = false;
    user_edited_ = false;
    stack_->setCurrentWidget(editor_);
    editor_->verticalScrollBar()->setValue(view_->TopLine());
    editor_->moveCursor(QTextCursor::End);
    editor_->setFocus(Qt::OtherFocusReason);
  }
  if (trigger->type() == QEvent::MouseButtonPress) {
    const auto* press = static_cast<QMouseEvent*>(trigger);
    QMouseEvent forwarded(press->type(), press->position(), press->scenePosition(),
                          press->globalPosition(), press->button(), press->buttons(),
                          press->modifiers());
    QCoreApplication::sendEvent(editor_->viewport(), &forwarded);
  } else if (trigger->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(trigger);
    QKeyEvent forwarded(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                        static_cast<ushort>(key->count()));
    QCoreApplication::sendEvent(editor_, &forwarded);
  }
}

void LogPane::EndEditing() {
  const bool had_focus = editor_->hasFocus();
  user_edited_ = false;
  stack_->setCurrentWidget(view_);
  writing_ = true;
  editor_->clear();
  writing_ = false;
  if (had_focus) view_->setFocus(Qt::OtherFocusReason);
}

bool LogPane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_ && event->type() == QEvent::FocusOut && Editing() && !user_edited_) {
    // A look without typing ends when the focus moves on within the window.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) EndEditing();
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace qp40
