#pragma once
// The firmware commands of vantorctl:
//   vantorctl [--lang zh|en] firmware info FILE [--json]
//   vantorctl [--sim ...] [--trace] device firmware FILE
//   vantorctl [--sim ...] device factory-reset --yes

#include <iosfwd>

#include "cli/DeviceCommand.h"
#include "cli/GlobalOptions.h"

namespace vantor::cli {

// `firmware ...`; options.rest starts with "firmware".
int RunFirmware(const GlobalOptions& options, std::ostream& out, std::ostream& err);

// The whole update of the processor (or hand controller) from FILE. It needs no live
// connection, only the device on USB: a unit left in its boot loader by a failed update
// answers nothing but the update, and is updated all the same. Exit 0 only when the
// device acknowledged the end packet.
DeviceSubcommand DeviceFirmwareCommand();
// System item 137 after --yes; the device's programs go back to their factory values.
DeviceSubcommand DeviceFactoryResetCommand();

}  // namespace vantor::cli
