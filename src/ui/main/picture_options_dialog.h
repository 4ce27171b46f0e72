#pragma once

#include <QDialog>
#include <cstdint>

#include "ui/main/picture_choice.h"

class QCheckBox;
class QComboBox;

namespace qp40 {

// Whether the choice is for pages (PDF and printing), which adds the paper and the page layout.
enum class PictureOutput { kPages, kImage };

// The options of "Export Picture…" and "Print…": the profile on screen or all four, the paper
// and the page layout for pages, and the appendix.
class CPictureOptionsDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kProfileListId = 1201;
  static constexpr int kPaperListId = 1202;
  static constexpr int kLayoutListId = 1203;
  static constexpr int kAppendixId = 1204;
  static constexpr int kOkId = 1;
  static constexpr int kCancelId = 2;

  // `shown_profile` is the profile on screen (0-based); the dialog starts on `start`.
  CPictureOptionsDlg(const QString& title, PictureOutput output, std::uint8_t shown_profile,
                     const PictureChoice& start, QWidget* parent = nullptr);

  // What the lists and the check box hold.
  PictureChoice Choice() const;

 private:
  void EnableLayout();

  std::uint8_t shown_profile_;
  PictureOutput output_;
  QComboBox* profiles_;
  QComboBox* paper_;
  QComboBox* layout_;
  QCheckBox* appendix_;
};

}  // namespace qp40
