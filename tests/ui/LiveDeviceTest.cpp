// The main form working with a simulated processor, as `vantor --demo` does: start-up
// connection and read-back behind the transfer window, edits on the graph and the strips
// reaching the device, the device's source followed, disconnecting, unplugging, closing.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "UiTestSupport.h"
#include "base/LittleEndian.h"
#include "dsp/PlotMapping.h"
#include "link/ConnectionController.h"
#include "model/DataDefine.h"
#include "model/KTV_Data.h"
#include "presets/PresetController.h"
#include "ui/controls/BitButton.h"
#include "ui/controls/BitmapSlider.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/DropBtn.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/dialogs/DisplayDlg.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/SpeakerMenu.h"
#include "ui/panels/StripPanel.h"
#include "ui/panels/TopBarPanel.h"

namespace vantor {

using uitest::Form;
using uitest::WritesSince;

namespace {

// Counts how often a window was shown and hidden.
class ShowCounter : public QObject {
 public:
  int shown = 0;
  int hidden = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) ++shown;
    if (event->type() == QEvent::Hide) ++hidden;
    return QObject::eventFilter(watched, event);
  }
};

std::size_t OutAt(int channel, std::size_t field) { return rec::OutputOffset(channel) + field; }

// The frequencies of the band writes the unit received for one output's band.
std::vector<int> BandWrites(const sim::SimulatedProcessor& unit, int channel, int band) {
  std::vector<int> hz;
  for (const sim::SimFrameRecord& r : unit.FrameLog()) {
    if (r.IsWrite() && r.block == rec::kBlockOutput && r.index == channel && r.item == band &&
        r.payload.size() == rec::kBandRecordSize) {
      hz.push_back(le::GetI16(r.payload, rec::kBandFrequency));
    }
  }
  return hz;
}

}  // namespace

class LiveDeviceTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;

  CVantorView& View() { return form_->View(); }
  CKTV_Data& Data() { return form_->Data(); }
  sim::SimulatedProcessor& Unit() { return *form_->unit; }
  bool Live() { return View().Controller().Phase() == ConnectionPhase::kLive; }

  // A unit whose memory holds values that differ from the program's start-up ones.
  std::shared_ptr<sim::SimulatedProcessor> TunedUnit() {
    auto unit = uitest::InstantUnit();
    unit->Modify([](ProgramState& m) {
      auto& live = m.Live();
      le::PutI16(live, OutAt(3, rec::kOutGain), 45);
      live[OutAt(4, rec::kOutOn)] = 0;
      live[OutAt(2, rec::kOutPhase)] = 1;
      le::PutI16(live, OutAt(1, rec::OutBand(5) + rec::kBandFrequency), 1000);
      auto system = m.SystemBlock();
      le::PutI16(system, rec::kSysMasterVolume, 50);
      system[rec::kSysMasterOn] = 0;
      system[rec::kSysInputSource] = 2;
      system[rec::kSysSpeakerMode] = 3;
      auto types = m.SpeakerTypes();
      const std::uint8_t t[8] = {1, 7, 13, 16, 19, 22, 23, 0};
      std::copy(std::begin(t), std::end(t), types.begin());
    });
    return unit;
  }

  bool StartLive() {
    form_ = std::make_unique<Form>(TunedUnit());
    form_->unit->Plug();
    return form_->Start() && Live();
  }

  // Every edit answered: nothing queued and the band no longer pending.
  bool Drained(const CFilter& band) {
    return QTest::qWaitFor(
        [&] { return View().Controller().Queue().Count() <= 1 && band.Pending() == 0; }, 10000);
  }

 private slots:
  void cleanup() { form_.reset(); }

  void startUpConnectsAndShowsTheDevicesValues() {
    form_ = std::make_unique<Form>(TunedUnit());
    ShowCounter transfer;
    View().TransferWindow().installEventFilter(&transfer);
    form_->unit->Plug();
    QVERIFY(form_->Start());
    QVERIFY(Live());
    QCOMPARE(View().TopBar().ConnectButton().State(), 1);
    QCOMPARE(View().TopBar().ConnectButton().text(), QStringLiteral("已连接"));
    QVERIFY(transfer.shown >= 1);
    QVERIFY(!View().TransferWindow().isVisible());
    QCOMPARE(View().TransferWindow().High(), 17);
    QCOMPARE(View().TransferWindow().Position(), 17);
    QVERIFY(View().isEnabled());
    QVERIFY(form_->messages.isEmpty());

    QCOMPARE(View().Strips().GainSlider(3).GetPos(), 45);
    QCOMPARE(View().Strips().GainEdit(3).text(), QStringLiteral("-15dB"));
    QCOMPARE(View().Strips().OnButton(4).State(), 0);
    QCOMPARE(View().Strips().PhaseButton(2).State(), 1);
    QCOMPARE(View().Strips().MasterSlider().GetPos(), 50);
    QCOMPARE(View().Strips().MasterOnButton().State(), 0);
    QCOMPARE(View().TopBar().SourceList().Selection(), 2);
    QCOMPARE(View().TopBar().SpeakerModeSelector().Selection(), 3);
    QCOMPARE(View().Strips().TypeButton(5).text(), QStringLiteral("左超低"));
    QCOMPARE(Data().Output(1).Filter(5).Frequency(), 1000);
  }

  void aFastDragOfBandFiveOnChTwoGoesOutAnOctaveAtATime() {
    QVERIFY(StartLive());
    QTest::mouseClick(&View().Strips().SelectButton(1), Qt::LeftButton);
    CFStatic& graph = View().GraphRow().Graph();
    CFilter& band = Data().Output(1).Filter(5);
    QCOMPARE(band.Frequency(), 1000);
    Unit().ClearFrameLog();
    QSignalSpy notices(&graph, &CFStatic::graphChanged);

    // One mouse step from 1000 Hz to about 4000 Hz, along the level.
    const Point c = band.HandleRect().Center();
    const int w = graph.Model().PlotWidth();
    int x = PlotX(4000, w) + kPlotOffsetX;
    while (FrequencyOfX(x - kPlotOffsetX, w) < 4000) ++x;
    uitest::DragThrough(&graph, {c.x, c.y}, {{x, c.y}});
    const int target = band.Frequency();
    QCOMPARE(target, 4000);

    QVERIFY(Drained(band));
    QTRY_VERIFY(BandWrites(Unit(), 1, 5).size() >= 3);
    QCOMPARE(BandWrites(Unit(), 1, 5), (std::vector<int>{2000, target, target}));
    Unit().Inspect([&](const ProgramState& m) {
      QCOMPARE(le::GetI16(m.Live(), OutAt(1, rec::OutBand(5) + rec::kBandFrequency)), target);
    });
    QTRY_COMPARE(notices.count(), 1);
    QCOMPARE(notices.at(0).at(0).toInt(), 5);
    QCOMPARE(notices.at(0).at(1).toInt(), 768 + 1);
  }

  void aSlowDragEndsWithTheFinalBandOnTheDevice() {
    QVERIFY(StartLive());
    View().Strips().OnSelectButton(1);
    CFStatic& graph = View().GraphRow().Graph();
    CFilter& band = Data().Output(1).Filter(5);
    const Point c = band.HandleRect().Center();
    uitest::DragThrough(
        &graph, {c.x, c.y},
        {{c.x + 4, c.y - 3}, {c.x + 9, c.y - 8}, {c.x + 15, c.y - 20}, {c.x + 22, c.y - 31}});
    QVERIFY(band.Gain() > 3.0);
    QVERIFY(Drained(band));
    QTRY_VERIFY(!BandWrites(Unit(), 1, 5).empty());
    QCOMPARE(BandWrites(Unit(), 1, 5).back(), band.Frequency());
    // The device holds exactly the band the program holds.
    Data().Output(1).PackBand(5);
    const auto& host = form_->state.Live();
    Unit().Inspect([&](const ProgramState& m) {
      for (std::size_t i = 0; i < rec::kBandRecordSize; ++i) {
        QCOMPARE(m.Live()[OutAt(1, rec::OutBand(5)) + i], host[OutAt(1, rec::OutBand(5)) + i]);
      }
    });
  }

  void stripAndSystemEditsReachTheDevice() {
    QVERIFY(StartLive());
    // Master edit: queued at once.
    StripPanel& m = View().Strips();
    QVERIFY(m.MasterSpin().SetValue(20));
    View().Strips().OnMasterEditChanged();
    // Output switch and phase through the pending-change scan.
    View().Strips().OnOutputOnButton(4);
    View().Strips().OnPhaseButton(6);
    // Speaker type and source: system items 145 and 144.
    SpeakerMenuAction(View().Strips().PrepareSpeakerTypeMenu(7), 14)->trigger();
    View().TopBar().OnSourceSelected(4);

    QTRY_VERIFY_WITH_TIMEOUT(Unit().InputSource() == 4, 10000);
    auto settled = [&] {
      bool ok = false;
      Unit().Inspect([&](const ProgramState& s) {
        ok = le::GetI16(s.SystemBlock(), rec::kSysMasterVolume) == 20 &&
             s.SystemBlock()[rec::kSysMasterOn] == 1 && s.Live()[OutAt(4, rec::kOutOn)] == 1 &&
             s.Live()[OutAt(6, rec::kOutPhase)] == 1 && s.SpeakerTypes()[7] == 14;
      });
      return ok;
    };
    QTRY_VERIFY_WITH_TIMEOUT(settled(), 10000);
    QCOMPARE(View().CurrentChannel(), 7);
  }

  void eqResetIsAskedAndOnlyAConfirmedResetIsSent() {
    QVERIFY(StartLive());
    View().Strips().OnSelectButton(3);
    CFilter& band = Data().Output(3).Filter(8);
    band.SetGainIndex(330);
    QVERIFY(Drained(band));
    Unit().ClearFrameLog();
    const std::uint64_t before = Unit().FramesReceived();

    form_->answer = false;
    View().GraphRow().OnEqReset();
    // An edit after the cancelled reset: once it has arrived, anything the reset had queued
    // would have arrived before it.
    View().Strips().OnPhaseButton(0);
    QTRY_VERIFY_WITH_TIMEOUT(WritesSince(Unit(), before) >= 1, 10000);
    QCOMPARE(WritesSince(Unit(), before), 1);
    QCOMPARE(band.GainIndex(), 330);

    form_->answer = true;
    View().GraphRow().OnEqReset();
    QCOMPARE(band.GainIndex(), 200);
    auto reset = [&] {
      int code = 0;
      Unit().Inspect([&](const ProgramState& s) {
        code = le::GetI16(s.Live(), OutAt(3, rec::OutBand(8) + rec::kBandGainCode));
      });
      return code == 200 + rec::kBandGainCodeOffset;
    };
    QTRY_VERIFY_WITH_TIMEOUT(reset(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(WritesSince(Unit(), before) >= 1 + 3, 10000);
  }

  void theSourceListFollowsTheDevice() {
    QVERIFY(StartLive());
    Unit().SetInputSource(5);
    QTRY_COMPARE_WITH_TIMEOUT(View().TopBar().SourceList().Selection(), 5, 10000);
    QCOMPARE(Data().InputSource(), 5);
  }

  void theConnectButtonDisconnectsAndConnectsAgain() {
    QVERIFY(StartLive());
    QTest::mouseClick(&View().TopBar().ConnectButton(), Qt::LeftButton);
    QVERIFY(!View().Controller().Connected());
    QCOMPARE(View().TopBar().ConnectButton().State(), 0);
    QCOMPARE(View().TopBar().ConnectButton().text(), QStringLiteral("连接设备"));
    View().ToggleLanguage();
    QCOMPARE(View().TopBar().ConnectButton().text(), QStringLiteral("Connect"));
    QTest::mouseClick(&View().TopBar().ConnectButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(Live(), 10000);
    QCOMPARE(View().TopBar().ConnectButton().text(), QStringLiteral("Connected"));
    QVERIFY(form_->messages.isEmpty());
  }

  void aProcessorPluggedInLaterIsConnected() {
    form_ = std::make_unique<Form>(TunedUnit());
    QVERIFY(form_->Start());  // nothing found, nothing said
    QVERIFY(!View().Controller().Connected());
    QVERIFY(form_->messages.isEmpty());
    Unit().Plug();
    QTRY_VERIFY_WITH_TIMEOUT(Live(), 10000);
    QCOMPARE(View().Strips().GainSlider(3).GetPos(), 45);
  }

  void aProcessorOfAnotherKindIsLeftAloneWithoutAMessage() {
    form_ = std::make_unique<Form>(uitest::InstantUnit());
    Unit().SetIdentity("TRX-999-31EQ-V3.2");
    Unit().Plug();
    QVERIFY(form_->Start());
    QVERIFY(!View().Controller().Connected());
    QCOMPARE(View().TopBar().ConnectButton().State(), 0);
    QVERIFY(form_->messages.isEmpty());
    QVERIFY(View().isEnabled());
  }

  void unplugDuringTheReadBackReleasesTheForm() {
    // A unit slow enough that the read-back can be caught in the middle.
    sim::SimOptions options;
    options.timing.processingDelay = std::chrono::milliseconds(40);
    form_ = std::make_unique<Form>(sim::SimulatedProcessor::Create(options));
    Unit().Plug();
    View().OnInitialUpdate();
    form_->frame->show();
    QTRY_VERIFY_WITH_TIMEOUT(View().TransferWindow().isVisible(), 10000);
    QVERIFY(!View().isEnabled());
    Unit().Unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!View().TransferWindow().isVisible(), 10000);
    QVERIFY(View().isEnabled());
    QVERIFY(!form_->state.busy.load());
    QCOMPARE(View().TopBar().ConnectButton().State(), 0);
    QTRY_COMPARE(form_->messages, QStringList{QStringLiteral("无法连接设备")});
  }

  void aPushThatBreaksOffSaysSoInTheWindow() {
    QVERIFY(StartLive());
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("t.dsps")).toStdString();
    PresetController presets(View().Controller());
    QVERIFY(presets.SaveSinglePresetFile(file).Ok());
    // The unit stops answering a few commands into the push.
    Unit().InjectFault(sim::SimFault::StopAnswering(5));
    QVERIFY(presets.LoadSinglePresetFile(file).Ok());
    QTRY_COMPARE_WITH_TIMEOUT(form_->messages.size(), 1, 10000);
    const QString shown = form_->messages.first();
    // The message box of the window, in the start-up language: what broke off, how far it
    // got, and what the processor may hold now.
    QVERIFY2(shown.startsWith(QStringLiteral("传输中断!\n\n发送音效文件在第 ")), qPrintable(shown));
    QVERIFY2(shown.contains(QStringLiteral("条命令处中断（共 26 条）。")), qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("处理器现在可能混有新旧设置，部分输出可能没有声音。")));
    QVERIFY(!shown.contains(QStringLiteral("无法连接设备")));
    QVERIFY(!View().TransferWindow().isVisible());
    QCOMPARE(View().TopBar().ConnectButton().State(), 0);
  }

  void closingStopsTheLinkAndReleasesTheClaim() {
    // Connected on arrival, which claims the device against other running copies.
    form_ = std::make_unique<Form>(TunedUnit());
    QVERIFY(form_->Start());
    Unit().Plug();
    QTRY_VERIFY_WITH_TIMEOUT(Live(), 10000);
    const std::string path = Unit().Info().path;
    QVERIFY(!form_->host->Claims().IsPathUnclaimed(path));
    QVERIFY(Unit().IsOpen());
    View().Shutdown();
    QVERIFY(View().ClosingHandled());
    QVERIFY(form_->host->Claims().IsPathUnclaimed(path));
    QVERIFY(!Unit().IsOpen());
    QVERIFY(!View().Controller().Worker().Running());
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::LiveDeviceTest)
#include "LiveDeviceTest.moc"
