#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "link/transport.h"
#include "link_test_support.h"

namespace qp40::testing {

// A transport that follows a script: each Send must carry exactly the next expected request,
// each Receive takes the next scripted reply, time-out or vanished device. Anything unexpected
// fails the test, and so does a script that is not used up when the transport goes away.
// Every call lands in `trace` ("discard", "send", "receive") so tests can check their order.
class ScriptedTransport final : public Transport {
 public:
  ~ScriptedTransport() override {
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " scripted steps left over";
  }

  ScriptedTransport& ExpectSend(const ConfigReport& request,
                                SendStatus status = SendStatus::kSent) {
    steps_.push_back({Step::kSend, request, status, ReceiveStatus::kReceived});
    return *this;
  }
  ScriptedTransport& Reply(const ConfigReport& reply) {
    steps_.push_back({Step::kReceive, reply, SendStatus::kSent, ReceiveStatus::kReceived});
    return *this;
  }
  ScriptedTransport& TimeOut() {
    steps_.push_back({Step::kReceive, {}, SendStatus::kSent, ReceiveStatus::kTimedOut});
    return *this;
  }
  ScriptedTransport& VanishOnReceive() {
    steps_.push_back({Step::kReceive, {}, SendStatus::kSent, ReceiveStatus::kDeviceGone});
    return *this;
  }

  std::vector<HidInterfaceInfo> ListInterfaces() override { return interfaces; }
  OpenResult<ReadChannel> OpenRead(const std::string& path) override {
    opened_read_paths.push_back(path);
    if (read_error != OpenError::kNone) {
      return {nullptr, read_error};
    }
    return {std::make_unique<Reader>(*this), OpenError::kNone};
  }
  OpenResult<WriteChannel> OpenWrite(const std::string& path) override {
    opened_write_paths.push_back(path);
    if (write_error != OpenError::kNone) {
      return {nullptr, write_error};
    }
    return {std::make_unique<Writer>(*this), OpenError::kNone};
  }

  std::vector<HidInterfaceInfo> interfaces{{"keypad", kKeypadVendorId, kKeypadProductId}};
  OpenError read_error = OpenError::kNone;
  OpenError write_error = OpenError::kNone;
  std::vector<std::string> opened_read_paths;
  std::vector<std::string> opened_write_paths;
  std::vector<std::string> trace;

 private:
  struct Step {
    enum Kind { kSend, kReceive } kind;
    ConfigReport report;
    SendStatus send_status;
    ReceiveStatus receive_status;
  };

  class Reader final : public ReadChannel {
   public:
    explicit Reader(ScriptedTransport& script) : script_(script) {}
    ReceiveStatus Receive(ConfigReport& report, int timeout_ms) override {
      script_.trace.push_back("receive");
      EXPECT_EQ(timeout_ms, kReplyTimeoutMs);
      if (script_.steps_.empty() || script_.steps_.front().kind != Step::kReceive) {
        ADD_FAILURE() << "unexpected receive";
        return ReceiveStatus::kTimedOut;
      }
      const Step step = script_.steps_.front();
      script_.steps_.pop_front();
      if (step.receive_status == ReceiveStatus::kReceived) {
        report = step.report;
      }
      return step.receive_status;
    }
    int DiscardPending() override {
      script_.trace.push_back("discard");
      return 0;
    }

   private:
    ScriptedTransport& script_;
  };

  class Writer final : public WriteChannel {
   public:
    explicit Writer(ScriptedTransport& script) : script_(script) {}
    SendStatus Send(const ConfigReport& report) override {
      script_.trace.push_back("send");
      if (script_.steps_.empty() || script_.steps_.front().kind != Step::kSend) {
        ADD_FAILURE() << "unexpected request " << Hex(report);
        return SendStatus::kSent;
      }
      const Step step = script_.steps_.front();
      script_.steps_.pop_front();
      if (report != step.report) {
        ADD_FAILURE() << "request\n    sent: " << Hex(report) << "\nexpected: " << Hex(step.report);
      }
      return step.send_status;
    }

   private:
    ScriptedTransport& script_;
  };

  std::deque<Step> steps_;
};

}  // namespace qp40::testing
