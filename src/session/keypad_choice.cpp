#include "session/keypad_choice.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace qp40 {
namespace {

std::optional<int> ParseNumber(std::string_view text) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return number;
}

KeypadChoice Choose(KeypadList list, std::string_view device, Transport& transport, Log& log,
                    Notifier& notifier) {
  KeypadChoice choice;
  const auto chosen = [&choice](const ListedKeypad& keypad) {
    choice.status = ChoiceStatus::kChosen;
    choice.path = keypad.path;
  };
  if (list.keypads.empty()) {
    choice.list = std::move(list);
    return choice;
  }
  if (device.empty()) {
    if (list.keypads.size() == 1) {
      chosen(list.keypads.front());
    } else {
      choice.status = ChoiceStatus::kSeveral;
    }
  } else if (const std::optional<int> number = ParseNumber(device)) {
    if (*number >= 1 && static_cast<std::size_t>(*number) <= list.keypads.size()) {
      chosen(list.keypads.at(static_cast<std::size_t>(*number) - 1));
    } else {
      choice.status = ChoiceStatus::kNumberOutOfRange;
    }
  } else if (const std::optional<DeviceId> identity = ParseIdentity(device)) {
    ReadKeypadDetails(list, transport, log, notifier);
    const auto matches =
        std::count_if(list.keypads.begin(), list.keypads.end(),
                      [&](const ListedKeypad& k) { return k.identity == identity; });
    if (matches == 1) {
      chosen(*std::find_if(list.keypads.begin(), list.keypads.end(),
                           [&](const ListedKeypad& k) { return k.identity == identity; }));
    } else {
      choice.status = matches == 0 ? ChoiceStatus::kUnknownIdentity : ChoiceStatus::kSharedIdentity;
    }
  } else {
    const auto match = std::find_if(list.keypads.begin(), list.keypads.end(),
                                    [&](const ListedKeypad& k) { return k.path == device; });
    if (match != list.keypads.end()) {
      chosen(*match);
    } else {
      choice.status = ChoiceStatus::kUnknownPath;
    }
  }
  // A refusal shows the whole list, so that the user can pick from it.
  if (choice.status != ChoiceStatus::kChosen &&
      std::none_of(list.keypads.begin(), list.keypads.end(),
                   [](const ListedKeypad& k) { return k.identity.has_value(); })) {
    ReadKeypadDetails(list, transport, log, notifier);
  }
  choice.list = std::move(list);
  return choice;
}

}  // namespace

KeypadChoice ChooseKeypad(Transport& transport, Log& log, Notifier& notifier,
                          std::string_view device) {
  return Choose(FindKeypadList(transport, log, notifier), device, transport, log, notifier);
}

std::string ChoiceProblemText(const KeypadChoice& choice, std::string_view device) {
  const std::string named(device);
  const std::string count = std::to_string(choice.list.keypads.size());
  std::string problem;
  switch (choice.status) {
    case ChoiceStatus::kChosen:
      return {};
    case ChoiceStatus::kNoKeypad:
      return "no QP40 keypad found. Plug it in while holding its top-right key, so that it "
             "starts in Management mode (USB ID 04b4:0820).";
    case ChoiceStatus::kSeveral:
      problem = count +
                " keypads found; choose one with --device N, --device IDENTITY or "
                "--device PATH:";
      break;
    case ChoiceStatus::kNumberOutOfRange:
      problem = "--device " + named + ": there is no keypad " + named + "; the keypads are 1 to " +
                count + ":";
      break;
    case ChoiceStatus::kUnknownIdentity:
      problem = "--device " + named + ": no keypad found has that identity; the keypads are:";
      break;
    case ChoiceStatus::kSharedIdentity:
      problem = "--device " + named +
                ": several keypads have that identity; choose one by its number or path:";
      break;
    case ChoiceStatus::kUnknownPath:
      problem = "--device " + named + ": no keypad found on that path; the keypads are:";
      break;
  }
  return problem + "\n" + KeypadListText(choice.list);
}

}  // namespace qp40
