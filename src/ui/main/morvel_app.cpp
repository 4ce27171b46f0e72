#include "ui/main/morvel_app.h"

#include <QEventLoop>
#include <QIcon>
#include <QTimer>
#include <memory>

#include "history/history_folder.h"
#include "log/clock.h"
#include "log/log.h"
#include "session/keypad_session.h"
#include "ui/common/device_notice_watch.h"
#include "ui/common/repainting_transport.h"
#include "ui/common/user_prompts.h"
#include "ui/main/keypad_names.h"
#include "ui/main/main_dialog.h"

namespace qp40 {

CMorvelApp::CMorvelApp(int& argc, char** argv) : QApplication(argc, argv) {
  // The settings (the keypads' names) live under qp40/qp40config.
  setOrganizationName(QStringLiteral("qp40"));
  setApplicationName(QStringLiteral("qp40config"));
  setDesktopFileName(QStringLiteral("qp40config"));
  setWindowIcon(QIcon(QStringLiteral(":/qp40config.png")));
}

int CMorvelApp::InitInstance(Transport& transport, const DeviceNoticeSource& notices,
                             const std::optional<std::filesystem::path>& history_root) {
  QtUserPrompts prompts;
  PromptNotifier notifier(prompts);
  const SystemClock clock;
  Log log(clock, notifier);
  // A keypad that stops answering makes the link wait; the window repaints meanwhile.
  RepaintingTransport repainting(transport);
  KeypadSession session(repainting, log, notifier);
  if (history_root) session.SetHistoryRoot(*history_root, HistoryLimitsFrom(ProcessEnvironment));

  // A pause keeps the window painted and takes no input meanwhile, so no command starts in it.
  const auto pause = [](int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  };
  SettingsKeypadNames names;
  CMorvelDlg dialog(
      MainDialogServices{session, log, notifier, prompts, {}, pause, &repainting, &names});
  notifier.SetParent(&dialog);

  const std::unique_ptr<QObject> listener = WatchDeviceNotices(
      notices, dialog,
      DeviceNoticeHandlers{[&dialog](int event_type) { dialog.OnDeviceChange(event_type); },
                           [&dialog](const std::string& node) { dialog.OnDeviceRemoved(node); }});

  // The window is up before the first search, so the busy dialog of a load stands over it.
  dialog.show();
  dialog.OnInitDialog();
  dialog.exec();
  return 0;
}

}  // namespace qp40
