#pragma once
// One queued command: a finished frame and what the user interface is to be told when the
// device answers it. The queue owns it from Add on.

#include <cstdint>
#include <span>
#include <vector>

#include "link/HidDevice.h"

namespace vantor {

class CSendData {
 public:
  // Takes the finished frame (exactly L + 16 bytes).
  explicit CSendData(std::vector<std::uint8_t> frame);

  std::span<const std::uint8_t> Frame() const { return m_data; }
  const std::uint8_t* Data() const { return m_data.data(); }
  int Length() const { return static_cast<int>(m_data.size()); }

  // Attempts made for this command in firmware-update mode.
  int RetryCount() const { return m_retryCount; }
  void SetRetryCount(int n) { m_retryCount = n; }
  // When non-zero, the answer moves the transfer progress bar to this value.
  int ProgressIndex() const { return m_progressIndex; }
  void SetProgressIndex(int index) { m_progressIndex = index; }
  // The answer posts WM_DEV_BATCH_DONE (0, 0).
  bool BatchEnd() const { return m_batchEnd; }
  void SetBatchEnd(bool on) { m_batchEnd = on; }
  // The answer posts WM_DEV_BATCH_DONE (0, 1).
  bool Notice() const { return m_notice; }
  void SetNotice(bool on) { m_notice = on; }
  // The answer posts WM_DEV_BATCH_DONE (0, 0) at once, without moving the progress bar.
  bool BusyEnd() const { return m_busyEnd; }
  void SetBusyEnd(bool on) { m_busyEnd = on; }
  // Firmware-update stage of the packet; 0 for every other command.
  int StageCode() const { return m_stageCode; }
  void SetStageCode(int code) { m_stageCode = code; }
  // Frame bytes already handed to the transport.
  int SendCursor() const { return m_sendCursor; }
  void SetSendCursor(int cursor);

  // The next 65-byte output report of the frame: byte 0 is 0, bytes 1..64 carry up to 64
  // frame bytes, the rest is zero. False (report untouched) once the whole frame was sent.
  bool NextReportChunk(Report& report);

 private:
  std::vector<std::uint8_t> m_data;
  int m_retryCount = 0;
  int m_progressIndex = 0;
  bool m_batchEnd = false;
  bool m_notice = false;
  int m_sendCursor = 0;
  int m_stageCode = 0;
  bool m_busyEnd = false;
};

}  // namespace vantor
