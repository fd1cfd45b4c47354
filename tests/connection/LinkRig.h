#pragma once
// A program and a simulated processor wired together for tests: the model, a connection
// controller with short time limits, a screen that records what it was asked to show, and
// a unit on a simulated bus.

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/FileClaimStore.h"
#include "link/ConnectionController.h"
#include "model/KTV_Data.h"
#include "model/ProgramState.h"
#include "sim/SimulatedBackend.h"
#include "sim/SimulatedProcessor.h"

namespace vantor::testing {

class RecordingScreen : public ConnectionScreen {
 public:
  void ShowStatusMessage(TextId text) override { statusMessages.push_back(text); }
  void ShowMessage(TextId text) override { messages.push_back(text); }
  void ShowDetailedMessage(TextId text, const std::string& detail) override {
    messages.push_back(text);
    details.push_back(detail);
  }
  void ShowTransferWindow(TransferOwner owner) override {
    transferShown.push_back(owner);
    transferVisible = true;
    log.push_back("show");
  }
  void HideTransferWindow() override {
    ++transferHidden;
    transferVisible = false;
    log.push_back("hide");
  }
  void SetTransferRange(int low, int high) override { ranges.emplace_back(low, high); }
  void SetTransferPosition(int position) override { positions.push_back(position); }
  void SetConnectionIndicator(bool connected) override {
    indicator.push_back(connected);
    log.push_back(connected ? "on" : "off");
  }
  void RefreshAll() override {
    ++refreshes;
    log.push_back("refresh");
  }
  void ShowInputSource(int source) override { sources.push_back(source); }
  void OnDeviceEvent(const DeviceEventMessage& message) override {
    events.push_back(message);
    if (forward) forward(message);
  }

  std::vector<TextId> statusMessages;
  std::vector<TextId> messages;
  std::vector<std::string> details;  // of the detailed messages, in order
  std::vector<TransferOwner> transferShown;
  int transferHidden = 0;
  bool transferVisible = false;
  std::vector<std::pair<int, int>> ranges;
  std::vector<int> positions;
  std::vector<bool> indicator;
  int refreshes = 0;
  std::vector<int> sources;
  std::vector<DeviceEventMessage> events;
  std::vector<std::string> log;
  // Hands every device event on, as a view does to the parts that follow them.
  std::function<void(const DeviceEventMessage&)> forward;
};

// Short limits so that time-outs take a fraction of a second.
inline LinkTimings FastTimings() {
  LinkTimings t;
  t.writeWait = std::chrono::milliseconds(20);
  t.readWait = std::chrono::milliseconds(250);
  t.exchangeLimit = std::chrono::milliseconds(300);
  t.linkErrorPause = std::chrono::milliseconds(1);
  t.cyclePause = std::chrono::milliseconds(1);
  t.workerWait = std::chrono::milliseconds(50);
  t.disconnectPause = std::chrono::milliseconds(1);
  return t;
}

// A folder of its own per rig, removed with it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

// Runs `fn` as a person who is not the owner of the files the test made: as root, in a
// child process that has become "nobody"; otherwise here (the files are then ours, and a
// file without write permission refuses its owner too). Returns what `fn` returned.
int AsAnotherPerson(const std::function<int()>& fn);

struct ProgramSide {
  explicit ProgramSide(sim::SimulatedBackend& bus, ClaimStore& claims,
                       LinkTimings timings = FastTimings());

  ProgramState state;
  CKTV_Data model{state};
  RecordingScreen screen;
  std::unique_ptr<ConnectionController> controller;
};

class LinkRig {
 public:
  explicit LinkRig(sim::SimTiming timing = sim::SimTiming::Instant(),
                   LinkTimings timings = FastTimings());

  // Plugs the unit in, presses connect and waits until the program is live.
  bool ConnectLive(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Handles events until `done` holds.
  bool Until(const std::function<bool()>& done,
             std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits until the worker has nothing queued and nothing pending is left in the model,
  // i.e. every edit has been answered. False when that did not happen in time or the
  // connection ended meanwhile.
  bool Drained(std::chrono::milliseconds timeout = std::chrono::seconds(10));

  ConnectionController& Controller() { return *program.controller; }
  CKTV_Data& Model() { return program.model; }
  ProgramState& State() { return program.state; }
  RecordingScreen& Screen() { return program.screen; }

  TempDir dir;
  FileClaimStore claims{dir.Path()};
  sim::SimulatedBackend bus;
  std::shared_ptr<sim::SimulatedProcessor> unit;
  ProgramSide program;
};

}  // namespace vantor::testing
