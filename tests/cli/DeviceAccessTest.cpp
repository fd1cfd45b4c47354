// The tool on a machine where the processor may not be opened (no udev rule): device
// commands say why and how to fix it, in the chosen language, with the device exit code;
// `device list` tells each processor's access. And what --version says.

#include <gtest/gtest.h>

#include "cli/ExitCodes.h"
#include "cli/ToolRun.h"
#include "connection/DeniedBackend.h"
#include "text/TextCatalog.h"

namespace vantor::cli::testing {
namespace {

using vantor::testing::DeniedBackend;

std::shared_ptr<sim::SimulatedProcessor> PluggedUnit(const std::string& path,
                                                     std::uint16_t release = kReleaseNumber) {
  sim::SimOptions o;
  o.path = path;
  o.release = release;
  auto unit = sim::SimulatedProcessor::Create(o);
  unit->Plug();
  return unit;
}

// USB as this test sets it up: the units on a bus, the paths in `denied` refused.
CliEnvironment Usb(std::vector<std::shared_ptr<sim::SimulatedProcessor>> units,
                   std::set<std::string> denied) {
  CliEnvironment e;
  e.usbBackend = [units, denied] { return std::make_unique<DeniedBackend>(units, denied); };
  return e;
}

TEST(DeviceAccess, ADeviceCommandNamesTheFixAndExitsWithTheDeviceCode) {
  const auto unit = PluggedUnit("/dev/hidraw7");
  const ToolRun en = RunTool({"device", "info"}, Usb({unit}, {"/dev/hidraw7"}));
  EXPECT_EQ(en.code, kExitDevice);
  EXPECT_TRUE(en.out.empty());
  EXPECT_TRUE(en.OneErrorLine()) << en.err;
  EXPECT_EQ(en.err, "vantorctl: " + std::string(Tr(TextId::DeviceAccessDenied, false)) + "\n");
  EXPECT_NE(en.err.find("udev rule"), std::string::npos);
  EXPECT_EQ(en.err.find("unable to connect"), std::string::npos);

  const ToolRun zh =
      RunTool({"--lang", "zh", "device", "pull", "out.dsps"}, Usb({unit}, {"/dev/hidraw7"}));
  EXPECT_EQ(zh.code, kExitDevice);
  EXPECT_NE(zh.err.find("70-vantor.rules"), std::string::npos);
  EXPECT_NE(zh.err.find("拔下"), std::string::npos) << zh.err;

  // Nothing plugged in at all is still the general message.
  const ToolRun none = RunTool({"device", "info"}, Usb({}, {}));
  EXPECT_EQ(none.code, kExitDevice);
  EXPECT_NE(none.err.find("unable to connect"), std::string::npos) << none.err;
}

TEST(DeviceAccess, ListShowsEveryProcessorWithWhetherThisUserMayOpenIt) {
  const auto open = PluggedUnit("/dev/hidraw2");
  const auto denied = PluggedUnit("/dev/hidraw5");
  const auto other = PluggedUnit("/dev/hidraw9", 0x0100);  // another release: not ours
  const ToolRun r = RunTool({"device", "list"}, Usb({open, denied, other}, {"/dev/hidraw5"}));
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_EQ(r.lines,
            (std::vector<std::string>{"/dev/hidraw2  may open", "/dev/hidraw5  no permission"}));
  // The fix is named once, after the list.
  EXPECT_TRUE(r.OneErrorLine()) << r.err;
  EXPECT_NE(r.err.find("udev rule"), std::string::npos);
  // Listing opened and closed it again: it can be connected right after.
  EXPECT_FALSE(open->IsOpen());

  const ToolRun zh =
      RunTool({"--lang", "zh", "device", "list"}, Usb({open, denied}, {"/dev/hidraw5"}));
  EXPECT_EQ(zh.lines,
            (std::vector<std::string>{"/dev/hidraw2  可以打开", "/dev/hidraw5  无权打开"}));

  // One held by another program, and none at all.
  auto held = open->Open();
  ASSERT_NE(held, nullptr);
  const ToolRun busy = RunTool({"device", "list"}, Usb({open}, {}));
  EXPECT_EQ(busy.lines, std::vector<std::string>{"/dev/hidraw2  in use by another program"});
  EXPECT_TRUE(busy.err.empty()) << busy.err;
  const ToolRun empty = RunTool({"device", "list"}, Usb({}, {}));
  EXPECT_EQ(empty.code, kExitOk);
  EXPECT_TRUE(empty.out.empty());
  EXPECT_NE(empty.err.find("no processor found"), std::string::npos);
}

TEST(DeviceAccess, VersionNamesTheCommitOrSaysUnknown) {
  CliEnvironment e;
  e.version = "1.4.2";
  e.commit = "0123456789ab";
  ToolRun r = RunTool({"--version"}, e);
  EXPECT_EQ(r.code, kExitOk);
  EXPECT_EQ(r.out, "vantorctl 1.4.2 (commit 0123456789ab)\n");
  r = RunTool({"--lang", "zh", "--sim", "--version"}, e);
  EXPECT_EQ(r.out, "vantorctl 1.4.2 (commit 0123456789ab)\n");
  e.commit.clear();
  EXPECT_EQ(RunTool({"--version"}, e).out, "vantorctl 1.4.2 (commit unknown)\n");
  EXPECT_NE(RunTool({"--help"}).out.find("--version"), std::string::npos);
}

}  // namespace
}  // namespace vantor::cli::testing
