#pragma once

#include <functional>
#include <memory>

namespace qp40 {

// The device work of a keypad session that takes pages.
enum class DeviceWork {
  kLoad,        // reading the configuration
  kSave,        // writing the blocks of the configuration that changed
  kCheck,       // reading back what a save wrote
  kMacroLoad,   // reading one macro
  kMacroStore,  // writing one macro
};

// What the caller shows while device work runs: told once per page exchanged. It lives from the
// start of the work to its end, so a window may count itself busy for as long as it exists.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void PageDone() = 0;
};

// Called at the start of each device work with the number of pages it will exchange at most;
// what it returns is told of every page and destroyed when the work ends. An empty handler, or
// one that returns nothing, shows nothing.
using ProgressHandler = std::function<std::unique_ptr<Progress>(DeviceWork work, int total_pages)>;

}  // namespace qp40
