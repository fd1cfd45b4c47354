// The USB timing model: order and waiting, never wall-clock speed.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "SimTestSupport.h"
#include "sim/SimulatedProcessor.h"

namespace {

using namespace simtest;
using vantor::HidReadResult;
using vantor::Report;
using vantor::sim::SimOptions;
using vantor::sim::SimTiming;
using vantor::sim::SimulatedProcessor;

std::shared_ptr<SimulatedProcessor> TimedUnit(std::chrono::milliseconds delay) {
  SimOptions options;
  options.timing.instant = false;
  options.timing.reportInterval = 1ms;
  options.timing.processingDelay = delay;
  auto unit = SimulatedProcessor::Create(options);
  unit->Plug();
  return unit;
}

TEST(SimTiming, AnAnswerIsNotThereBeforeTheProcessingDelay) {
  auto unit = TimedUnit(1000ms);
  auto device = unit->Open();
  Send(*device, ReadRequest(0, 4, 136));
  Report r{};
  // The unit is still working on it: a read that does not wait finds nothing.
  EXPECT_EQ(device->ReadReport(r, 0ms), HidReadResult::kTimeout);
  // A read that waits long enough gets it.
  EXPECT_EQ(device->ReadReport(r, 5000ms), HidReadResult::kOk);
  EXPECT_EQ(r[5], 0x66);
}

TEST(SimTiming, ReportsOfALongAnswerComeInOrder) {
  auto unit = TimedUnit(1ms);
  auto device = unit->Open();
  Bytes block(296);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i);
  ASSERT_EQ(Exchange(*device, HostFrame(0xB3, 0, 3, 4, 0, 0, block))->Code(), 0x64);
  auto a = Exchange(*device, ReadRequest(0, 3, 4));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->reports, 5);
  EXPECT_EQ(a->Payload(), block);
  EXPECT_TRUE(a->ChecksumOk());
}

TEST(SimTiming, DiscardDropsWhatArrivedButNotWhatIsStillBeingProcessed) {
  auto unit = TimedUnit(1ms);
  auto device = unit->Open();
  Send(*device, ReadRequest(0, 4, 144));
  Report r{};
  std::this_thread::sleep_for(50ms);  // the answer has certainly arrived by now
  device->DiscardPending();
  EXPECT_EQ(device->ReadReport(r, 0ms), HidReadResult::kTimeout);

  // A slow answer survives a discard made before it arrived: it turns up late, as on a
  // real bus.
  unit->SetTiming({false, std::chrono::microseconds(1000), std::chrono::microseconds(1000000)});
  Send(*device, ReadRequest(0, 4, 145));
  device->DiscardPending();
  ASSERT_EQ(device->ReadReport(r, 5000ms), HidReadResult::kOk);
  EXPECT_EQ(r[9], 145);
}

TEST(SimTiming, InstantModeAnswersAtOnceAndDiscardDropsEverything) {
  auto unit = SimulatedProcessor::Create(InstantOptions());
  unit->Plug();
  auto device = unit->Open();
  Send(*device, ReadRequest(0, 4, 136));
  Report r{};
  EXPECT_EQ(device->ReadReport(r, 0ms), HidReadResult::kOk);
  Send(*device, ReadRequest(0, 4, 136));
  device->DiscardPending();
  EXPECT_EQ(device->ReadReport(r, 0ms), HidReadResult::kTimeout);
  EXPECT_EQ(unit->Timing().instant, true);
}

TEST(SimTiming, ABlockedReadReturnsAnErrorWhenTheUnitIsUnplugged) {
  auto unit = TimedUnit(1ms);
  auto device = unit->Open();
  std::atomic<bool> started{false};
  HidReadResult result = HidReadResult::kOk;
  std::thread reader([&] {
    Report r{};
    started = true;
    result = device->ReadReport(r, std::chrono::milliseconds(60000));
  });
  while (!started) std::this_thread::yield();
  std::this_thread::sleep_for(20ms);
  unit->Unplug();
  reader.join();  // would hang for a minute if the unplug did not wake it
  EXPECT_EQ(result, HidReadResult::kError);
}

TEST(SimTiming, AWorkerAndATestThreadCanUseTheUnitTogether) {
  auto unit = TimedUnit(0ms);
  auto device = unit->Open();
  std::atomic<bool> stop{false};
  std::atomic<int> answered{0};
  std::thread worker([&] {
    while (!stop) {
      Send(*device,
           HostFrame(0xB3, 0, 3, 2, 4, 0, Bytes(8, static_cast<std::uint8_t>(answered.load()))));
      if (ReadAnswer(*device, 1000ms)) ++answered;
    }
  });
  for (int i = 0; i < 20; ++i) {
    unit->InjectFault(vantor::sim::SimFault::SplitReply(5));
    unit->SetInputSource(i % 6);
    (void)unit->Record(0);
    (void)unit->FrameLog();
    std::this_thread::sleep_for(2ms);
  }
  stop = true;
  worker.join();
  EXPECT_GT(answered.load(), 0);
}

}  // namespace
