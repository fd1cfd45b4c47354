// The crossover panel on the main form: its lists refilled by family and channel, the
// slope entries stored as slope indexes, the high-pass held below the low-pass, linked
// outputs following, crossovers dragged on the graph, the language, and an edit reaching
// the simulated processor as the crossover item with its final value.

#include <QTest>

#include "UiTestSupport.h"
#include "base/LittleEndian.h"
#include "link/ConnectionController.h"
#include "model/DataDefine.h"
#include "model/KTV_Data.h"
#include "tuning/ResponseGraphModel.h"
#include "ui/controls/ComBoxBtn.h"
#include "ui/controls/FStatic.h"
#include "ui/controls/NumEdit.h"
#include "ui/controls/NumSpin.h"
#include "ui/panels/CrossoverPanel.h"
#include "ui/panels/GraphPanel.h"
#include "ui/panels/StripPanel.h"

namespace vantor {

using uitest::Form;

namespace {

constexpr CrossoverSide kHp = CrossoverSide::kHighPass;
constexpr CrossoverSide kLp = CrossoverSide::kLowPass;

}  // namespace

class CrossoverPanelTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Form> form_;

  CVantorView& View() { return form_->View(); }
  CrossoverPanel& Panel() { return View().Crossover(); }
  CKTV_Data& Data() { return form_->Data(); }
  CFilter& Hp(int c) { return Data().Output(c).HighPass(); }
  CFilter& Lp(int c) { return Data().Output(c).LowPass(); }
  QString SlopeShown(CrossoverSide side) {
    ComBoxBtn& list = Panel().SlopeList(side);
    return list.Selection() < 0 ? QString() : list.ItemText(list.Selection());
  }

 private slots:
  void init() {
    form_ = std::make_unique<Form>();
    QVERIFY(form_->Start());
  }
  void cleanup() { form_.reset(); }

  void theListsShowTheSelectedOutputsFilters() {
    Hp(3).SetFamily(kBessel, false);
    Hp(3).SetSlope(2, false);
    Hp(3).SetFrequency(120, false);
    Lp(3).SetFamily(kLinkwitzRiley, false);
    Lp(3).SetSlope(kSlopeOff, false);
    Lp(3).SetFrequency(3000, false);
    View().Strips().OnSelectButton(3);
    QCOMPARE(Panel().FamilyList(kHp).Selection(), static_cast<int>(kBessel));
    QCOMPARE(Panel().FamilyList(kHp).ItemText(kBessel), QStringLiteral("贝塞尔"));
    QCOMPARE(Panel().SlopeList(kHp).Items(),
             (QStringList{"6dB/Oct", "12dB/Oct", "18dB/Oct", "24dB/Oct", "OFF"}));
    QCOMPARE(SlopeShown(kHp), QStringLiteral("18dB/Oct"));
    QCOMPARE(Panel().FrequencyEdit(kHp).text(), QStringLiteral("120Hz"));
    QCOMPARE(Panel().SlopeList(kLp).Items(),
             (QStringList{"6dB/Oct", "12dB/Oct", "24dB/Oct", "36dB/Oct", "OFF"}));
    QCOMPARE(SlopeShown(kLp), QStringLiteral("OFF"));
    QCOMPARE(Panel().FrequencySpin(kLp).GetValue(), 3000);

    // RefreshAll reloads them too.
    Hp(3).SetFrequency(150, false);
    View().RefreshAll();
    QCOMPARE(Panel().FrequencyEdit(kHp).text(), QStringLiteral("150Hz"));
  }

  void linkwitzThirtySixIsStoredAsSlopeFourAndShownAgain() {
    View().Strips().OnSelectButton(2);
    QVERIFY(uitest::ChooseRow(Panel().FamilyList(kHp), kLinkwitzRiley));
    QCOMPARE(Hp(2).Family(), static_cast<int>(kLinkwitzRiley));
    QVERIFY(uitest::ChooseRow(Panel().SlopeList(kHp), 3));
    QCOMPARE(Hp(2).Slope(), 4);
    QCOMPARE(View().GraphRow().Graph().Model().Highlight(), kGraphHighPassIndex);
    View().Strips().OnSelectButton(5);
    View().Strips().OnSelectButton(2);
    QCOMPARE(SlopeShown(kHp), QStringLiteral("36dB/Oct"));
  }

  void aFamilySwitchRefillsTheSlopesAndKeepsTheSlopeIndex() {
    View().Strips().OnSelectButton(4);
    QVERIFY(uitest::ChooseRow(Panel().FamilyList(kLp), kButterworth));
    QVERIFY(uitest::ChooseRow(Panel().SlopeList(kLp), 2));
    QCOMPARE(Lp(4).Slope(), 2);
    QCOMPARE(SlopeShown(kLp), QStringLiteral("18dB/Oct"));
    QVERIFY(uitest::ChooseRow(Panel().FamilyList(kLp), kLinkwitzRiley));
    QCOMPARE(SlopeShown(kLp), QStringLiteral("12dB/Oct"));
    QCOMPARE(Lp(4).Slope(), 2);
    QCOMPARE(View().GraphRow().Graph().Model().Highlight(), kGraphLowPassIndex);
    // "OFF" stores slope 7 whatever the family.
    QVERIFY(uitest::ChooseRow(Panel().SlopeList(kLp), 4));
    QCOMPARE(Lp(4).Slope(), kSlopeOff);
  }

  void aHighPassTypedAboveTheLowPassIsPulledDown() {
    View().Strips().OnSelectButton(6);
    QVERIFY(uitest::TypeInto(Panel().FrequencyEdit(kLp), QStringLiteral("1000"),
                             Panel().FrequencyEdit(kHp)));
    QCOMPARE(Lp(6).Frequency(), 1000);
    QVERIFY(uitest::TypeInto(Panel().FrequencyEdit(kHp), QStringLiteral("5000"),
                             View().Strips().MasterEdit()));
    QCOMPARE(Hp(6).Frequency(), 1000);
    QCOMPARE(Panel().FrequencyEdit(kHp).text(), QStringLiteral("1000Hz"));
    // And a low-pass spun below the high-pass is pulled up.
    QVERIFY(Panel().FrequencySpin(kLp).SetValue(400));
    emit Panel().FrequencySpin(kLp).changeNotice(CrossoverPanel::kLowPassSpinId);
    QCOMPARE(Lp(6).Frequency(), 1000);
    QCOMPARE(Panel().FrequencySpin(kLp).GetValue(), 1000);
    QCOMPARE(View().GraphRow().Graph().Model().Highlight(), kGraphLowPassIndex);
  }

  void linkedOutputsFollowTheFamilyAndTheFrequency() {
    Data().Links().SetGroup(1, 0);
    View().Strips().OnSelectButton(0);
    QVERIFY(uitest::ChooseRow(Panel().FamilyList(kLp), kBessel));
    QCOMPARE(Lp(1).Family(), static_cast<int>(kBessel));
    QVERIFY(Lp(2).Family() != kBessel);
    QVERIFY(uitest::TypeInto(Panel().FrequencyEdit(kHp), QStringLiteral("90"),
                             Panel().FrequencyEdit(kLp)));
    QCOMPARE(Hp(1).Frequency(), 90);
    QCOMPARE(Hp(2).Frequency(), 20);
  }

  void aDragOnTheGraphMovesTheFieldButLeavesTheLists() {
    View().Strips().OnSelectButton(0);
    const QString slopeBefore = SlopeShown(kHp);
    // A change the panel has not been told about: only a refill would show it.
    Hp(0).SetSlope(Hp(0).Slope() == 3 ? 1 : 3, false);

    ResponseGraphModel& graph = View().GraphRow().Graph().Model();
    const Point c = Hp(0).HandleRect().Center();
    graph.MouseMove(c);
    graph.ButtonDown(c);
    graph.MouseMove({c.x + 150, c.y});
    graph.ButtonUp({c.x + 150, c.y});
    const int hz = Hp(0).Frequency();
    QVERIFY(hz > 100);
    QTRY_COMPARE(Panel().FrequencySpin(kHp).GetValue(), hz);
    QCOMPARE(SlopeShown(kHp), slopeBefore);
  }

  void theFamilyListsFollowTheLanguage() {
    View().Strips().OnSelectButton(1);
    QVERIFY(uitest::ChooseRow(Panel().FamilyList(kHp), kButterworth));
    View().ToggleLanguage();
    QCOMPARE(Panel().FamilyList(kHp).Items(), (QStringList{"Link_Ril", "Bessel", "Butter_W"}));
    QCOMPARE(Panel().FamilyList(kHp).Selection(), static_cast<int>(kButterworth));
    QCOMPARE(Panel().FamilyList(kLp).ItemText(0), QStringLiteral("Link_Ril"));
    View().ToggleLanguage();
    QCOMPARE(Panel().FamilyList(kLp).ItemText(0), QStringLiteral("宁克"));
  }

  void anEditReachesTheProcessorWithItsFinalValue() {
    form_ = std::make_unique<Form>(uitest::InstantUnit());
    QVERIFY(form_->StartLive());
    View().Strips().OnSelectButton(2);
    form_->unit->ClearFrameLog();

    QVERIFY(uitest::ChooseRow(Panel().FamilyList(kHp), kBessel));
    QVERIFY(uitest::TypeInto(Panel().FrequencyEdit(kHp), QStringLiteral("300"),
                             Panel().FrequencyEdit(kLp)));
    QCOMPARE(Hp(2).Frequency(), 300);
    // The scan steps a crossover an octave a frame; the last write carries 300 Hz.
    auto arrived = [&] {
      const auto p = uitest::LastOutputItemWrite(*form_->unit, 2, rec::kItemCrossover);
      return p.size() == rec::kBandRecordSize && le::GetI16(p, 0) == 300;
    };
    QTRY_VERIFY_WITH_TIMEOUT(arrived(), 10000);
    const auto p = uitest::LastOutputItemWrite(*form_->unit, 2, rec::kItemCrossover);
    QCOMPARE(static_cast<int>(p[2]), static_cast<int>(kBessel));
    QCOMPARE(static_cast<int>(p[3]), Hp(2).Slope());
    QCOMPARE(le::GetI16(p, 4), Lp(2).Frequency());
    form_->unit->Inspect([&](const ProgramState& m) {
      QCOMPARE(le::GetI16(m.Live(), rec::OutputOffset(2) + rec::kOutHighPassFreq), 300);
    });
  }
};

}  // namespace vantor

QTEST_MAIN(vantor::CrossoverPanelTest)
#include "CrossoverPanelTest.moc"
