#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QPlainTextEdit;

namespace qp40 {

// A dialog that shows a heading and a list of lines, one a line, in a scrolling pane the user
// can select and copy from, with an OK button: "Show Changes" and the problems of a layout file.
class TextListDialog : public QDialog {
  Q_OBJECT

 public:
  TextListDialog(const QString& title, const QString& heading, const QStringList& lines,
                 QWidget* parent = nullptr);

  QString Heading() const { return heading_; }
  QStringList Lines() const { return lines_; }

 private:
  QString heading_;
  QStringList lines_;
};

}  // namespace qp40
