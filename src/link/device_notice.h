#pragma once

#include <string>

namespace qp40 {

// One notice of the platform's device watch: a HID device node came or went.
struct DeviceNotice {
  enum class Change {
    kAdded,
    kRemoved,
  };
  Change change = Change::kAdded;
  // The node as the transport lists it (on Linux "/dev/hidrawN"); may be empty when the
  // platform does not say.
  std::string node;

  bool operator==(const DeviceNotice&) const = default;
};

}  // namespace qp40
