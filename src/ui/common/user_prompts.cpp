#include "ui/common/user_prompts.h"

#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace qp40 {

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode,
                                     const QString& filter, const QString& default_suffix) {
  QFileDialog dialog(parent, QString(), QString(), filter);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(default_suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return dialog.selectedFiles().constFirst();
}

}  // namespace

void QtUserPrompts::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kAppTitle), text, QMessageBox::Ok,
                  parent);
  box.exec();
}

bool QtUserPrompts::AskOkCancel(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, QString::fromLatin1(kAppTitle), text,
                               QMessageBox::Ok | QMessageBox::Cancel,
                               QMessageBox::Cancel) == QMessageBox::Ok;
}

int QtUserPrompts::Choose(QWidget* parent, const QString& text, const QStringList& answers) {
  QMessageBox box(QMessageBox::Question, QString::fromLatin1(kAppTitle), text,
                  QMessageBox::NoButton, parent);
  std::vector<QPushButton*> buttons;
  for (const QString& answer : answers) {
    buttons.push_back(box.addButton(answer, QMessageBox::ActionRole));
  }
  if (buttons.empty()) return -1;
  box.setDefaultButton(buttons.front());
  box.setEscapeButton(buttons.back());
  box.exec();
  const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
  // Escape and the close box click the escape button; anything else counts as it too.
  return static_cast<int>(chosen == buttons.end() ? buttons.size() - 1 : chosen - buttons.begin());
}

std::optional<QString> QtUserPrompts::OpenFileName(QWidget* parent, const QString& filter,
                                                   const QString& default_suffix) {
  return RunFileDialog(parent, QFileDialog::AcceptOpen, filter, default_suffix);
}

std::optional<QString> QtUserPrompts::SaveFileName(QWidget* parent, const QString& filter,
                                                   const QString& default_suffix) {
  return RunFileDialog(parent, QFileDialog::AcceptSave, filter, default_suffix);
}

int QtUserPrompts::RunModal(QDialog& dialog) { return dialog.exec(); }

int QtUserPrompts::RunBesideWindow(QDialog& dialog) {
  dialog.setWindowModality(Qt::NonModal);
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  dialog.show();
  loop.exec();
  return dialog.result();
}

void PromptNotifier::ShowMessage(std::string_view text) {
  // Messages are UTF-8: they may carry a file path or a full-width comma.
  prompts_.ShowMessage(parent_,
                       QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

QString FromLatin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<QString> QtUserPrompts::AskText(QWidget* parent, const QString& text,
                                              const QString& initial) {
  bool ok = false;
  const QString typed = QInputDialog::getText(parent, QString::fromLatin1(kAppTitle), text,
                                              QLineEdit::Normal, initial, &ok);
  if (!ok) return std::nullopt;
  return typed;
}

}  // namespace qp40
