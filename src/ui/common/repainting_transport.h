#pragma once

#include <chrono>
#include <functional>

#include "link/transport.h"

namespace qp40 {

// Keeps the window alive while the link waits for a keypad that does not answer: each wait for
// a reply is cut into slices, and between slices the windows repaint (user input stays queued,
// so no command can start inside another). A wait that ends sooner than its slice is the
// transport's own verdict and is passed on as it is: the virtual keypad, which reports a
// time-out at once, behaves exactly as without this layer.
class RepaintingTransport final : public Transport {
 public:
  using Now = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr int kSliceMs = 100;

  explicit RepaintingTransport(Transport& inner, std::function<void()> repaint = {}, Now now = {});

  std::vector<HidInterfaceInfo> ListInterfaces() override { return inner_.ListInterfaces(); }
  OpenResult<ReadChannel> OpenRead(const std::string& path) override;
  OpenResult<WriteChannel> OpenWrite(const std::string& path) override {
    return inner_.OpenWrite(path);
  }

 private:
  Transport& inner_;
  std::function<void()> repaint_;
  Now now_;
};

}  // namespace qp40
