#pragma once
// The worker's side of a firmware update: one exchange per call, in the worker's update
// mode and without the queue lock. An exchange takes the head packet (queuing the next
// ones when the queue is empty), writes it and reads until the receiver has decoded the
// answer; the receiver's progress step hands the answer to OnPacketAnswered.
//
// Rules: only a packet the device answers with the resend code (0x65) is sent again, and
// at most once: a packet is transmitted at most twice. No answer within the packet's read
// time-out, no complete frame within the exchange limit, a read error or a failed write
// ends the update at once with WM_DEV_LINK_ERROR, nothing retried: a data packet carries
// no sequence number, so a device whose answer was lost would store it twice. After the
// start packet the device restarts into its boot loader: the cycle waits, then searches
// the device again. Only an acknowledged (0x64) packet counts as done.

#include <atomic>
#include <chrono>

#include "firmware/FirmwareObserver.h"
#include "firmware/FirmwarePackets.h"
#include "link/DeviceEvents.h"
#include "link/KTVCommand.h"
#include "link/LinkTimings.h"
#include "link/UsbLink.h"
#include "model/ProgramState.h"

namespace vantor {

class FirmwareUpdateCycle {
 public:
  FirmwareUpdateCycle(CKTVCommand& queue, UsbLink& link, ProgramState& state,
                      DeviceEventSink& sink);

  // Before the worker starts: the packets of `image`, from the wake-up phase on.
  void Prepare(const FirmwareImage& image, const LinkTimings& timings, FirmwareObserver* observer);
  // While the worker is not in update mode.
  void SetObserver(FirmwareObserver* observer) { m_observer = observer; }

  // Worker: one exchange cycle. False when there is nothing more to do: the update has
  // finished, has failed, or the link was stopped.
  bool RunOnce();
  // Worker (the receiver's progress step): the device answered the head packet.
  void OnPacketAnswered(CSendData& packet);

  bool Finished() const { return m_finished.load(); }
  bool Failed() const { return m_failed.load(); }
  int PacketsAcknowledged() const { return m_acknowledged.load(); }
  // Packets the image is sent in, the wake-up placeholder not counted.
  int PacketsTotal() const { return m_total; }
  // The code of the packet exchanged last.
  int CurrentCode() const { return m_currentCode.load(); }

 private:
  using Clock = std::chrono::steady_clock;

  bool Active() const;
  // The exchange itself; false when the cycles are to end.
  bool Step();
  // Sleeps `d` in slices; false when the link was stopped meanwhile.
  bool PauseWhileActive(std::chrono::milliseconds d) const;
  bool Wake(Clock::time_point start);
  bool Exchange(CSendData& packet, int code, Clock::time_point start);
  // The device went away on purpose (restart): find it again.
  bool SearchAgain();
  // Ends the update with WM_DEV_LINK_ERROR. `always` posts it even though the USB transfer
  // flag is clear (a search that failed has cleared it itself).
  bool Fail(bool always = false);
  void Status(TextId text);

  CKTVCommand& m_queue;
  UsbLink& m_link;
  ProgramState& m_state;
  DeviceEventSink& m_sink;
  LinkTimings m_timings;
  FirmwareObserver* m_observer = nullptr;

  FirmwareSequencer m_sequencer;
  bool m_processorImage = false;
  int m_total = 0;
  std::atomic<bool> m_finished{false};
  std::atomic<bool> m_failed{false};
  std::atomic<int> m_acknowledged{0};
  std::atomic<int> m_currentCode{0};
  int m_position = 0;
  // The status line already names the data transfer (so further data packets leave it).
  bool m_textShown = false;
  // The reply code of the answer decoded last.
  int m_lastReply = -1;
};

}  // namespace vantor
