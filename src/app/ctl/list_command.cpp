#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"
#include "session/keypad_list.h"

namespace qp40::ctl {
namespace {

nlohmann::json ListJson(const KeypadList& list) {
  nlohmann::json keypads = nlohmann::json::array();
  for (const ListedKeypad& keypad : list.keypads) {
    nlohmann::json entry;
    entry["number"] = keypad.number;
    entry["identity"] = keypad.identity ? nlohmann::json(IdentityHex(*keypad.identity)) : nullptr;
    entry["firmware_version"] =
        keypad.firmware_version ? nlohmann::json(*keypad.firmware_version) : nullptr;
    entry["path"] = keypad.path;
    entry["identity_shared"] = keypad.shared_identity;
    keypads.push_back(entry);
  }
  return {{"found", list.found}, {"keypads", keypads}};
}

int RunList(CommandContext& context, bool json) {
  Transport* transport = context.KeypadTransport();
  if (transport == nullptr) return kExitFailed;
  KeypadList list = FindKeypadList(*transport, context.GetLog(), context.Messages());
  ReadKeypadDetails(list, *transport, context.GetLog(), context.Messages());
  if (json) {
    context.Out() << ListJson(list).dump(2) << "\n";
  } else {
    context.Out() << KeypadListText(list);
  }
  if (list.keypads.empty()) {
    context.Err() << "qp40ctl: no QP40 keypad found\n";
    return kExitNoKeypad;
  }
  // A keypad that would not say who it is cannot be chosen by its identity.
  for (const ListedKeypad& keypad : list.keypads) {
    if (!keypad.identity) return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

void AddListCommand(CLI::App& app, CommandAction& action) {
  CLI::App* list = app.add_subcommand(
      "list",
      "List every keypad found in Management mode: its number, identity, firmware version and "
      "path, as --device takes them");
  auto json = std::make_shared<bool>(false);
  list->add_flag("--json", *json, "Print the list as JSON");
  list->callback([&action, json] {
    action = [json](CommandContext& context) { return RunList(context, *json); };
  });
}

}  // namespace qp40::ctl
