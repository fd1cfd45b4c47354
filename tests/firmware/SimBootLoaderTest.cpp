// The simulated boot loader on its own: the order of packets, the end checksum against the
// padded last packet, a packet that comes twice, and images of awkward sizes going through
// whole updates.

#include <gtest/gtest.h>

#include "firmware/FirmwarePackets.h"
#include "firmware/FirmwareRig.h"
#include "link/FrameBuilders.h"
#include "sim/SimBootLoader.h"

namespace vantor::testing {
namespace {

sim::HostFrame Packet(int code, std::vector<std::uint8_t> payload) {
  auto p = BuildFirmwarePacket(code, payload, 1);
  return sim::HostFrame{std::vector<std::uint8_t>(p->Frame().begin(), p->Frame().end())};
}

std::uint8_t Reply(sim::SimBootLoader& boot, const sim::HostFrame& f) {
  const auto a = boot.Answer(f);
  EXPECT_TRUE(a.answered);
  return a.answer.replyCode;
}

TEST(SimBootLoader, TakesPacketsInOrderAndChecksTheEnd) {
  sim::SimBootLoader boot;
  boot.Enter();
  const std::vector<std::uint8_t> zeros(16, 0);
  std::vector<std::uint8_t> data(48, 0x21);
  // Data before the start, a header of unequal bytes: refused.
  EXPECT_EQ(Reply(boot, Packet(178, data)), 0x65);
  const auto start = boot.Answer(Packet(176, zeros));
  EXPECT_EQ(start.answer.replyCode, 0x64);
  EXPECT_TRUE(start.restart);
  EXPECT_EQ(Reply(boot, Packet(177, {0x21, 0x21, 0x21, 0x22})), 0x65);
  EXPECT_EQ(Reply(boot, Packet(177, {0x21, 0x21, 0x21, 0x21})), 0x64);
  EXPECT_EQ(Reply(boot, Packet(178, data)), 0x64);
  // 0x12 XOR 44 bytes of 0x21 is 0x12; a wrong checksum is refused and installs nothing.
  EXPECT_EQ(Reply(boot, Packet(179, {0x13})), 0x65);
  EXPECT_TRUE(boot.ProcessorImage().empty());
  EXPECT_EQ(Reply(boot, Packet(179, {0x12})), 0x64);
  EXPECT_EQ(boot.ProcessorImage(), data);
  // Not a boot-loader packet: no answer at all.
  const auto poll = BuildStatusPoll();
  EXPECT_FALSE(boot.Answer(sim::HostFrame{{poll->Frame().begin(), poll->Frame().end()}}).answered);
  boot.OnSessionEnd();
  EXPECT_FALSE(boot.Active());
}

TEST(SimBootLoader, APacketThatComesTwiceIsStoredTwice) {
  // Three data packets; the checksum is 0x12 XOR bytes 4.. of the image. The bytes of the
  // second packet XOR to 0 (48 numbers in a row from an even one); those of the others do
  // not.
  std::vector<std::vector<std::uint8_t>> data;
  std::vector<std::uint8_t> image;
  for (std::size_t p = 0; p < 3; ++p) {
    data.emplace_back(48);
    for (std::size_t i = 0; i < 48; ++i) {
      data.back()[i] = static_cast<std::uint8_t>(p == 1 ? 50 + i : 50 * p + 3 * i + i * i / 5);
    }
    image.insert(image.end(), data.back().begin(), data.back().end());
  }
  std::uint8_t checksum = 0x12;
  for (std::size_t i = 4; i < image.size(); ++i) checksum ^= image[i];
  const std::vector<std::uint8_t> zeros(16, 0);
  const std::vector<std::uint8_t> header(4, image[0]);
  sim::SimBootLoader boot;
  const auto transfer = [&](std::vector<std::size_t> order) {
    boot.Enter();
    EXPECT_EQ(Reply(boot, Packet(176, zeros)), 0x64);
    EXPECT_EQ(Reply(boot, Packet(177, header)), 0x64);
    for (std::size_t p : order) EXPECT_EQ(Reply(boot, Packet(178, data[p])), 0x64);
    return Reply(boot, Packet(179, {checksum}));
  };

  // The boot loader cannot tell a repeat from new data: it takes the packet again, the
  // image no longer matches the end packet's checksum, and the end is refused.
  for (const auto& order : {std::vector<std::size_t>{0, 0, 1, 2}, {0, 1, 2, 2}}) {
    EXPECT_EQ(transfer(order), 0x65);
    EXPECT_TRUE(boot.ProcessorImage().empty());
    boot.OnSessionEnd();
    EXPECT_TRUE(boot.Active()) << "it stays in its boot loader";
  }
  // A fresh full update goes through.
  EXPECT_EQ(transfer({0, 1, 2}), 0x64);
  EXPECT_EQ(boot.ProcessorImage(), image);
  // A repeated packet whose bytes XOR to 0 slips past the checksum and leaves 48 bytes too
  // many: why the host never sends a packet again whose answer it did not get.
  EXPECT_EQ(transfer({0, 1, 1, 2}), 0x64);
  EXPECT_EQ(boot.ProcessorImage().size(), image.size() + 48);
  boot.OnSessionEnd();
  EXPECT_FALSE(boot.Active());
}

TEST(SimBootLoader, ImagesOfEverySizeOfTheLastPacket) {
  // Fill of odd and even length, and images whose own last bytes are 0xFF.
  FirmwareRig rig;
  rig.link.unit->Plug();
  unsigned seed = 20;
  for (std::size_t size : {1U, 2U, 5U, 47U, 48U, 49U, 101U, 150U}) {
    // A last byte of 0xFF of the image's own is told apart from the fill by the checksum,
    // which covers it from byte 4 on.
    for (const bool ownFill : {false, true}) {
      if (ownFill && size < 5) continue;
      auto bytes = TestImage(size, ++seed);
      if (ownFill) bytes.back() = 0xFF;
      SCOPED_TRACE(::testing::Message() << size << " bytes, " << ownFill << " own 0xFF");
      ASSERT_EQ(rig.Update(rig.WriteFile("s.dsp", bytes)), FirmwareOutcome::kSucceeded);
      EXPECT_EQ(rig.link.unit->FirmwareImage(), bytes);
    }
  }
}

}  // namespace
}  // namespace vantor::testing
