// Plugging, unplugging, enumeration and exclusive opening through the backend seam.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "SimTestSupport.h"
#include "sim/SimulatedBackend.h"

namespace {

using namespace simtest;
using vantor::HidOpenError;
using vantor::HidReadResult;
using vantor::HotPlugEvent;
using vantor::Report;
using vantor::sim::SimulatedBackend;
using vantor::sim::SimulatedProcessor;

// Collects hot-plug events from the backend's thread.
class EventLog {
 public:
  void Add(const HotPlugEvent& e) {
    std::lock_guard lock(m_mutex);
    m_events.push_back(e);
    m_changed.notify_all();
  }
  // Waits for `n` events in all (generous: events come from another thread).
  std::vector<HotPlugEvent> WaitFor(std::size_t n) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, 10s, [&] { return m_events.size() >= n; });
    return m_events;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<HotPlugEvent> m_events;
};

TEST(SimHotPlug, PlugAndUnplugAreReportedAsArrivalAndRemoval) {
  auto unit = SimulatedProcessor::Create(InstantOptions("sim:usb-1"));
  SimulatedBackend backend;
  backend.Attach(unit);
  EventLog log;
  std::thread::id callbackThread;
  backend.StartHotPlug([&](const HotPlugEvent& e) {
    callbackThread = std::this_thread::get_id();
    log.Add(e);
  });

  EXPECT_TRUE(backend.Enumerate().empty());
  unit->Plug();
  unit->Plug();  // already plugged: nothing more
  unit->Unplug();
  unit->Plug();
  const auto events = log.WaitFor(3);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, HotPlugEvent::kArrival);
  EXPECT_EQ(events[1].kind, HotPlugEvent::kRemoval);
  EXPECT_EQ(events[2].kind, HotPlugEvent::kArrival);
  EXPECT_EQ(events[0].path, "sim:usb-1");
  EXPECT_NE(callbackThread, std::this_thread::get_id()) << "delivered on the backend's thread";

  const auto present = backend.Enumerate();
  ASSERT_EQ(present.size(), 1u);
  EXPECT_EQ(present[0].path, "sim:usb-1");
  EXPECT_TRUE(present[0].IsProcessor());
  backend.StopHotPlug();
}

TEST(SimHotPlug, AnUnplugFaultIsReportedLikeARealRemoval) {
  auto unit = SimulatedProcessor::Create(InstantOptions());
  SimulatedBackend backend;
  backend.Attach(unit);
  EventLog log;
  backend.StartHotPlug([&](const HotPlugEvent& e) { log.Add(e); });
  unit->Plug();
  auto device = backend.OpenExclusive("sim:test");
  ASSERT_TRUE(device);
  unit->InjectFault(vantor::sim::SimFault::Unplug());
  Send(*device, ReadRequest(0, 4, 3));
  const auto events = log.WaitFor(2);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].kind, HotPlugEvent::kRemoval);
  EXPECT_TRUE(backend.Enumerate().empty());
}

TEST(SimHotPlug, OpeningIsExclusiveAndAVanishedHandleStaysDead) {
  auto unit = SimulatedProcessor::Create(InstantOptions());
  SimulatedBackend first, second;  // two programs on one bus
  first.Attach(unit);
  second.Attach(unit);
  HidOpenError error = HidOpenError::kNone;
  EXPECT_EQ(first.OpenExclusive("sim:test", &error), nullptr);
  EXPECT_EQ(error, HidOpenError::kNotFound) << "not plugged in yet";

  unit->Plug();
  auto device = first.OpenExclusive("sim:test", &error);
  ASSERT_TRUE(device);
  EXPECT_EQ(error, HidOpenError::kNone);
  EXPECT_EQ(device->Path(), "sim:test");
  EXPECT_EQ(second.OpenExclusive("sim:test", &error), nullptr);
  EXPECT_EQ(error, HidOpenError::kBusy);
  EXPECT_EQ(second.OpenExclusive("sim:other", &error), nullptr);
  EXPECT_EQ(error, HidOpenError::kNotFound);

  unit->Unplug();
  unit->Plug();
  Report r{};
  EXPECT_FALSE(device->WriteReport(r, 20ms)) << "the old handle belongs to the vanished device";
  EXPECT_EQ(device->ReadReport(r, 10ms), HidReadResult::kError);
  auto fresh = second.OpenExclusive("sim:test", &error);
  ASSERT_TRUE(fresh);
  EXPECT_TRUE(Exchange(*fresh, ReadRequest(0, 4, 136)).has_value());

  // Closing a handle frees the unit for the other program.
  fresh.reset();
  EXPECT_FALSE(unit->IsOpen());
  EXPECT_TRUE(first.OpenExclusive("sim:test"));
}

TEST(SimHotPlug, ANewSessionForgetsAHalfSentFrameAndUnreadAnswers) {
  auto unit = SimulatedProcessor::Create(InstantOptions());
  unit->Plug();
  auto device = unit->Open();
  Send(*device, ReadRequest(0, 4, 136));  // answered, never read
  const Bytes block = HostFrame(0xB3, 0, 3, 0, 0, 0, Bytes(296, 1));
  device->WriteReport(ToReports(block)[0], 20ms);  // first report of five only
  device.reset();

  device = unit->Open();
  auto a = Exchange(*device, ReadRequest(0, 4, 144));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Address(), Hex("00 04 90 00"));
  EXPECT_TRUE(a->before.empty());
}

TEST(SimHotPlug, OnlyProcessorsAreReportedAndStoppedWatchingReportsNothing) {
  vantor::sim::SimOptions otherOptions = InstantOptions("sim:keyboard");
  otherOptions.productId = 0x1234;
  auto other = SimulatedProcessor::Create(otherOptions);
  auto unit = SimulatedProcessor::Create(InstantOptions("sim:dsp"));
  SimulatedBackend backend;
  backend.Attach(other);
  backend.Attach(unit);
  EventLog log;
  backend.StartHotPlug([&](const HotPlugEvent& e) { log.Add(e); });
  other->Plug();
  unit->Plug();
  const auto events = log.WaitFor(1);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].path, "sim:dsp");
  EXPECT_EQ(backend.Enumerate().size(), 2u) << "enumeration lists every HID device";

  backend.StopHotPlug();
  unit->Unplug();
  backend.StartHotPlug([&](const HotPlugEvent& e) { log.Add(e); });
  unit->Plug();
  const auto later = log.WaitFor(2);
  ASSERT_EQ(later.size(), 2u);
  EXPECT_EQ(later[1].kind, HotPlugEvent::kArrival) << "the removal while stopped was not kept";
}

TEST(SimHotPlug, ABackendCanGoAwayBeforeTheUnit) {
  auto unit = SimulatedProcessor::Create(InstantOptions());
  {
    SimulatedBackend backend;
    backend.Attach(unit);
    backend.StartHotPlug([](const HotPlugEvent&) {});
    unit->Plug();
  }
  unit->Unplug();  // no listener left to call
  unit->Plug();
  EXPECT_TRUE(unit->IsPlugged());
}

}  // namespace
