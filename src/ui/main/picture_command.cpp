#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>

#include "session/sheet_extras.h"
#include "ui/common/dialog_template.h"
#include "ui/main/main_dialog.h"
#include "ui/main/main_dialog_ids.h"
#include "ui/main/picture_options_dialog.h"
#include "ui/main/picture_output.h"
#include "ui/main/picture_pages.h"

namespace qp40 {
namespace {

// One filter for the three formats: the extension typed chooses the format.
constexpr const char* kPictureFilter = "Picture (*.pdf *.png *.svg)";
constexpr const char* kPictureSuffix = "pdf";

const QString kExportText = QStringLiteral("Export Picture\u2026");
const QString kPrintText = QStringLiteral("Print\u2026");

bool HasChords(const ChordTable& table) {
  return std::any_of(table.begin(), table.end(), [](const ChordRecord& chord) {
    return std::any_of(chord.begin(), chord.end(), [](std::uint8_t byte) { return byte != 0; });
  });
}

}  // namespace

void CMorvelDlg::ConnectPictureCommands() {
  auto* button = DialogItem<QPushButton>(*this, kIdPicture);
  button->setText(QStringLiteral("Picture\u2026"));
  // The menu lives as long as the button; the shortcuts stand beside it, as the button's caption
  // would not show them.
  auto* menu = new QMenu(button);
  QAction* export_action = menu->addAction(kExportText + QStringLiteral("\tCtrl+Shift+P"));
  QAction* print_action = menu->addAction(kPrintText + QStringLiteral("\tCtrl+P"));
  connect(export_action, &QAction::triggered, this, &CMorvelDlg::OnExportPicture);
  connect(print_action, &QAction::triggered, this, &CMorvelDlg::OnPrintPicture);
  button->setMenu(menu);
  button->setToolTip(
      QStringLiteral("A cheat sheet of the keys as PDF, PNG or SVG (Ctrl+Shift+P), or printed "
                     "(Ctrl+P)"));
  const auto on_keys = [this, button](const char* keys, void (CMorvelDlg::*handler)()) {
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), this);
    connect(shortcut, &QShortcut::activated, this, [this, button, handler] {
      if (ShortcutsAllowed() && button->isEnabled() && button->isVisible()) (this->*handler)();
    });
  };
  on_keys("Ctrl+Shift+P", &CMorvelDlg::OnExportPicture);
  on_keys("Ctrl+P", &CMorvelDlg::OnPrintPicture);
}

CheatSheetExtras CMorvelDlg::PictureExtras(const CheatSheetOptions& options) {
  // Without a keypad the sheet shows the macros as not read; the texts come from memory.
  CheatSheetExtras extras = ReadSheetExtras(services_.session, options).extras;
  KeypadWentAway();
  if (HasChords(services_.session.Chords())) extras.chords = services_.session.Chords();
  return extras;
}

std::optional<PictureChoice> CMorvelDlg::ChoosePicture(const QString& title, PictureOutput output) {
  CPictureOptionsDlg dialog(title, output, Config().current_profile, picture_choice_, this);
  if (RunDialog(dialog) != QDialog::Accepted) return std::nullopt;
  picture_choice_ = dialog.Choice();
  return picture_choice_;
}

void CMorvelDlg::OnExportPicture() {
  const std::optional<QString> path = services_.prompts.SaveFileName(
      this, QString::fromLatin1(kPictureFilter), QString::fromLatin1(kPictureSuffix));
  if (!path || path->isEmpty()) return;
  const std::optional<PictureFormat> format = PictureFormatOf(*path);
  if (!format) {
    services_.prompts.ShowMessage(
        this, QStringLiteral("A picture is written as PDF, PNG or SVG: give the file name the "
                             "extension .pdf, .png or .svg."));
    return;
  }
  const auto choice =
      ChoosePicture(QStringLiteral("Export Picture"),
                    *format == PictureFormat::kPdf ? PictureOutput::kPages : PictureOutput::kImage);
  if (!choice) return;
  const CheatSheetExtras extras = PictureExtras(SheetOptions(*choice));
  if (WritePictureFile(*path, *format, Config(), extras, *choice) != PictureFileStatus::kWritten) {
    services_.prompts.ShowMessage(
        this, QStringLiteral("The picture could not be written to %1.").arg(*path));
    return;
  }
  services_.log.AppendLog(">> Picture written, " + path->toStdString());
}

void CMorvelDlg::OnPrintPicture() {
  const auto choice = ChoosePicture(QStringLiteral("Print"), PictureOutput::kPages);
  if (!choice) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(PicturePageLayout(choice->paper));
  printer.setDocName(QStringLiteral("QP40 cheat sheet"));
  QPrintDialog dialog(&printer, this);
  if (RunDialog(dialog) != QDialog::Accepted) return;
  const CheatSheetExtras extras = PictureExtras(SheetOptions(*choice));
  const PicturePages pages(Config(), extras, *choice, printer.pageLayout());
  if (!pages.Paint(printer)) {
    services_.prompts.ShowMessage(this, QStringLiteral("The picture could not be printed."));
    return;
  }
  services_.log.AppendLog(">> Picture printed, " + std::to_string(pages.PageCount()) +
                          (pages.PageCount() == 1 ? " page" : " pages"));
}

}  // namespace qp40
