#pragma once
// The USB side of the link: finding and opening the processor, the claims that keep two
// running copies apart, and the transfer of the head command with its answer.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "link/ClaimStore.h"
#include "link/FrameTap.h"
#include "link/HidDevice.h"
#include "link/LinkTimings.h"

namespace vantor {

class CKTVCommand;
class CKTV_Data;
class DeviceEventSink;
class ProgramState;

class UsbLink {
 public:
  UsbLink(ProgramState& state, HidBackend& backend, ClaimStore& claims, LinkTimings timings = {});

  // Opens the first processor enumerated (the claims are not consulted). On failure the
  // reason is kept (LastOpenError).
  bool OpenFirstDevice();
  // Opens the stored device path (a device that has just arrived) and claims it.
  bool OpenDevicePath();
  // The path is read by the removal handler while a firmware update's worker may be
  // searching the device again after its restart, hence a copy under a lock.
  void SetDevicePath(std::string path);
  std::string DevicePath() const;
  bool IsOpen() const { return m_device != nullptr; }
  HidOpenError LastOpenError() const { return m_lastError; }

  bool IsPathUnclaimed(const std::string& path) { return m_claims.IsPathUnclaimed(path); }
  void ClaimPath();
  void ReleaseClaim();

  // Closes the handle. The path is kept for the claim and the removal comparison.
  void Close();

  // One exchange, run by the worker under the queue lock: the head command, or with an
  // empty queue the model's next pending change (or the status poll), queued first. Writes
  // its reports and reads until the receiver has decoded an answer or a time limit passed
  // (WM_DEV_LINK_ERROR, only while the USB transfer flag is set). Returns true when an
  // answer was decoded.
  bool TransferCycle(CKTVCommand& queue, CKTV_Data& model, DeviceEventSink& sink);

  // The stage code of the firmware packet written last (0 outside an update); removals
  // during stages 176 and 255 are expected.
  int LastStageCode() const { return m_lastStageCode.load(); }
  void SetLastStageCode(int code) { m_lastStageCode = code; }

  // Sees every frame written in full (traces); none by default.
  void SetFrameTap(FrameTap tap) { m_tap = std::move(tap); }
  // Other cycles on the same device (the firmware update) trace through it too.
  const FrameTap& Tap() const { return m_tap; }

  // The device itself, for the firmware update's own cycle.
  HidDevice* Device() { return m_device.get(); }
  void SetTimings(const LinkTimings& timings) { m_timings = timings; }
  const LinkTimings& Timings() const { return m_timings; }

 private:
  bool TransferActive() const;
  void ReportLinkError(DeviceEventSink& sink);

  ProgramState& m_state;
  HidBackend& m_backend;
  ClaimStore& m_claims;
  LinkTimings m_timings;
  std::unique_ptr<HidDevice> m_device;
  mutable std::mutex m_pathLock;
  std::string m_path;
  HidOpenError m_lastError = HidOpenError::kNone;
  // Written by the update cycle on the worker, read by the removal handler.
  std::atomic<int> m_lastStageCode{0};
  FrameTap m_tap;
};

}  // namespace vantor
