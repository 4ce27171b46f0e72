#pragma once

#include <CLI/CLI.hpp>

#include "app/ctl/command_context.h"

namespace qp40::ctl {

// Each adds its command (or group of commands) to the command line; when the command is the
// one given, parsing stores its work in `action`.
void AddListCommand(CLI::App& app, CommandAction& action);
void AddInfoCommand(CLI::App& app, CommandAction& action);
void AddShowCommand(CLI::App& app, CommandAction& action);
void AddKeyCommands(CLI::App& app, CommandAction& action);
void AddBackupCommands(CLI::App& app, CommandAction& action);
void AddLayoutCommands(CLI::App& app, CommandAction& action);
void AddApplyCommand(CLI::App& app, CommandAction& action);
void AddHistoryCommands(CLI::App& app, CommandAction& action);
void AddMacroCommands(CLI::App& app, CommandAction& action);
void AddChordCommands(CLI::App& app, CommandAction& action);
void AddDumpCommand(CLI::App& app, CommandAction& action);
void AddPowerCommands(CLI::App& app, CommandAction& action);
void AddRenderCommand(CLI::App& app, CommandAction& action);

}  // namespace qp40::ctl
