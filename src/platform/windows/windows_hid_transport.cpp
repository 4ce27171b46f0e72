#include "platform/windows/windows_hid_transport.h"

// The HID headers need the types of windows.h, which the handle header brings in first.
#include "platform/windows/win32_handle.h"
#include "platform/windows/windows_hid_channels.h"

// MinGW's hidsdi.h declares the HidD functions without C linkage.
extern "C" {
#include <hidsdi.h>
}
#include <setupapi.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

namespace qp40 {

namespace {

// The sizes of the device's reports, report-ID byte included; 0 when they cannot be read.
struct ReportLengths {
  std::size_t input = 0;
  std::size_t output = 0;
};

ReportLengths ReadReportLengths(HANDLE handle) {
  PHIDP_PREPARSED_DATA preparsed = nullptr;
  if (!HidD_GetPreparsedData(handle, &preparsed)) return {};
  HIDP_CAPS caps{};
  const bool read = HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS;
  HidD_FreePreparsedData(preparsed);
  if (!read) return {};
  return {caps.InputReportByteLength, caps.OutputReportByteLength};
}

OpenError WhyOpenFailed(DWORD error) {
  return error == ERROR_ACCESS_DENIED ? OpenError::kPermissionDenied : OpenError::kOther;
}

Win32Handle OpenForData(const std::string& path, DWORD access) {
  return Win32Handle(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
}

// The path in an interface's detail record, which holds `size` bytes in all.
std::string DevicePathOf(const SP_DEVICE_INTERFACE_DETAIL_DATA_A& detail, DWORD size) {
  const std::size_t offset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
  if (size <= offset) return {};
  return std::string(detail.DevicePath, strnlen(detail.DevicePath, size - offset));
}

// The vendor and product ID of one interface, read on a handle without access rights, which
// every interface grants, even one the system keeps for itself.
bool ReadAttributes(const std::string& path, HidInterfaceInfo& info) {
  const Win32Handle probe(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
  if (!probe.Valid()) return false;
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof(attributes);
  if (!HidD_GetAttributes(probe.Get(), &attributes)) return false;
  info = {path, attributes.VendorID, attributes.ProductID};
  return true;
}

}  // namespace

std::vector<HidInterfaceInfo> WindowsHidTransport::ListInterfaces() {
  std::vector<HidInterfaceInfo> interfaces;
  GUID hid_class{};
  HidD_GetHidGuid(&hid_class);
  HDEVINFO devices =
      SetupDiGetClassDevsA(&hid_class, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (devices == INVALID_HANDLE_VALUE) return interfaces;

  for (DWORD index = 0;; ++index) {
    SP_DEVICE_INTERFACE_DATA interface_data{};
    interface_data.cbSize = sizeof(interface_data);
    if (!SetupDiEnumDeviceInterfaces(devices, nullptr, &hid_class, index, &interface_data)) {
      break;
    }
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailA(devices, &interface_data, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) continue;
    // The record holds a DWORD first; DWORD storage keeps it aligned.
    std::unique_ptr<DWORD[]> storage(new (std::nothrow) DWORD[size / sizeof(DWORD) + 1]);
    if (storage == nullptr) break;  // out of memory: the interfaces found so far stand
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.get());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (!SetupDiGetDeviceInterfaceDetailA(devices, &interface_data, detail, size, nullptr,
                                          nullptr)) {
      continue;
    }
    HidInterfaceInfo info;
    const std::string path = DevicePathOf(*detail, size);
    if (!path.empty() && ReadAttributes(path, info)) interfaces.push_back(std::move(info));
  }
  SetupDiDestroyDeviceInfoList(devices);
  return interfaces;
}

OpenResult<ReadChannel> WindowsHidTransport::OpenRead(const std::string& path) {
  Win32Handle handle = OpenForData(path, GENERIC_READ);
  if (!handle.Valid()) return {nullptr, WhyOpenFailed(GetLastError())};
  const ReportLengths lengths = ReadReportLengths(handle.Get());
  return {std::make_unique<WindowsHidReadChannel>(std::move(handle), lengths.input),
          OpenError::kNone};
}

OpenResult<WriteChannel> WindowsHidTransport::OpenWrite(const std::string& path) {
  Win32Handle handle = OpenForData(path, GENERIC_WRITE);
  if (!handle.Valid()) return {nullptr, WhyOpenFailed(GetLastError())};
  const ReportLengths lengths = ReadReportLengths(handle.Get());
  return {std::make_unique<WindowsHidWriteChannel>(std::move(handle), lengths.output),
          OpenError::kNone};
}

}  // namespace qp40
