#include "ui/main/picture_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <array>

#include "ui/common/dialog_template.h"

namespace qp40 {
namespace {

using K = ControlKind;
using Dlg = CPictureOptionsDlg;

constexpr std::array kControls = {
    ControlEntry{kStaticId, K::kStaticText, "Profiles", 7, 9, 58, 8},
    ControlEntry{Dlg::kProfileListId, K::kDropDownList, "", 68, 7, 132, 60},
    ControlEntry{kStaticId, K::kStaticText, "Paper", 7, 27, 58, 8},
    ControlEntry{Dlg::kPaperListId, K::kDropDownList, "", 68, 25, 132, 40},
    ControlEntry{kStaticId, K::kStaticText, "Pages", 7, 45, 58, 8},
    ControlEntry{Dlg::kLayoutListId, K::kDropDownList, "", 68, 43, 132, 40},
    ControlEntry{Dlg::kAppendixId, K::kCheckBox, "Appendix: macros, texts and chords", 7, 63, 193,
                 10},
    ControlEntry{Dlg::kOkId, K::kDefaultPushButton, "OK", 96, 82, 50, 14},
    ControlEntry{Dlg::kCancelId, K::kPushButton, "Cancel", 150, 82, 50, 14},
};
constexpr DialogTemplate kTemplate{"", 207, 103, kControls};

// The list entries, in the order of the enums they stand for.
constexpr std::array kPaperItems = {"A4, landscape", "Letter, landscape"};
constexpr std::array kLayoutItems = {"One profile per page", "All four on one page"};

void Fill(QComboBox& list, const auto& items, int current) {
  for (const char* item : items) list.addItem(QString::fromUtf8(item));
  list.setCurrentIndex(current);
}

}  // namespace

CPictureOptionsDlg::CPictureOptionsDlg(const QString& title, PictureOutput output,
                                       std::uint8_t shown_profile, const PictureChoice& start,
                                       QWidget* parent)
    : QDialog(parent), shown_profile_(shown_profile), output_(output) {
  BuildDialog(*this, kTemplate);
  setFixedSize(size());
  setWindowTitle(title);
  profiles_ = DialogItem<QComboBox>(*this, kProfileListId);
  paper_ = DialogItem<QComboBox>(*this, kPaperListId);
  layout_ = DialogItem<QComboBox>(*this, kLayoutListId);
  appendix_ = DialogItem<QCheckBox>(*this, kAppendixId);

  profiles_->addItem(QStringLiteral("User Profile %1 (on screen)").arg(shown_profile + 1));
  profiles_->addItem(QStringLiteral("All four profiles"));
  profiles_->setCurrentIndex(start.profile ? 0 : 1);
  Fill(*paper_, kPaperItems, static_cast<int>(start.paper));
  Fill(*layout_, kLayoutItems, static_cast<int>(start.layout));
  appendix_->setChecked(start.appendix == Appendix::kShown);
  paper_->setEnabled(output == PictureOutput::kPages);
  EnableLayout();
  connect(profiles_, &QComboBox::currentIndexChanged, this, &CPictureOptionsDlg::EnableLayout);

  connect(DialogItem<QPushButton>(*this, kOkId), &QPushButton::clicked, this, &QDialog::accept);
  connect(DialogItem<QPushButton>(*this, kCancelId), &QPushButton::clicked, this, &QDialog::reject);
}

void CPictureOptionsDlg::EnableLayout() {
  // One profile is one page either way.
  layout_->setEnabled(output_ == PictureOutput::kPages && profiles_->currentIndex() == 1);
}

PictureChoice CPictureOptionsDlg::Choice() const {
  PictureChoice choice;
  if (profiles_->currentIndex() == 0) choice.profile = shown_profile_;
  choice.paper = paper_->currentIndex() == 1 ? PaperSize::kLetter : PaperSize::kA4;
  choice.layout =
      layout_->currentIndex() == 1 ? PageLayout::kAllOnOnePage : PageLayout::kProfilePerPage;
  choice.appendix = appendix_->isChecked() ? Appendix::kShown : Appendix::kLeftOut;
  return choice;
}

}  // namespace qp40
