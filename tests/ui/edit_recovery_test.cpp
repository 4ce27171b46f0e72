// Unsaved edits kept in a recovery file while the window runs, and offered back by the next
// window when the one that kept them was killed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "history/recovery_file.h"
#include "layout/layout_file.h"
#include "ui/common/clr_button.h"
#include "ui_fixture.h"

namespace qp40::test {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::uint8_t, 4> kKeyA = {0x80, 0x04, 0x00, 0x00};
constexpr std::array<std::uint8_t, 4> kKeyEnter = {0x80, 0x28, 0x00, 0x00};

// The id of a process that ran and was killed, as a crashed window would be.
std::int64_t KilledProcessId() {
  QProcess process;
  process.start(QStringLiteral("cat"), {});
  EXPECT_TRUE(process.waitForStarted());
  const std::int64_t id = process.processId();
  process.kill();
  EXPECT_TRUE(process.waitForFinished());
  return id;
}

class EditRecoveryTest : public ::testing::Test {
 protected:
  // A keypad whose key 11 types "a" and key 12 Enter, its history in the test's folder.
  std::unique_ptr<WindowRig> NewRig() {
    auto rig = std::make_unique<WindowRig>();
    PutRecord(rig->KeypadProfileBlock(), 0, 0, kKeyA);
    PutRecord(rig->KeypadProfileBlock(), 0, 1, kKeyEnter);
    rig->session.SetHistoryRoot(Root());
    return rig;
  }
  fs::path Root() const { return fs::path(folder.path().toStdString()); }
  static CMorvelDlg& Open(WindowRig& rig) {
    CMorvelDlg& window = rig.Open();
    window.activateWindow();
    QApplication::processEvents();
    return window;
  }
  static void Keys(WindowRig& rig, int key) {
    rig.dialog->activateWindow();
    QApplication::processEvents();
    QTest::keyClick(rig.dialog.get(), static_cast<Qt::Key>(key), Qt::ControlModifier);
  }
  static fs::path Folder(WindowRig& rig) { return rig.session.KeypadHistory()->Folder(); }
  static fs::path OwnFile(WindowRig& rig) {
    return RecoveryFilePath(Folder(rig), QCoreApplication::applicationPid());
  }
  // Key `column` of the first row as the recovery file `path` holds it; "" without the file.
  static std::string KeptKey(const fs::path& path, int column) {
    const LayoutParse parsed = ReadLayoutFile(path);
    if (!parsed.layout) return {};
    return parsed.layout->profiles[0].keys[static_cast<std::size_t>(column - 1)];
  }
  // Lets the once-a-second timer end now, as it would a second later.
  static void EndRecoveryTimer(WindowRig& rig) {
    auto* timer = rig.dialog->findChild<QTimer*>(QStringLiteral("recoveryTimer"));
    ASSERT_NE(timer, nullptr);
    ASSERT_TRUE(timer->isActive());
    timer->start(0);
    QApplication::processEvents();
    // It wrote the file and runs its second again.
    EXPECT_EQ(timer->interval(), 1000);
  }
  static bool Marked(WindowRig& rig, int column) {
    return rig.dialog->KeyButton(1, column)->Marked();
  }

  QTemporaryDir folder;
};

TEST_F(EditRecoveryTest, TheFileFollowsTheEditsAtMostOnceASecondAndGoesWhenNothingIsUnsaved) {
  const auto rig = NewRig();
  CMorvelDlg& window = Open(*rig);
  const fs::path own = OwnFile(*rig);
  EXPECT_FALSE(fs::exists(own));

  window.CopyKey(1, 1);
  ASSERT_TRUE(window.PasteKey(1, 2));
  EXPECT_EQ(KeptKey(own, 2), "a");
  // Within the second the file waits; when it ends, the file catches up.
  ASSERT_TRUE(window.PasteKey(1, 3));
  EXPECT_NE(KeptKey(own, 3), "a");
  EndRecoveryTimer(*rig);
  EXPECT_EQ(KeptKey(own, 3), "a");

  Keys(*rig, Qt::Key_S);
  EXPECT_FALSE(fs::exists(own));
  ASSERT_TRUE(window.PasteKey(1, 4));
  EXPECT_TRUE(fs::exists(own));
  // Undone back to what the keypad holds: nothing to recover.
  Keys(*rig, Qt::Key_Z);
  EXPECT_FALSE(fs::exists(own));
  ASSERT_TRUE(window.PasteKey(1, 4));
  EXPECT_TRUE(fs::exists(own));
  // A window that closes leaves no file behind.
  rig->dialog.reset();
  EXPECT_FALSE(fs::exists(own));
  EXPECT_TRUE(RecoveryFiles(own.parent_path()).empty());
}

class EditRecoveryOfferTest : public EditRecoveryTest,
                              public ::testing::WithParamInterface<const char*> {
 protected:
  // What a window killed after pasting key 11 onto key 12 left behind.
  fs::path LeftByKilledWindow() {
    const auto first = NewRig();
    CMorvelDlg& window = Open(*first);
    window.CopyKey(1, 1);
    EXPECT_TRUE(window.PasteKey(1, 2));
    QFile own(QString::fromStdString(OwnFile(*first).string()));
    EXPECT_TRUE(own.open(QIODevice::ReadOnly));
    const QByteArray text = own.readAll();
    fs::path left = RecoveryFilePath(Folder(*first), KilledProcessId());
    QFile file(QString::fromStdString(left.string()));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return left;
  }
};

TEST_P(EditRecoveryOfferTest, TheNextWindowOffersTheEditsBack) {
  const bool restore = QString::fromLatin1(GetParam()) == "Restore";
  const fs::path left = LeftByKilledWindow();
  const QString time = QFileInfo(QString::fromStdString(left.string()))
                           .lastModified()
                           .toString(QStringLiteral("HH:mm"));

  const auto next = NewRig();
  next->prompts.choice_answers = {QString::fromLatin1(GetParam())};
  Open(*next);
  ASSERT_FALSE(next->prompts.choices.empty());
  EXPECT_EQ(next->prompts.choices.back(),
            QStringLiteral("Restore unsaved edits from %1? [Restore|Discard]").arg(time));
  EXPECT_FALSE(fs::exists(left));
  EXPECT_EQ(Marked(*next, 2), restore);
  EXPECT_EQ(next->dialog->windowTitle().endsWith(" *"), restore);
  // Restored edits are this window's now: its own file keeps them.
  EXPECT_EQ(fs::exists(OwnFile(*next)), restore);
  if (restore) {
    Keys(*next, Qt::Key_Z);
    EXPECT_FALSE(Marked(*next, 2));
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, EditRecoveryOfferTest, ::testing::Values("Restore", "Discard"));

// The window of a process the test kills: run only as that process, with the history root in
// QP40_TEST_KILLED_WINDOW; it pastes key 11 onto key 12, says "edited" and waits to be killed.
TEST_F(EditRecoveryTest, KilledWindowChild) {
  const QByteArray root = qgetenv("QP40_TEST_KILLED_WINDOW");
  if (root.isEmpty()) GTEST_SKIP() << "runs as the process that EditsOfAKilledWindowComeBack kills";
  auto rig = std::make_unique<WindowRig>();
  PutRecord(rig->KeypadProfileBlock(), 0, 0, kKeyA);
  PutRecord(rig->KeypadProfileBlock(), 0, 1, kKeyEnter);
  rig->session.SetHistoryRoot(fs::path(root.toStdString()));
  CMorvelDlg& window = Open(*rig);
  window.CopyKey(1, 1);
  ASSERT_TRUE(window.PasteKey(1, 2));
  EXPECT_GE(std::fputs("edited\n", stdout), 0);
  EXPECT_EQ(std::fflush(stdout), 0);
  // Waits for the kill; a closed input ends the wait, and the window then closes cleanly.
  [[maybe_unused]] const int end = std::getchar();
  // A killed process runs no destructor either.
  [[maybe_unused]] const WindowRig* left_running = rig.release();
}

TEST_F(EditRecoveryTest, EditsOfAKilledWindowComeBack) {
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QP40_TEST_KILLED_WINDOW"), folder.path());
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=EditRecoveryTest.KilledWindowChild")});
  ASSERT_TRUE(child.waitForStarted());
  QByteArray said;
  while (!said.contains("edited") && child.waitForReadyRead()) {
    said += child.readAllStandardOutput();
  }
  ASSERT_TRUE(said.contains("edited")) << said.toStdString();
  child.kill();
  ASSERT_TRUE(child.waitForFinished());
  EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

  const auto next = NewRig();
  next->prompts.choice_answers = {QStringLiteral("Restore")};
  Open(*next);
  ASSERT_EQ(next->prompts.choices.size(), 1U);
  EXPECT_TRUE(next->prompts.choices.back().startsWith("Restore unsaved edits from "));
  EXPECT_TRUE(Marked(*next, 2));
  EXPECT_EQ(WorkingRecord(next->config.working_profile, 1), kKeyA);
}

TEST_F(EditRecoveryTest, FilesOfRunningWindowsAndCorruptFilesAreNotOffered) {
  const auto first = NewRig();
  Open(*first);
  const fs::path folder_path = Folder(*first);
  first->dialog.reset();
  QProcess running;
  running.start(QStringLiteral("cat"), {});
  ASSERT_TRUE(running.waitForStarted());
  const fs::path of_running = RecoveryFilePath(folder_path, running.processId());
  const fs::path corrupt = RecoveryFilePath(folder_path, KilledProcessId());
  for (const fs::path& path : {of_running, corrupt}) {
    QFile file(QString::fromStdString(path.string()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"format\": ");
  }

  const auto next = NewRig();
  Open(*next);
  EXPECT_TRUE(next->prompts.choices.empty());
  EXPECT_TRUE(fs::exists(of_running));
  EXPECT_TRUE(fs::exists(corrupt));
  const std::vector<std::string> lines = next->LogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       ">> Recovery: " + corrupt.string() +
                           " cannot be read or is of another keypad; it is skipped"),
            1);
  running.kill();
  running.waitForFinished();
}

}  // namespace
}  // namespace qp40::test
