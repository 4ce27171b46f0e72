#pragma once

#include <string_view>

namespace qp40 {

// How core code tells the user something that needs attention. The window shows a message
// box with an OK button, the command-line tool prints a line on stderr, tests record the text.
class Notifier {
 public:
  virtual ~Notifier() = default;
  virtual void ShowMessage(std::string_view text) = 0;
};

}  // namespace qp40
