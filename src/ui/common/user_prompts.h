#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>

#include "log/notifier.h"

class QDialog;
class QWidget;

namespace qp40 {

// The title of the window and of every message box.
inline constexpr const char* kAppTitle = "QP40 Keyboard Configuration";

// Everything the window asks of the user: message boxes, file dialogs and modal dialogs. The
// window shows the real ones; tests answer them without a modal loop.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // A message box with an OK button.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  // A question with OK and Cancel; true for OK.
  virtual bool AskOkCancel(QWidget* parent, const QString& text) = 0;
  // A question with one button per answer ("Save", "Discard", "Cancel"); the index of the
  // answer chosen. The last answer is what Escape and the close box give.
  virtual int Choose(QWidget* parent, const QString& text, const QStringList& answers) = 0;
  // The file-open and file-save dialogs for one filter ("Bin File(*.bin)") and default suffix;
  // the chosen path, or nothing when the user cancelled.
  virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& filter,
                                              const QString& default_suffix) = 0;
  virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& filter,
                                              const QString& default_suffix) = 0;
  // Runs a dialog modally; returns its result (QDialog::Accepted or QDialog::Rejected).
  virtual int RunModal(QDialog& dialog) = 0;
  // Runs a dialog that leaves the other windows usable (its parent's commands are the caller's
  // to guard) and returns its result when it closes.
  virtual int RunBesideWindow(QDialog& dialog) = 0;
  // A line of text to type, starting from `initial`; nothing when the user cancelled.
  virtual std::optional<QString> AskText(QWidget* parent, const QString& text,
                                         const QString& initial) = 0;
};

// The real message boxes and file dialogs of the platform.
class QtUserPrompts final : public UserPrompts {
 public:
  void ShowMessage(QWidget* parent, const QString& text) override;
  bool AskOkCancel(QWidget* parent, const QString& text) override;
  int Choose(QWidget* parent, const QString& text, const QStringList& answers) override;
  std::optional<QString> OpenFileName(QWidget* parent, const QString& filter,
                                      const QString& default_suffix) override;
  std::optional<QString> SaveFileName(QWidget* parent, const QString& filter,
                                      const QString& default_suffix) override;
  int RunModal(QDialog& dialog) override;
  int RunBesideWindow(QDialog& dialog) override;
  std::optional<QString> AskText(QWidget* parent, const QString& text,
                                 const QString& initial) override;
};

// Shows the core's messages as message boxes over the main window.
class PromptNotifier final : public Notifier {
 public:
  explicit PromptNotifier(UserPrompts& prompts) : prompts_(prompts) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void ShowMessage(std::string_view text) override;

 private:
  UserPrompts& prompts_;
  QWidget* parent_ = nullptr;
};

// Texts for the keypad and the log are single bytes; Latin-1 keeps every byte as it is.
QString FromLatin1(std::string_view text);

}  // namespace qp40
