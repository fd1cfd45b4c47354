#pragma once
// The device subcommands that move presets: pull, push, store, recall, delete, backup,
// restore and set. Each runs inside a connected DeviceSession and leaves waiting for the
// queue to drain to the caller.

#include "cli/DeviceCommand.h"

namespace vantor::cli {

DeviceSubcommand DevicePullCommand();
DeviceSubcommand DevicePushCommand();
DeviceSubcommand DeviceStoreCommand();
DeviceSubcommand DeviceRecallCommand();
DeviceSubcommand DeviceDeleteCommand();
DeviceSubcommand DeviceBackupCommand();
DeviceSubcommand DeviceRestoreCommand();
DeviceSubcommand DeviceSetCommand();

}  // namespace vantor::cli
