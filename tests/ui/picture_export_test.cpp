// "Picture…": "Export Picture…" as SVG, PDF and PNG, and "Print…", played without a loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <cmath>

#include "keys/key_action.h"
#include "ui/common/device_notice_watch.h"
#include "ui/common/dialog_template.h"
#include "ui/main/main_dialog_ids.h"
#include "ui/main/picture_options_dialog.h"
#include "ui/main/picture_output.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

using Options = CPictureOptionsDlg;

constexpr std::string_view kScript = "press a  b  c  20\r\nrelease a  b  c  20\r\n";
// The script as the keypad lists it back.
constexpr std::string_view kListing =
    "press    a   b   c   20  \r\nrelease    a   b   c   20  \r\n";
constexpr KeyActionRecord kMacro5Key = {kActionMacro, 5, 0, 0};

// The options the user picks: list entries and the appendix box.
struct Picks {
  int profiles = 1;  // 0 the profile on screen, 1 all four
  int paper = 0;     // 0 A4, 1 Letter
  int layout = 0;    // 0 one profile per page, 1 all on one page
  bool appendix = false;
};

// Plays the options dialog with `picks`, and the print dialog: printing to `print_to` as PDF,
// or cancelled when it is empty.
std::function<void(QDialog&)> Play(Picks picks, const QString& print_to = {}) {
  return [picks, print_to](QDialog& dialog) {
    if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) {
      if (!print_to.isEmpty()) print->printer()->setOutputFileName(print_to);
      dialog.setResult(print_to.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
      return;
    }
    DialogItem<QComboBox>(dialog, Options::kProfileListId)->setCurrentIndex(picks.profiles);
    DialogItem<QComboBox>(dialog, Options::kPaperListId)->setCurrentIndex(picks.paper);
    DialogItem<QComboBox>(dialog, Options::kLayoutListId)->setCurrentIndex(picks.layout);
    DialogItem<QCheckBox>(dialog, Options::kAppendixId)->setChecked(picks.appendix);
    DialogItem<QPushButton>(dialog, Options::kOkId)->click();
  };
}

// The entries of the "Picture…" button's menu.
void Export(const CMorvelDlg& dialog) {
  DialogItem<QPushButton>(dialog, kIdPicture)->menu()->actions().at(0)->trigger();
}
void Print(const CMorvelDlg& dialog) {
  DialogItem<QPushButton>(dialog, kIdPicture)->menu()->actions().at(1)->trigger();
}

struct PdfInfo {
  int pages = 0;
  int width = 0;  // points, rounded
  int height = 0;
};

// What pdfinfo says of a PDF file; nothing when it cannot read it.
std::optional<PdfInfo> ReadPdfInfo(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdfinfo"), {path});
  if (!process.waitForFinished() || process.exitCode() != 0) return std::nullopt;
  PdfInfo info;
  for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
    const QStringList words = line.simplified().split(' ');
    if (line.startsWith(QLatin1String("Pages:")) && words.size() >= 2) {
      info.pages = words[1].toInt();
    } else if (line.startsWith(QLatin1String("Page size:")) && words.size() >= 5) {
      info.width = static_cast<int>(std::lround(words[2].toDouble()));
      info.height = static_cast<int>(std::lround(words[4].toDouble()));
    }
  }
  return info;
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PictureExport : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return QDir(directory_.path()).filePath(name); }
  void SkipWithoutPdfinfo() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) {
      GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    }
  }
  // Puts macro 5 on the keypad and a key that runs it top left of the profile on screen.
  void AddMacroKey(WindowRig& rig) {
    ASSERT_EQ(rig.session.SaveMacroScript(5, kScript).status, MacroSaveStatus::kStored);
    SetWorkingRecord(rig.config.working_profile, 0, kMacro5Key);
  }
  QTemporaryDir directory_;
};

struct PdfCase {
  const char* name;
  Picks picks;
  bool macro_key;
  int pages;
  int width;
  int height;
};

void PrintTo(const PdfCase& c, std::ostream* out) { *out << c.name; }

class PdfPages : public PictureExport, public ::testing::WithParamInterface<PdfCase> {};

TEST_P(PdfPages, HoldTheChosenProfilesOnLandscapePaper) {
  SkipWithoutPdfinfo();
  const PdfCase& c = GetParam();
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  if (c.macro_key) AddMacroKey(rig);
  rig.prompts.save_answer = Path("sheet.pdf");
  rig.prompts.play = Play(c.picks);
  Export(dialog);

  EXPECT_TRUE(rig.prompts.messages.empty());
  EXPECT_EQ(rig.prompts.dialog_titles, std::vector<QString>{"Export Picture"});
  EXPECT_EQ(rig.prompts.file_filters.back(), "Picture (*.pdf *.png *.svg)|pdf");
  const std::optional<PdfInfo> info = ReadPdfInfo(Path("sheet.pdf"));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->pages, c.pages);
  EXPECT_EQ(info->width, c.width);
  EXPECT_EQ(info->height, c.height);
  EXPECT_EQ(rig.LogLines().back(), ">> Picture written, " + Path("sheet.pdf").toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PdfPages,
    ::testing::Values(PdfCase{"all four, one per page, A4", {1, 0, 0, false}, false, 4, 842, 595},
                      PdfCase{"all four on one Letter page", {1, 1, 1, false}, false, 1, 792, 612},
                      PdfCase{"profile on screen", {0, 0, 1, false}, false, 1, 842, 595},
                      // An appendix with nothing to list takes no page.
                      PdfCase{"empty appendix", {1, 0, 0, true}, false, 4, 842, 595},
                      PdfCase{"profile and its macro", {0, 0, 0, true}, true, 2, 842, 595},
                      PdfCase{"one page and the appendix", {1, 1, 1, true}, true, 2, 792, 612}),
    [](const ::testing::TestParamInfo<PdfCase>& info) {
      return "Case" + std::to_string(info.index);
    });

TEST_F(PictureExport, ALongAppendixRunsOnOverFurtherPages) {
  SkipWithoutPdfinfo();
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  std::string script;
  for (int line = 0; line < 60; ++line) script += "press a  20\r\nrelease a  20\r\n";
  ASSERT_EQ(rig.session.SaveMacroScript(5, script).status, MacroSaveStatus::kStored);
  SetWorkingRecord(rig.config.working_profile, 0, kMacro5Key);
  rig.prompts.save_answer = Path("long.pdf");
  rig.prompts.play = Play({0, 0, 0, true});
  Export(dialog);
  const std::optional<PdfInfo> info = ReadPdfInfo(Path("long.pdf"));
  ASSERT_TRUE(info);
  // 123 lines of about 42 a page after the profile's page.
  EXPECT_EQ(info->pages, 4);
}

TEST_F(PictureExport, SvgIsTheRenderersTextWithTheKeypadsMacroScripts) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  AddMacroKey(rig);
  rig.chords[0] = {0x16, 0x07, 0, 0x28, 0, 0, 0, 0};
  rig.prompts.save_answer = Path("sheet.svg");
  rig.prompts.play = Play({0, 0, 0, true});
  Export(dialog);

  CheatSheetExtras extras;
  extras.macro_scripts[5] = std::string(kListing);
  extras.chords = rig.chords;
  const std::string expected =
      RenderCheatSheet(rig.config, extras, {std::uint8_t{0}, Appendix::kShown});
  // Compared whole, without printing the two sheets.
  EXPECT_TRUE(Contents(Path("sheet.svg")).toStdString() == expected);
  EXPECT_NE(expected.find("press    a   b   c   20"), std::string::npos);
  EXPECT_NE(expected.find(">Chords<"), std::string::npos);
}

TEST_F(PictureExport, WithoutTheKeypadTheMacrosAreDrawnAsNotRead) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  AddMacroKey(rig);
  rig.transport.plugged = false;
  dialog.OnDeviceRemoved(rig.session.OpenPath());
  ASSERT_FALSE(rig.session.Connected());
  ASSERT_TRUE(DialogItem(dialog, kIdPicture)->isEnabled());

  rig.prompts.save_answer = Path("sheet.svg");
  rig.prompts.play = Play({0, 0, 0, true});
  Export(dialog);
  const QByteArray svg = Contents(Path("sheet.svg"));
  EXPECT_TRUE(svg.contains("(not read from the keypad)"));
  EXPECT_FALSE(svg.contains(">Chords<"));
}

TEST_F(PictureExport, PngIsTheSheetAtTwiceItsSize) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  rig.prompts.save_answer = Path("sheet.png");
  rig.prompts.play = Play({1, 0, 0, false});
  Export(dialog);

  const std::string svg = RenderCheatSheet(rig.config, {}, {std::nullopt, Appendix::kLeftOut});
  const QSize one = QSvgRenderer(QByteArray::fromStdString(svg)).defaultSize();
  QImage image;
  ASSERT_TRUE(image.load(Path("sheet.png"), "PNG"));
  EXPECT_EQ(image.size(), one * 2);
  // Drawn, not blank: the key grid's colours are on it.
  EXPECT_GT(image.convertToFormat(QImage::Format_Indexed8).colorCount(), 2);
}

TEST_F(PictureExport, AFailedWriteIsReportedAndLeavesNoFile) {
  for (const char* name : {"sheet.svg", "sheet.pdf", "sheet.png"}) {
    SCOPED_TRACE(name);
    WindowRig rig;
    CMorvelDlg& dialog = rig.Open();
    const QString path = QDir(Path("no such folder")).filePath(QString::fromLatin1(name));
    rig.prompts.save_answer = path;
    rig.prompts.play = Play({1, 0, 0, true});
    Export(dialog);
    EXPECT_EQ(rig.prompts.messages,
              std::vector<QString>{"The picture could not be written to " + path + "."});
    EXPECT_FALSE(QFile::exists(path));
  }
  EXPECT_TRUE(QDir(directory_.path()).isEmpty());
}

TEST_F(PictureExport, AnotherExtensionOrACancelWritesNothing) {
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  rig.prompts.save_answer = Path("sheet.jpg");
  Export(dialog);
  EXPECT_EQ(rig.prompts.messages.size(), 1u);
  EXPECT_TRUE(rig.prompts.dialog_titles.empty());

  rig.prompts.save_answer = Path("sheet.svg");
  rig.prompts.play = [](QDialog& options) {
    DialogItem<QPushButton>(options, Options::kCancelId)->click();
  };
  Export(dialog);
  EXPECT_EQ(rig.prompts.dialog_titles.size(), 1u);
  EXPECT_TRUE(QDir(directory_.path()).isEmpty());
}

TEST_F(PictureExport, PrintPrintsTheSamePagesAndACancelPrintsNothing) {
  SkipWithoutPdfinfo();
  WindowRig rig;
  CMorvelDlg& dialog = rig.Open();
  rig.prompts.play = Play({1, 1, 1, false}, Path("printed.pdf"));
  Print(dialog);
  const std::optional<PdfInfo> info = ReadPdfInfo(Path("printed.pdf"));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->pages, 1);
  EXPECT_EQ(info->width, 792);
  EXPECT_EQ(info->height, 612);
  EXPECT_EQ(rig.LogLines().back(), ">> Picture printed, 1 page");
  EXPECT_EQ(rig.prompts.dialog_titles.front(), "Print");

  const std::size_t lines = rig.LogLines().size();
  rig.prompts.play = Play({1, 0, 0, false});
  Print(dialog);
  EXPECT_EQ(rig.LogLines().size(), lines);
  EXPECT_TRUE(rig.prompts.messages.empty());
}

TEST_F(PictureExport, TheButtonWaitsForAConfigurationAndCtrlPPrints) {
  WindowRig rig(/*plugged=*/false);
  CMorvelDlg& dialog = rig.Open();
  auto* button = DialogItem<QPushButton>(dialog, kIdPicture);
  EXPECT_FALSE(button->isEnabled());
  EXPECT_EQ(button->text(), QStringLiteral("Picture\u2026"));

  rig.transport.plugged = true;
  dialog.OnDeviceChange(kDeviceNodesChanged);
  ASSERT_TRUE(button->isEnabled());
  rig.prompts.play = Play({1, 0, 0, false});
  dialog.activateWindow();
  QApplication::processEvents();
  QTest::keyClick(&dialog, Qt::Key_P, Qt::ControlModifier);
  // The options, then the print dialog (cancelled).
  EXPECT_EQ(rig.prompts.dialog_titles.size(), 2u);
  EXPECT_EQ(rig.prompts.dialog_titles.front(), "Print");
}

}  // namespace
}  // namespace qp40::test
