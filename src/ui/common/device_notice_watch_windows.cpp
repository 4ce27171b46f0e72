// The device notices of Windows: WM_DEVICECHANGE messages to the main window, for the HID
// interfaces registered with RegisterDeviceNotification and for the broadcast "device nodes
// changed". Compiled on Windows only; the other systems watch a descriptor
// (device_notice_watch.cpp).
#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// dbt.h needs the types of windows.h.
#include <dbt.h>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QWidget>

#include "ui/common/device_notice_watch.h"

namespace qp40 {
namespace {

// The interface class of HID devices (GUID_DEVINTERFACE_HID, what HidD_GetHidGuid returns).
constexpr GUID kHidInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

bool IsDeviceChange(WPARAM event_type) {
  return event_type == DBT_DEVNODES_CHANGED || event_type == DBT_DEVICEARRIVAL ||
         event_type == DBT_DEVICEREMOVECOMPLETE;
}

// Registers the window for the notices of HID interfaces and runs the handler for each notice
// that says the devices changed, as event type 7. It lives as a QObject so the window owns it
// like the descriptor listener.
class WindowsDeviceNotices final : public QObject, public QAbstractNativeEventFilter {
 public:
  WindowsDeviceNotices(HWND window, std::function<void(int)> on_device_change)
      : window_(window), on_device_change_(std::move(on_device_change)) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterfaceClass;
    registration_ = RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~WindowsDeviceNotices() override {
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (registration_ != nullptr) UnregisterDeviceNotification(registration_);
  }
  WindowsDeviceNotices(const WindowsDeviceNotices&) = delete;
  WindowsDeviceNotices& operator=(const WindowsDeviceNotices&) = delete;

  bool nativeEventFilter(const QByteArray& event_type, void* message, qintptr*) override {
    if (event_type != "windows_generic_MSG" || message == nullptr) return false;
    const MSG& msg = *static_cast<const MSG*>(message);
    if (msg.hwnd != window_ || msg.message != WM_DEVICECHANGE || !IsDeviceChange(msg.wParam)) {
      return false;
    }
    // A load started by a notice repaints the window, which lets further notices in; they run
    // the handler once more after it is done instead of inside it.
    if (running_) {
      pending_ = true;
      return false;
    }
    running_ = true;
    do {
      pending_ = false;
      on_device_change_(kDeviceNodesChanged);
    } while (pending_);
    running_ = false;
    // The window's own handling of the message goes on as usual.
    return false;
  }

 private:
  HWND window_;
  std::function<void(int)> on_device_change_;
  HDEVNOTIFY registration_ = nullptr;
  bool running_ = false;
  bool pending_ = false;
};

}  // namespace

std::unique_ptr<QObject> WatchDeviceNotices(const DeviceNoticeSource& source, QWidget& window,
                                            DeviceNoticeHandlers handlers) {
  if (!source.window_notices) return nullptr;
  return std::make_unique<WindowsDeviceNotices>(reinterpret_cast<HWND>(window.winId()),
                                                std::move(handlers.on_device_change));
}

}  // namespace qp40

#endif  // _WIN32
