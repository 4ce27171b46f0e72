// The macro editor on the virtual keypad: its controls, the keypad commands, the script files,
// the live check and the recorder driven by synthetic input events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

#include "editing/macro_editor_logic.h"
#include "keys/name_tables.h"
#include "macros/macro_listing.h"
#include "support/temp_folder.h"
#include "ui/common/busy_dialog.h"
#include "ui/common/dialog_template.h"
#include "ui/macro_editor/macro_edit_dialog.h"
#include "ui/main/main_dialog_ids.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class MacroEditorTest : public ::testing::Test {
 protected:
  explicit MacroEditorTest(bool plugged = true) : rig(plugged) {}

  CDialogMacroEdit& Editor() {
    if (!editor) {
      if (!rig.dialog) rig.Open();
      logic = std::make_unique<MacroEditorLogic>(session, rig.session, rig.log, rig.notifier);
      editor = std::make_unique<CDialogMacroEdit>(*logic, rig.session.Connected(), rig.prompts);
      editor->show();
    }
    return *editor;
  }
  void Click(int id) { DialogItem<QPushButton>(Editor(), id)->click(); }
  QPlainTextEdit& Pane(int id) { return *DialogItem<QPlainTextEdit>(Editor(), id); }
  void Type(const QString& script) { Pane(kIdMacroCommandPane).setPlainText(script); }
  void Pick(int macro) { DialogItem<QComboBox>(Editor(), kIdMacroList)->setCurrentIndex(macro); }
  QString Messages() { return Pane(kIdMacroHelpPane).toPlainText(); }
  QString Label(int id) { return DialogItem<QLabel>(Editor(), id)->text(); }

  WindowRig rig;
  EditingSession session;
  std::unique_ptr<MacroEditorLogic> logic;
  std::unique_ptr<CDialogMacroEdit> editor;
  testing::TempFolder folder;
};

class MacroEditorWithoutKeypadTest : public MacroEditorTest {
 protected:
  MacroEditorWithoutKeypadTest() : MacroEditorTest(false) {}
};

TEST_F(MacroEditorTest, MacroScriptEditRunsTheEditorOnHelpAndTheFirstMacro) {
  CMorvelDlg& window = rig.Open();
  QString help;
  bool keypad_buttons = false;
  QString list_text;
  rig.prompts.play = [&](QDialog& dialog) {
    help = DialogItem<QPlainTextEdit>(dialog, kIdMacroHelpPane)->toPlainText();
    keypad_buttons = DialogItem(dialog, kIdMacroSaveOnboard)->isEnabled() &&
                     DialogItem(dialog, kIdMacroLoadOnboard)->isEnabled();
    list_text = DialogItem<QComboBox>(dialog, kIdMacroList)->currentText();
    EXPECT_EQ(DialogItem<QComboBox>(dialog, kIdMacroList)->count(), 32);
  };
  DialogItem<QPushButton>(window, kIdMacroScriptEdit)->click();

  EXPECT_EQ(rig.prompts.dialog_titles, std::vector<QString>{"Macro Editor"});
  EXPECT_EQ(window.Session().screen_keyboard_owner, kOwnerMacroEditor);
  EXPECT_TRUE(keypad_buttons);
  EXPECT_EQ(list_text, "Macro #00");
  EXPECT_TRUE(help.startsWith("\nMacro Number:  32, No.0~No.31\nMacro Command: Max 255"));
  EXPECT_TRUE(help.endsWith("        eg. 02, 200\n\n"));
}

TEST_F(MacroEditorWithoutKeypadTest, KeypadButtonsAreOffWhileHelpFilesAndRecorderWork) {
  CDialogMacroEdit& editor = Editor();
  EXPECT_FALSE(DialogItem(editor, kIdMacroSaveOnboard)->isEnabled());
  EXPECT_FALSE(DialogItem(editor, kIdMacroLoadOnboard)->isEnabled());
  for (const int id :
       {kIdMacroRecord, kIdMacroClear, kIdMacroLoadBackup, kIdMacroBackupFile, kIdMacroHelp}) {
    EXPECT_TRUE(DialogItem(editor, id)->isEnabled()) << id;
  }
  Type("delay 200\n");
  rig.prompts.save_answer = QString::fromStdString(folder.File("s.txt"));
  Click(kIdMacroBackupFile);
  EXPECT_EQ(ReadBytes(folder.File("s.txt")), "delay 200\r\n");
  Click(kIdMacroRecord);
  EXPECT_EQ(Pane(kIdMacroCommandPane).toPlainText(), "delay   ");
}

TEST_F(MacroEditorTest, ScriptsUnderTenCharactersAreRefusedCountedWithCrLf) {
  struct Case {
    const char* pane;
    bool stored;
  };
  for (const Case& c : {Case{"delay 2\n", false}, Case{"delay 20\n", true}}) {
    SCOPED_TRACE(c.pane);
    rig.prompts.messages.clear();
    Editor();
    Click(kIdMacroHelp);
    Type(c.pane);
    Click(kIdMacroSaveOnboard);
    EXPECT_EQ(Messages().contains("Save Macro#0 to device"), c.stored);
    EXPECT_EQ(rig.prompts.messages == std::vector<QString>{"ERROR: Wrong Script !"}, !c.stored);
  }
}

TEST_F(MacroEditorTest, SaveThenLoadOfMacroFiveListsTheScriptFromItsBlocks) {
  Editor();
  Pick(5);
  Type("press a  b  c  20\ndelay 200\n");
  Click(kIdMacroSaveOnboard);
  EXPECT_TRUE(Messages().endsWith("\nSave Macro#5 to device"));

  MacroBuffer stored{};
  std::ranges::copy(rig.keypad.BlockData(74), stored.begin());
  std::ranges::copy(rig.keypad.BlockData(75), stored.begin() + kBlockSize);
  const std::optional<std::string> listing = ListMacro(stored);
  ASSERT_TRUE(listing);
  EXPECT_NE(listing->find("press"), std::string::npos);

  Click(kIdMacroClear);
  Click(kIdMacroLoadOnboard);
  EXPECT_EQ(logic->CommandText(), *listing);
  EXPECT_EQ(rig.LogLines().back(), "iMarco=5, iMacroBlockID=74");
  EXPECT_FALSE(logic->Unsaved());
}

TEST_F(MacroEditorTest, StoreAndLoadShowTheirPagesInTheBusyDialog) {
  CDialogMacroEdit& editor = Editor();
  Type("press a  b  c  20\ndelay 200\n");
  for (const int id : {kIdMacroSaveOnboard, kIdMacroLoadOnboard}) {
    SCOPED_TRACE(id);
    int pages_seen = 0;
    // Runs whenever the busy dialog lets the window repaint.
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
      if (auto* busy = editor.findChild<BusyDialog*>()) pages_seen = busy->PagesDone();
    });
    probe.start();
    Click(id);
    EXPECT_EQ(pages_seen, 128);
    EXPECT_EQ(editor.findChild<BusyDialog*>(), nullptr);
  }
}

TEST_F(MacroEditorTest, NotReadyKeepsThePaneAndMessagesAccumulateUntilHelpOrClear) {
  Editor();
  Type("delay 200\n");
  Pick(7);
  Click(kIdMacroLoadOnboard);
  Click(kIdMacroLoadOnboard);
  EXPECT_EQ(Pane(kIdMacroCommandPane).toPlainText(), "delay 200\n");
  EXPECT_TRUE(Messages().endsWith("\n Macro No.7 Not Ready !\n Macro No.7 Not Ready !"));
  EXPECT_TRUE(Messages().startsWith("\nMacro Number:"));

  Click(kIdMacroSaveOnboard);
  Click(kIdMacroSaveOnboard);
  EXPECT_EQ(Messages().count("Save Macro#7 to device"), 2);
  Click(kIdMacroHelp);
  EXPECT_FALSE(Messages().contains("Save Macro"));
  EXPECT_TRUE(Editor().isVisible());  // HELP never closes the editor
  Click(kIdMacroClear);
  EXPECT_EQ(Messages(), "");
  EXPECT_EQ(Pane(kIdMacroCommandPane).toPlainText(), "");
}

TEST_F(MacroEditorTest, TypedMacroNumberIsRefusedWithNothingSent) {
  Editor();
  Type("delay 200\n");
  const std::vector<std::uint8_t> before(rig.keypad.BlockData(64).begin(),
                                         rig.keypad.BlockData(64).end());
  const std::size_t log_lines = rig.LogLines().size();
  DialogItem<QComboBox>(Editor(), kIdMacroList)->lineEdit()->setText("Macro #40");
  EXPECT_EQ(Editor().MacroSelection(), -1);
  Click(kIdMacroSaveOnboard);
  Click(kIdMacroLoadOnboard);
  const QString refusal = FromLatin1(kBadMacroNumberMessage);
  EXPECT_EQ(rig.prompts.messages, (std::vector<QString>{refusal, refusal}));
  EXPECT_EQ(rig.LogLines().size(), log_lines);
  EXPECT_TRUE(std::ranges::equal(rig.keypad.BlockData(64), before));
}

TEST_F(MacroEditorTest, ScriptThatDoesNotCompileSaysNothingWasStored) {
  Editor();
  Type("press a 20\nbogus b 20\n");
  Click(kIdMacroSaveOnboard);
  EXPECT_EQ(rig.prompts.messages, std::vector<QString>{FromLatin1(kCreateScriptError)});
  EXPECT_TRUE(Messages().contains("Nothing was stored"));
  EXPECT_FALSE(Messages().contains("Save Macro"));
  EXPECT_TRUE(
      std::ranges::all_of(rig.keypad.BlockData(64), [](std::uint8_t b) { return b == 0xFF; }));
}

TEST_F(MacroEditorTest, ScriptFilesRoundTripByteForByteWithCrLf) {
  struct Case {
    const char* name;
    std::string file;
  };
  const std::string crlf = "press a  b  c  20\r\ndelay 200\r\n\xE9t\xE9 30\r\n";
  for (const Case& c :
       {Case{"crlf", crlf}, Case{"lf", "press a  b  c  20\ndelay 200\n\xE9t\xE9 30\n"}}) {
    SCOPED_TRACE(c.name);
    const std::string in = folder.File(std::string(c.name) + ".txt");
    const std::string out = folder.File(std::string(c.name) + "-out.txt");
    WriteBytes(in, c.file);
    rig.prompts.open_answer = QString::fromStdString(in);
    rig.prompts.save_answer = QString::fromStdString(out);
    Click(kIdMacroLoadBackup);
    EXPECT_EQ(Editor().windowTitle(), QString::fromStdString(in));
    EXPECT_EQ(Pane(kIdMacroCommandPane).toPlainText(),
              QString::fromLatin1("press a  b  c  20\ndelay 200\n\xE9t\xE9 30\n"));
    Click(kIdMacroBackupFile);
    EXPECT_EQ(Editor().windowTitle(), QString::fromStdString(out));
    EXPECT_EQ(ReadBytes(out), crlf);
    EXPECT_EQ(rig.prompts.file_filters.back(), "Text File(*.txt)|txt");
  }
}

TEST_F(MacroEditorTest, FilesOfTenKilobytesOrMoreAreRefused) {
  for (const std::size_t size : {std::size_t{10239}, std::size_t{10240}}) {
    SCOPED_TRACE(size);
    rig.prompts.messages.clear();
    Click(kIdMacroClear);
    const std::string path = folder.File("big.txt");
    WriteBytes(path, std::string(size, 'x'));
    rig.prompts.open_answer = QString::fromStdString(path);
    Click(kIdMacroLoadBackup);
    const bool refused = size >= kMaxScriptFileSize;
    EXPECT_EQ(Pane(kIdMacroCommandPane).toPlainText().size(), refused ? 0 : 10239);
    EXPECT_EQ(rig.prompts.messages.size(), refused ? 1u : 0u);
    if (refused) {
      EXPECT_EQ(rig.prompts.messages[0], " ERROR: File is over size of 10Kbyte");
    }
  }
}

TEST_F(MacroEditorTest, FileErrorsAreToldAndAFailedSaveKeepsNoHalfFile) {
  Editor();
  Type("delay 200\n");
  rig.prompts.save_answer = QString::fromStdString(folder.File("missing/s.txt"));
  Click(kIdMacroBackupFile);
  EXPECT_EQ(rig.prompts.messages, std::vector<QString>{"Can't Open File "});
  EXPECT_TRUE(logic->Unsaved());

  rig.prompts.open_answer = QString::fromStdString(folder.File("none.txt"));
  Click(kIdMacroLoadBackup);
  EXPECT_EQ(rig.LogLines().back(), ">> Error: Can't open file");
  EXPECT_EQ(Pane(kIdMacroCommandPane).toPlainText(), "delay 200\n");
}

TEST_F(MacroEditorTest, ClosingAnUnsavedScriptAsksFirst) {
  CDialogMacroEdit& editor = Editor();
  editor.reject();  // nothing typed: no question
  EXPECT_TRUE(rig.prompts.questions.empty());
  editor.setResult(QDialog::Accepted);
  editor.show();
  Type("delay 200\n");
  editor.reject();
  EXPECT_EQ(rig.prompts.questions.size(), 1u);
  EXPECT_EQ(editor.result(), QDialog::Accepted);  // the user cancelled: still open
  rig.prompts.save_answer = QString::fromStdString(folder.File("s.txt"));
  Click(kIdMacroBackupFile);
  editor.reject();
  EXPECT_EQ(rig.prompts.questions.size(), 1u);
  EXPECT_EQ(editor.result(), QDialog::Rejected);
}

TEST_F(MacroEditorTest, LiveCheckNamesTheFirstRefusedLineAndCountsCommands) {
  Editor();
  Type("press a 20\nbogus b 20\ndelay 30\n");
  EXPECT_EQ(Label(kIdMacroCommandCount), "3 of 255 commands");
  EXPECT_TRUE(Label(kIdMacroProblem).startsWith("Line 2, \"bogus\""));
  EXPECT_EQ(Pane(kIdMacroCommandPane).extraSelections().size(), 1);

  QString long_script;
  for (int line = 0; line < 255; ++line) long_script += "delay 20\n";
  Type(long_script);
  EXPECT_EQ(Label(kIdMacroCommandCount), "255 of 255 commands");
  EXPECT_EQ(
      DialogItem<QLabel>(Editor(), kIdMacroCommandCount)->palette().color(QPalette::WindowText),
      QColor(Qt::red));
  Type("delay 20\n");
  EXPECT_EQ(Label(kIdMacroProblem), "");
  EXPECT_TRUE(Pane(kIdMacroCommandPane).extraSelections().isEmpty());
}

// --- The recorder, fed with synthetic events with fixed stamps ---

void SendKey(QWidget& target, QEvent::Type type, int key, std::uint64_t time,
             bool auto_repeat = false, Qt::KeyboardModifiers modifiers = {}) {
  QKeyEvent event(type, key, modifiers, QString(), auto_repeat);
  event.setTimestamp(time);
  QApplication::sendEvent(&target, &event);
}

void SendMouse(QWidget& target, QEvent::Type type, Qt::MouseButton button, std::uint64_t time) {
  const QPointF at(target.width() / 2.0, target.height() / 2.0);
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
  QMouseEvent event(type, at, target.mapToGlobal(at), button, held, Qt::NoModifier);
  event.setTimestamp(time);
  QApplication::sendEvent(&target, &event);
}

std::string VirtualKeyNameOf(std::size_t code) { return std::string(VirtualKeyName(code)); }

class MacroRecorderWindowTest : public MacroEditorTest {
 protected:
  // Starts recording at 1000 ms, as a click on RECORD/PLAY does.
  QWidget& Start() {
    Editor().SetClock([] { return 1000u; });
    Click(kIdMacroRecord);
    return *Pane(kIdMacroCommandPane).viewport();
  }
  // The click on RECORD/STOP, at `time`, through the button's own mouse events.
  QString Stop(std::uint64_t time) {
    auto* button = DialogItem<QPushButton>(Editor(), kIdMacroRecord);
    EXPECT_EQ(button->text(), "RECORD/STOP");
    SendMouse(*button, QEvent::MouseButtonPress, Qt::LeftButton, time);
    SendMouse(*button, QEvent::MouseButtonRelease, Qt::LeftButton, time + 60);
    EXPECT_EQ(button->text(), "RECORD/PLAY");
    return FromLatin1(logic->CommandText());
  }
};

TEST_F(MacroRecorderWindowTest, KeyPressAndReleaseGiveTwoLines) {
  QWidget& pane = Start();
  SendKey(pane, QEvent::KeyPress, Qt::Key_A, 1100);
  SendKey(pane, QEvent::KeyRelease, Qt::Key_A, 1183);
  EXPECT_TRUE(Messages().contains("WM_0x0100  K=65  T=1100"));
  EXPECT_EQ(Stop(1400), "press         a    80  \r\nrelease         a    32  \r\n");
  // Key events were the recorder's alone: nothing was typed into the pane.
  EXPECT_FALSE(Pane(kIdMacroCommandPane).toPlainText().contains("a\na"));
}

TEST_F(MacroRecorderWindowTest, RecordedLinesOfEachInput) {
  struct Case {
    const char* name;
    std::function<void(QWidget&)> input;
    std::string script;
    const char* trace = "";  // a line the message pane shows
  };
  const std::vector<Case> cases = {
      {"double click as the window system gives it",
       [](QWidget& w) {
         SendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, 1100);
         SendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, 1150);
         SendMouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton, 1300);
         SendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, 1350);
       },
       "press         M_Left    48  \r\nrelease      M_Left    148  \r\n"
       "press         M_Left    48  \r\nrelease      M_Left    32  \r\n"},
      {"double click as Qt gives it: a press, then the double click with its stamp",
       [](QWidget& w) {
         SendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, 1100);
         SendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, 1150);
         SendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, 1300);
         SendMouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton, 1300);
         SendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, 1350);
       },
       "press         M_Left    48  \r\nrelease      M_Left    148  \r\n"
       "press         M_Left    48  \r\nrelease      M_Left    32  \r\n"},
      {"a key without a name",
       [](QWidget& w) {
         SendKey(w, QEvent::KeyPress, Qt::Key_unknown, 1100);
         SendKey(w, QEvent::KeyRelease, Qt::Key_unknown, 1200);
       },
       "press         NULL    100  \r\nrelease         NULL    32  \r\n"},
      {"auto-repeat: a press per repeat, one release",
       [](QWidget& w) {
         SendKey(w, QEvent::KeyPress, Qt::Key_A, 1100);
         SendKey(w, QEvent::KeyRelease, Qt::Key_A, 1140, true);
         SendKey(w, QEvent::KeyPress, Qt::Key_A, 1140, true);
         SendKey(w, QEvent::KeyRelease, Qt::Key_A, 1180, true);
         SendKey(w, QEvent::KeyPress, Qt::Key_A, 1180, true);
         SendKey(w, QEvent::KeyRelease, Qt::Key_A, 1260);
       },
       "press         a    40  \r\npress         a    40  \r\npress         a    80  \r\n"
       "release         a    32  \r\n"},
      {"Alt and F10 are system keys; the right button is consumed",
       [](QWidget& w) {
         SendKey(w, QEvent::KeyPress, Qt::Key_X, 1100, false, Qt::AltModifier);
         SendKey(w, QEvent::KeyRelease, Qt::Key_F10, 1200);
         SendMouse(w, QEvent::MouseButtonPress, Qt::RightButton, 1300);
         SendMouse(w, QEvent::MouseButtonRelease, Qt::RightButton, 1400);
       },
       "press         x    100  \r\nrelease         " + VirtualKeyNameOf(0x79) +
           "    100  \r\n"
           "press         M_Right    100  \r\nrelease      M_Right    32  \r\n",
       "WM_0x0104  K=88  T=1100\nWM_0x0105  K=121  T=1200\nWM_0x0204  K=2  T=1300\n"},
      {"nothing but the stop click", [](QWidget&) {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Click(kIdMacroClear);
    c.input(Start());
    EXPECT_EQ(Stop(2000).toStdString(), c.script);
    EXPECT_TRUE(Messages().contains(c.trace)) << Messages().toStdString();
  }
}

TEST_F(MacroRecorderWindowTest, ASecondRecordingContinuesTheFirst) {
  QWidget& pane = Start();
  SendKey(pane, QEvent::KeyPress, Qt::Key_A, 1100);
  SendKey(pane, QEvent::KeyRelease, Qt::Key_A, 1200);
  Stop(1300);
  Editor().SetClock([] { return 5000u; });
  Click(kIdMacroRecord);
  SendKey(pane, QEvent::KeyPress, Qt::Key_B, 5100);
  SendKey(pane, QEvent::KeyRelease, Qt::Key_B, 5200);
  EXPECT_EQ(Stop(5300),
            "press         a    100  \r\nrelease         a    3900  \r\n"
            "press         b    100  \r\nrelease         b    32  \r\n");
}

}  // namespace
}  // namespace qp40::test
