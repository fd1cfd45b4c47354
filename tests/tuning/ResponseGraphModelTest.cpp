// The response graph's decisions: which handles the pointer can take on each output, how
// band, bandwidth and crossover drags change the filters, and how often the owner hears.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "OutputSets.h"
#include "dsp/FilterCodes.h"
#include "dsp/FilterControl.h"
#include "dsp/KTVEQ.h"
#include "dsp/PlotMapping.h"
#include "dsp/ResponseGrid.h"
#include "tuning/ResponseGraphModel.h"

namespace vantor {
namespace {

using namespace std::chrono_literals;

constexpr std::array<int, 8> kLimitModes = {9, 8, 7, 9, 8, 7, 7, 7};
constexpr int kClientW = 600;
constexpr int kClientH = 300;

class GraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    live = true;
    testing::AttachOutputSets(sets, live, kLimitModes, graph, kClientW, kClientH);
  }

  CKTVEQ& Set(int o) { return *sets[static_cast<std::size_t>(o)]; }
  int W() const { return kClientW - 45; }
  int H() const { return kClientH - 30; }
  // Client x of a frequency and client y of a level on the plot.
  int XOf(double hz) const { return PlotX(hz, W()) + kPlotOffsetX; }
  int YOf(double db) const { return PlotY(db, H()) + kPlotOffsetY; }

  Point Centre(int output, int element) { return Set(output).At(element).HandleRect().Center(); }
  // Hover, press, move through the given points, release.
  void Drag(int output, int element, const std::vector<Point>& path) {
    const Point c = Centre(output, element);
    graph.MouseMove(c);
    ASSERT_TRUE(graph.Hover()) << "element " << element << " of output " << output;
    graph.ButtonDown(c);
    for (Point p : path) graph.MouseMove(p);
    graph.ButtonUp(path.empty() ? c : path.back());
  }

  LiveSyncFlag live{false};
  testing::OutputSets sets;
  ResponseGraphModel graph;
};

TEST_F(GraphTest, LaysOutThePlotAndHandsItToEverySet) {
  EXPECT_EQ(graph.PlotRect(), (Rect{35, 10, kClientW - 10, kClientH - 20}));
  for (int o = 0; o < rec::kOutputCount; ++o) {
    EXPECT_EQ(Set(o).PlotWidth(), W());
    EXPECT_EQ(Set(o).PlotHeight(), H());
  }
  EXPECT_EQ(graph.GridX().front(), 35);
  EXPECT_EQ(graph.GridX()[17], XOf(1000));
  EXPECT_EQ(graph.GridX().back(), XOf(10000));
  EXPECT_EQ(graph.GridY().back(), graph.PlotRect().bottom);
}

TEST_F(GraphTest, ShowOutputSelectsTheSetAndNotifyCode) {
  EXPECT_EQ(graph.Mode(), kGraphModeNone);
  EXPECT_FALSE(graph.MouseMove(Centre(0, 0)));  // nothing shown: nothing to grab
  graph.ShowOutput(3);
  EXPECT_EQ(graph.Mode(), kGraphModeOutput);
  EXPECT_EQ(graph.ShownSet(), &Set(3));
  EXPECT_EQ(graph.NotifyCode(), 768 + 3);
  graph.MouseMove(Centre(3, 1));
  EXPECT_EQ(graph.CurrentFilter(), &Set(3).At(1));
  graph.ShowOutput(4);
  EXPECT_EQ(graph.CurrentFilter(), nullptr);
  EXPECT_FALSE(graph.Hover());
}

TEST_F(GraphTest, FrontOutputsOfferOnlyTheirFirstSixBands) {
  graph.ShowOutput(0);
  for (int b = 0; b <= 5; ++b) {
    graph.MouseMove(Centre(0, b));
    EXPECT_TRUE(graph.Hover()) << "band " << b;
    EXPECT_EQ(graph.CurrentIndex(), b);
  }
  graph.MouseMove(Centre(0, 10));
  EXPECT_FALSE(graph.Hover());
  EXPECT_EQ(graph.CurrentIndex(), 5);  // the last band taken stays current

  // Pressing on band 10 and moving drags nothing.
  const int before = Set(0).At(10).GainIndex();
  graph.ButtonDown(Centre(0, 10));
  graph.MouseMove({Centre(0, 10).x, YOf(10)});
  graph.ButtonUp({Centre(0, 10).x, YOf(10)});
  EXPECT_EQ(Set(0).At(10).GainIndex(), before);
  EXPECT_EQ(Set(0).At(10).Frequency(), 200);
  EXPECT_FALSE(graph.NotifyPending());
}

TEST_F(GraphTest, GrabRangesPerOutput) {
  for (int o = 0; o < rec::kOutputCount; ++o) {
    graph.ShowOutput(o);
    graph.MouseMove(Centre(o, 2));
    EXPECT_TRUE(graph.Hover()) << "band 2, output " << o;
    graph.MouseMove(Centre(o, 4));
    EXPECT_EQ(graph.Hover(), o <= 1 || o >= 6) << "band 4, output " << o;
    graph.MouseMove(Centre(o, 20));
    EXPECT_EQ(graph.Hover(), o >= 6) << "band 20, output " << o;
    graph.MouseMove(Centre(o, kGraphHighPassIndex));
    EXPECT_TRUE(graph.Hover()) << "high-pass, output " << o;
    EXPECT_EQ(graph.CurrentIndex(), kGraphHighPassIndex);
    graph.MouseMove({0, 0});  // let go of the crossover
    graph.MouseMove(Centre(o, kGraphLowPassIndex));
    EXPECT_EQ(graph.Hover(), o >= 5) << "low-pass, output " << o;
    EXPECT_EQ(ResponseGraphModel::Grabbable(o, kGraphLowPassIndex, 33), o >= 5);
  }
}

TEST_F(GraphTest, EmptyPressThenMoveOntoAHandleDragsNothing) {
  graph.ShowOutput(6);
  graph.ButtonDown({300, 40});
  const Point c = Centre(6, 17);
  graph.MouseMove(c);
  EXPECT_TRUE(graph.Hover());  // the move cursor shows
  graph.MouseMove({c.x + 40, c.y - 40});
  EXPECT_EQ(Set(6).At(17).Frequency(), 1000);
  EXPECT_EQ(Set(6).At(17).GainIndex(), kGainIndexFlat);
}

TEST_F(GraphTest, BandDragSetsFrequencyAndGainAndMarksPending) {
  graph.ShowOutput(6);
  Drag(6, 17, {{XOf(4000), YOf(6)}});
  const CFilter& f = Set(6).At(17);
  EXPECT_NEAR(f.Frequency(), 4000, 60);
  EXPECT_NEAR(f.Gain(), 6.0, 0.1);
  EXPECT_EQ(f.Flat(), 0);
  EXPECT_EQ(f.Pending(), 1);
  // A fast move goes to the device one octave at a time.
  EXPECT_EQ(f.SentFrequency(), 1000);
  EXPECT_TRUE(graph.NotifyPending());
}

TEST_F(GraphTest, GrabbingAndMovingAlongTheLevelKeepsTheGain) {
  graph.ShowOutput(6);
  Set(6).At(17).SetGainIndex(260);  // +6 dB
  const Point c = Centre(6, 17);
  Drag(6, 17, {{c.x + 1, c.y}, {c.x + 3, c.y}});
  EXPECT_EQ(Set(6).At(17).GainIndex(), 260);
  EXPECT_GT(Set(6).At(17).Frequency(), 1000);
  // And a vertical drag keeps the frequency.
  const Point d = Centre(6, 17);
  const int hz = Set(6).At(17).Frequency();
  Drag(6, 17, {{d.x, d.y - 20}});
  EXPECT_EQ(Set(6).At(17).Frequency(), hz);
  EXPECT_GT(Set(6).At(17).GainIndex(), 280);
  // A band at the top, whose handle is pushed inside the plot, keeps +20 dB too.
  Set(6).At(20).SetGainIndex(kGainIndexMax);
  const Point e = Centre(6, 20);
  Drag(6, 20, {{e.x + 5, e.y}});
  EXPECT_EQ(Set(6).At(20).GainIndex(), kGainIndexMax);
}

TEST_F(GraphTest, BandStaysWithinPlusMinusTwentyDb) {
  graph.ShowOutput(6);
  const Point c = Centre(6, 12);
  Drag(6, 12, {{c.x, -200}});
  EXPECT_DOUBLE_EQ(Set(6).At(12).Gain(), 20.0);
  EXPECT_EQ(Set(6).At(12).GainIndex(), kGainIndexMax);
  Drag(6, 12, {{c.x, kClientH + 200}});
  EXPECT_DOUBLE_EQ(Set(6).At(12).Gain(), -20.0);
  // Back to the middle switches the band off again. The pointer moves by as much as the
  // level line lies above the bottom.
  const Point b = Centre(6, 12);
  Drag(6, 12, {{b.x, b.y - (YOf(-20) - YOf(0))}});
  EXPECT_EQ(Set(6).At(12).Flat(), 1);
}

TEST_F(GraphTest, DragAtTheTopAlwaysCountsAsAChange) {
  graph.ShowOutput(6);
  const Point c = Centre(6, 12);
  Drag(6, 12, {{c.x, -50}});
  Set(6).At(12).SetPending(0);
  (void)graph.Poll(ResponseGraphModel::Clock::time_point{});
  Drag(6, 12, {{c.x, -60}});
  EXPECT_EQ(Set(6).At(12).Pending(), 1);
  EXPECT_TRUE(graph.NotifyPending());
}

TEST_F(GraphTest, GraphicModeMovesOnlyVertically) {
  graph.ShowOutput(6);
  CFilter& f = Set(6).At(14);
  f.SetGraphicMode(1);
  const Point c = Centre(6, 14);
  graph.MouseMove(c);
  EXPECT_FALSE(graph.ShowsWidthHandles());
  Drag(6, 14, {{c.x + 120, YOf(-8)}});
  EXPECT_EQ(f.Frequency(), 500);
  EXPECT_NEAR(f.Gain(), -8.0, 0.1);
}

TEST_F(GraphTest, ShelvesStayOnTheirSideOfTwoKilohertz) {
  graph.ShowOutput(6);
  CFilter& low = Set(6).At(4);
  low.SetEqType(1);
  Drag(6, 4, {{XOf(5000), YOf(4)}});
  EXPECT_EQ(low.Frequency(), 2000);
  EXPECT_EQ(low.SentFrequency(), 50);  // on its way up, never beyond 2000
  EXPECT_NEAR(low.Gain(), 4.0, 0.1);

  CFilter& high = Set(6).At(26);
  high.SetEqType(3);
  Drag(6, 26, {{XOf(100), YOf(-4)}});
  EXPECT_EQ(high.Frequency(), 2000);
  EXPECT_EQ(high.SentFrequency(), 2000);
}

TEST_F(GraphTest, BandwidthHandlesWidenAndNarrowThePeak) {
  graph.ShowOutput(6);
  CFilter& f = Set(6).At(17);
  f.SetGainIndex(260);
  graph.MouseMove(Centre(6, 17));
  ASSERT_TRUE(graph.ShowsWidthHandles());

  const Point right = f.RightWidthHandle().Center();
  graph.MouseMove(right);
  EXPECT_TRUE(graph.Hover());
  graph.ButtonDown(right);
  graph.MouseMove({XOf(2000) + 1, right.y});
  graph.ButtonUp({XOf(2000) + 1, right.y});
  EXPECT_NEAR(f.Bandwidth(), 1.0, 0.02);
  EXPECT_EQ(f.Frequency(), 1000);

  const Point left = f.LeftWidthHandle().Center();
  graph.MouseMove(left);
  graph.ButtonDown(left);
  graph.MouseMove({XOf(20) - 30, left.y});  // far beyond three octaves
  graph.ButtonUp({XOf(20) - 30, left.y});
  EXPECT_NEAR(f.Bandwidth(), 3.0, 1e-9);
  EXPECT_TRUE(graph.NotifyPending());
}

TEST_F(GraphTest, ShelvesHaveNoBandwidthHandles) {
  graph.ShowOutput(6);
  Set(6).At(4).SetEqType(2);
  graph.MouseMove(Centre(6, 4));
  EXPECT_FALSE(graph.ShowsWidthHandles());
}

TEST_F(GraphTest, HighPassAtTheLeftEdgeTurnsOff) {
  graph.ShowOutput(2);
  CFilter& hp = Set(2).HighPass();
  hp.SetFrequency(200, false);
  ASSERT_LT(hp.ResponseDb()[0], -10.0);
  Drag(2, kGraphHighPassIndex, {{XOf(20) - 20, Centre(2, kGraphHighPassIndex).y}});
  EXPECT_EQ(hp.Frequency(), 20);
  for (double db : hp.ResponseDb()) ASSERT_EQ(db, 0.0);
  EXPECT_EQ(hp.Pending(), 1);
  const auto notice = graph.Poll(ResponseGraphModel::Clock::time_point{});
  ASSERT_TRUE(notice.has_value());
  EXPECT_EQ(*notice, (GraphNotification{kGraphHighPassIndex, 768 + 2}));
}

TEST_F(GraphTest, LowPassAtTheRightEdgeTurnsOff) {
  graph.ShowOutput(5);
  CFilter& lp = Set(5).LowPass();
  lp.SetFrequency(3000, false);
  Drag(5, kGraphLowPassIndex, {{kClientW + 50, Centre(5, kGraphLowPassIndex).y}});
  EXPECT_EQ(lp.Frequency(), 20000);
  for (double db : lp.ResponseDb()) ASSERT_EQ(db, 0.0);
}

TEST_F(GraphTest, LowPassStopsAtTheHighPass) {
  graph.ShowOutput(5);
  Set(5).HighPass().SetFrequency(500, false);
  Set(5).LowPass().SetFrequency(3000, false);
  Drag(5, kGraphLowPassIndex, {{XOf(100), Centre(5, kGraphLowPassIndex).y}});
  EXPECT_EQ(Set(5).LowPass().Frequency(), 500);
}

TEST_F(GraphTest, HighPassLimitModesAtTheLowPassFrequency) {
  // Output 1 (mode 8) and output 2 (mode 7): the low-pass is a hard stop.
  for (int o : {1, 2}) {
    graph.ShowOutput(o);
    Set(o).LowPass().SetFrequency(5000, false);
    Set(o).HighPass().SetFrequency(100, false);
    const int y = Centre(o, kGraphHighPassIndex).y;
    Drag(o, kGraphHighPassIndex, {{XOf(8000), y}});
    EXPECT_EQ(Set(o).HighPass().Frequency(), 5000) << "output " << o;
    Drag(o, kGraphHighPassIndex, {{kClientW + 50, y}});
    EXPECT_EQ(Set(o).HighPass().Frequency(), 5000) << "output " << o;
  }
  // Output 0 (mode 9): stops there too, except at the right edge, which turns it to 20 kHz.
  graph.ShowOutput(0);
  Set(0).LowPass().SetFrequency(5000, false);
  Set(0).HighPass().SetFrequency(100, false);
  const int y = Centre(0, kGraphHighPassIndex).y;
  Drag(0, kGraphHighPassIndex, {{XOf(8000), y}});
  EXPECT_EQ(Set(0).HighPass().Frequency(), 5000);
  Drag(0, kGraphHighPassIndex, {{kClientW + 50, y}});
  EXPECT_EQ(Set(0).HighPass().Frequency(), 20000);
}

TEST_F(GraphTest, CrossoverIsLetGoWhenThePointerLeavesWithoutHolding) {
  graph.ShowOutput(1);
  graph.MouseMove(Centre(1, kGraphHighPassIndex));
  EXPECT_EQ(graph.CurrentIndex(), kGraphHighPassIndex);
  graph.MouseMove(Centre(1, 3));  // straight onto a band
  EXPECT_EQ(graph.CurrentFilter(), &Set(1).At(3));
  EXPECT_TRUE(graph.Hover());
}

TEST_F(GraphTest, AtMostOneNotificationPerFiftyMilliseconds) {
  graph.ShowOutput(6);
  const Point c = Centre(6, 17);
  graph.MouseMove(c);
  graph.ButtonDown(c);
  const auto t0 = ResponseGraphModel::Clock::time_point{} + 1h;
  std::vector<ResponseGraphModel::Clock::time_point> sent;
  // A mouse event every millisecond for half a second, the timer polled as often.
  for (int ms = 0; ms < 500; ++ms) {
    graph.MouseMove({c.x + ms % 100, c.y - (ms / 5) % 60});
    if (auto n = graph.Poll(t0 + std::chrono::milliseconds(ms))) {
      EXPECT_EQ(*n, (GraphNotification{17, 768 + 6}));
      sent.push_back(t0 + std::chrono::milliseconds(ms));
    }
  }
  graph.ButtonUp(c);
  ASSERT_GE(sent.size(), 9U);
  EXPECT_LE(sent.size(), 10U);
  for (std::size_t i = 1; i < sent.size(); ++i) EXPECT_GE(sent[i] - sent[i - 1], 50ms);
  // The last change still goes out on the first tick allowed.
  const auto last = sent.back();
  if (graph.NotifyPending()) {
    EXPECT_FALSE(graph.Poll(last + 49ms).has_value());
    EXPECT_TRUE(graph.Poll(last + 50ms).has_value());
  }
  EXPECT_FALSE(graph.Poll(last + 500ms).has_value());
}

class RecordingControl : public FilterControl {
 public:
  void ShowFrequency(int hz) override { frequencies.push_back(hz); }
  void ShowGainIndex(int index) override { gains.push_back(index); }
  std::vector<int> frequencies;
  std::vector<int> gains;
};

TEST_F(GraphTest, AttachedControlsFollowTheDrag) {
  RecordingControl band;
  RecordingControl hp;
  Set(6).At(17).SetAttachedControl(&band);
  Set(6).HighPass().SetAttachedControl(&hp);
  graph.ShowOutput(6);
  Drag(6, 17, {{Centre(6, 17).x, YOf(-6)}});
  ASSERT_FALSE(band.gains.empty());
  EXPECT_NEAR(band.gains.back(), 140, 1);  // −6 dB within a pixel
  Drag(6, kGraphHighPassIndex, {{XOf(300), Centre(6, kGraphHighPassIndex).y}});
  ASSERT_FALSE(hp.frequencies.empty());
  EXPECT_EQ(hp.frequencies.back(), Set(6).HighPass().Frequency());
}

TEST_F(GraphTest, HandleTexts) {
  graph.ShowOutput(6);
  EXPECT_EQ(graph.HandleText(0), "1");
  EXPECT_EQ(graph.HandleText(30), "31");
  EXPECT_EQ(graph.HandleText(kGraphHighPassIndex), "Hi");
  EXPECT_EQ(graph.HandleText(kGraphLowPassIndex), "Lo");
}

TEST_F(GraphTest, LabelFollowsHighlightOrCurrentFilter) {
  graph.ShowOutput(6);
  EXPECT_EQ(graph.LabelFilter(), nullptr);
  graph.MouseMove(Centre(6, 17));
  EXPECT_EQ(graph.LabelFilter(), &Set(6).At(17));
  graph.SetHighlight(kGraphLowPassIndex);
  EXPECT_EQ(graph.LabelFilter(), &Set(6).LowPass());
}

TEST_F(GraphTest, PrepareCurvesSumsShownAndFlaggedOutputs) {
  graph.ShowOutput(1);
  graph.SetShowCurve(1, true);
  graph.SetShowCurve(4, true);
  Set(4).At(17).SetGainIndex(300);
  Set(1).At(3).SetGainIndex(100);
  EXPECT_EQ(graph.PrepareCurves(), std::vector<int>{4});
  EXPECT_LT(Set(4).PointsF()[136].y, YOf(9));               // +10 dB at 1 kHz, above +9 dB
  EXPECT_GT(Set(1).PointsF()[GridIndexOf(40)].y, YOf(-9));  // −10 dB at 40 Hz
}

TEST(GraphGain, PointerHeightToDecibels) {
  EXPECT_DOUBLE_EQ(ResponseGraphModel::GainOfPlotY(0, 400), 20.0);
  EXPECT_DOUBLE_EQ(ResponseGraphModel::GainOfPlotY(200, 400), 0.0);
  EXPECT_DOUBLE_EQ(ResponseGraphModel::GainOfPlotY(400, 400), -20.0);
  EXPECT_NEAR(ResponseGraphModel::GainOfPlotY(100, 400), 10.0, 1e-9);
  EXPECT_NEAR(ResponseGraphModel::GainOfPlotY(101, 400), 9.9, 1e-9);
  EXPECT_DOUBLE_EQ(ResponseGraphModel::GainOfPlotY(-5, 400), 20.0);
  EXPECT_DOUBLE_EQ(ResponseGraphModel::GainOfPlotY(10, 0), 0.0);
}

std::vector<std::vector<PointF>> Runs(const std::vector<PointF>& pts, float top, float bottom) {
  CurveRuns runs;
  ClipCurveToBand(pts.data(), pts.size(), top, bottom, runs);
  std::vector<std::vector<PointF>> out;
  for (std::size_t r = 0; r < runs.RunCount(); ++r) {
    const auto first = runs.points.begin() + static_cast<std::ptrdiff_t>(runs.starts[r]);
    out.emplace_back(first, first + static_cast<std::ptrdiff_t>(runs.RunLength(r)));
  }
  return out;
}

void ExpectPoint(PointF p, float x, float y) {
  EXPECT_FLOAT_EQ(p.x, x);
  EXPECT_FLOAT_EQ(p.y, y);
}

TEST(ClipCurveToBand, KeepsACurveInsideWhole) {
  const auto runs = Runs({{0, 10}, {1, 20}, {2, 30}}, 0, 100);
  ASSERT_EQ(runs.size(), 1U);
  ASSERT_EQ(runs[0].size(), 3U);
  ExpectPoint(runs[0][2], 2, 30);
}

TEST(ClipCurveToBand, CutsAnExcursionBelowIntoTwoRunsEndingOnTheEdge) {
  // Down through the bottom (y = 100) far beyond it, and back up.
  const auto runs = Runs({{0, 50}, {10, 150}, {20, 5000}, {30, 150}, {40, 50}}, 0, 100);
  ASSERT_EQ(runs.size(), 2U);
  ASSERT_EQ(runs[0].size(), 2U);
  ExpectPoint(runs[0][0], 0, 50);
  ExpectPoint(runs[0][1], 5, 100);
  ASSERT_EQ(runs[1].size(), 2U);
  ExpectPoint(runs[1][0], 35, 100);
  ExpectPoint(runs[1][1], 40, 50);
}

TEST(ClipCurveToBand, CrossesTheWholeBandInOneSegment) {
  const auto runs = Runs({{0, -100}, {10, 200}}, 0, 100);
  ASSERT_EQ(runs.size(), 1U);
  ASSERT_EQ(runs[0].size(), 2U);
  EXPECT_NEAR(runs[0][0].x, 10.0F / 3.0F, 1e-5);
  ExpectPoint(runs[0][1], 20.0F / 3.0F, 100);
}

TEST(ClipCurveToBand, DropsACurveOutsideAndFlatRunsOutside) {
  EXPECT_TRUE(Runs({{0, 500}, {10, 600}, {20, 600}}, 0, 100).empty());
  EXPECT_TRUE(Runs({}, 0, 100).empty());
  const auto single = Runs({{3, 40}}, 0, 100);
  ASSERT_EQ(single.size(), 1U);
  ExpectPoint(single[0][0], 3, 40);
}

}  // namespace
}  // namespace vantor
