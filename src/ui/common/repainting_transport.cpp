#include "ui/common/repainting_transport.h"

#include <algorithm>

#include "ui/common/busy_dialog.h"

namespace qp40 {

namespace {

using std::chrono::milliseconds;

class RepaintingReadChannel final : public ReadChannel {
 public:
  RepaintingReadChannel(std::unique_ptr<ReadChannel> inner, std::function<void()> repaint,
                        RepaintingTransport::Now now)
      : inner_(std::move(inner)), repaint_(std::move(repaint)), now_(std::move(now)) {}

  ReceiveStatus Receive(ConfigReport& report, int timeout_ms) override {
    const auto deadline = now_() + milliseconds(timeout_ms);
    int remaining = timeout_ms;
    while (true) {
      const int slice = std::min(remaining, RepaintingTransport::kSliceMs);
      const auto start = now_();
      const ReceiveStatus status = inner_->Receive(report, slice);
      if (status != ReceiveStatus::kTimedOut) return status;
      const auto waited = now_() - start;
      remaining =
          static_cast<int>(std::chrono::duration_cast<milliseconds>(deadline - now_()).count());
      if (waited < milliseconds(slice / 2) || remaining <= 0) return ReceiveStatus::kTimedOut;
      repaint_();
    }
  }

  int DiscardPending() override { return inner_->DiscardPending(); }

 private:
  std::unique_ptr<ReadChannel> inner_;
  std::function<void()> repaint_;
  RepaintingTransport::Now now_;
};

}  // namespace

RepaintingTransport::RepaintingTransport(Transport& inner, std::function<void()> repaint, Now now)
    : inner_(inner),
      repaint_(repaint ? std::move(repaint) : std::function<void()>(RepaintWhileBusy)),
      now_(now ? std::move(now) : Now(std::chrono::steady_clock::now)) {}

OpenResult<ReadChannel> RepaintingTransport::OpenRead(const std::string& path) {
  OpenResult<ReadChannel> opened = inner_.OpenRead(path);
  if (opened.channel) {
    opened.channel =
        std::make_unique<RepaintingReadChannel>(std::move(opened.channel), repaint_, now_);
  }
  return opened;
}

}  // namespace qp40
