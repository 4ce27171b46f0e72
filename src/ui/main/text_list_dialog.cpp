#include "ui/main/text_list_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace qp40 {
namespace {

constexpr int kPaneWidth = 640;
constexpr int kPaneHeight = 320;

}  // namespace

TextListDialog::TextListDialog(const QString& title, const QString& heading,
                               const QStringList& lines, QWidget* parent)
    : QDialog(parent), heading_(heading), lines_(lines) {
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(heading, this);
  label->setWordWrap(true);
  layout->addWidget(label);
  if (!lines.isEmpty()) {
    auto* pane = new QPlainTextEdit(this);
    pane->setReadOnly(true);
    pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Key expressions and macro lines line up in a fixed-width font.
    pane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    pane->setPlainText(lines.join(QLatin1Char('\n')));
    pane->setMinimumSize(kPaneWidth, kPaneHeight);
    layout->addWidget(pane);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace qp40
