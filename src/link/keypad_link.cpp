#include "link/keypad_link.h"

namespace qp40 {

KeypadLink::KeypadLink(Transport& transport, Log& log, Notifier& notifier)
    : transport_(transport), log_(log), notifier_(notifier) {}

KeypadLink::~KeypadLink() { CloseKeypad(); }

}  // namespace qp40
