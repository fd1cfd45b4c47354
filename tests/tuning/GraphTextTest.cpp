// The graph's texts stay readable: a label box never lies on a handle, a handle's text or
// an axis label; handle texts never run into each other; no handle reaches an axis label;
// the label goes when the pointer leaves. And the wheel over a band handle.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "OutputSets.h"
#include "dsp/FilterCodes.h"
#include "dsp/FilterControl.h"
#include "dsp/KTVEQ.h"
#include "dsp/PlotMapping.h"
#include "tuning/GraphTextLayout.h"
#include "tuning/ResponseGraphModel.h"

namespace vantor {
namespace {

// The form's graph.
constexpr int kClientW = 574;
constexpr int kClientH = 282;
// Text widths close to the graph's 12-pixel font.
constexpr int kDigitWidth = 7;
constexpr int kLabelHeight = 18;
constexpr int kTextHeight = 11;

int TextWidth(const std::string& text) { return static_cast<int>(text.size()) * kDigitWidth; }

class GraphTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    live = true;
    constexpr std::array<int, rec::kOutputCount> kModes = {7, 7, 7, 7, 7, 7, 7, 7};
    testing::AttachOutputSets(sets, live, kModes, graph, kClientW, kClientH);
    graph.ShowOutput(6);
  }

  CKTVEQ& Set() { return *sets[6]; }
  Point Centre(int element) { return Set().At(element).HandleRect().Center(); }
  std::vector<Rect> Texts() const { return graph.HandleTextBoxes(TextWidth, kTextHeight); }
  Rect Label() const {
    const CFilter* f = graph.LabelFilter();
    return graph.LabelBox(TextWidth(f->LabelText()) + 16, kLabelHeight, Texts());
  }

  // The label box lies inside the plot and on nothing else that is drawn.
  void ExpectLabelClear(const std::string& what) {
    ASSERT_NE(graph.LabelFilter(), nullptr) << what;
    const Rect box = Label();
    const Rect& plot = graph.PlotRect();
    EXPECT_GE(box.left, plot.left) << what;
    EXPECT_LE(box.right, plot.right) << what;
    EXPECT_GE(box.top, plot.top) << what;
    EXPECT_LE(box.bottom, plot.bottom) << what;
    for (int i = 0; i < Set().Count(); ++i) {
      EXPECT_FALSE(Overlaps(box, graph.HandleDisc(i))) << what << ": disc of element " << i;
    }
    for (const Rect& t : Texts()) EXPECT_FALSE(Overlaps(box, t)) << what << ": a handle text";
    for (const GraphText& a : graph.AxisLabels()) {
      EXPECT_FALSE(Overlaps(box, a.box)) << what << ": axis label " << a.text;
    }
    if (graph.ShowsWidthHandles()) {
      EXPECT_FALSE(Overlaps(box, graph.CurrentFilter()->LeftWidthHandle())) << what;
      EXPECT_FALSE(Overlaps(box, graph.CurrentFilter()->RightWidthHandle())) << what;
    }
  }

  // No text on another; with `onHandle` each also still on its own handle (handles piled
  // on one spot cannot all keep theirs).
  void ExpectTextsApart(const std::string& what, bool onHandle) {
    const std::vector<Rect> texts = Texts();
    for (std::size_t a = 0; a < texts.size(); ++a) {
      EXPECT_TRUE(!onHandle || Overlaps(texts[a], graph.HandleDisc(static_cast<int>(a))))
          << what << ": text of element " << a << " left its handle";
      EXPECT_GE(texts[a].left, 0);
      EXPECT_LE(texts[a].right, kClientW);
      for (std::size_t b = a + 1; b < texts.size(); ++b) {
        EXPECT_FALSE(Overlaps(texts[a], texts[b])) << what << ": texts " << a << " and " << b;
      }
    }
  }

  LiveSyncFlag live{false};
  testing::OutputSets sets;
  ResponseGraphModel graph;
};

TEST_F(GraphTextTest, ABandsLabelKeepsOffTheRowOfFlatHandles) {
  // Every band at 0 dB lies in one row; band 18 raised a little sits just above it, where
  // the label's own place would fall onto the row.
  Set().At(17).SetGainIndex(GainIndexFromDb(3.0));
  graph.MouseMove(Centre(17));
  ASSERT_EQ(graph.CurrentIndex(), 17);
  ExpectLabelClear("band 18 at +3 dB");

  for (int band : {0, 10, 29, 30}) {
    graph.MouseMove(Centre(band));
    ASSERT_EQ(graph.CurrentIndex(), band);
    ExpectLabelClear("band " + std::to_string(band + 1) + " in the row");
  }
  // Near the edges of the plot too.
  for (double db : {20.0, -20.0, -17.0}) {
    Set().At(5).SetGainIndex(GainIndexFromDb(db));
    graph.MouseMove({1, 1});
    graph.MouseMove(Centre(5));
    ExpectLabelClear("band 6 at " + std::to_string(db) + " dB");
  }
}

TEST_F(GraphTextTest, ACrossoverLabelKeepsOffTheOtherCrossoversHandle) {
  Set().HighPass().SetFrequency(80, false);
  graph.SetHighlight(kGraphLowPassIndex);
  ExpectLabelClear("the low-pass at 20 kHz");
  graph.SetHighlight(kGraphHighPassIndex);
  ExpectLabelClear("the high-pass at 80 Hz");
  // Crossovers close together, each label clear of the other's handle.
  Set().HighPass().SetFrequency(4000, false);
  Set().LowPass().SetFrequency(5000, false);
  for (int element : {kGraphHighPassIndex, kGraphLowPassIndex}) {
    graph.SetHighlight(element);
    ExpectLabelClear("crossovers at 4 and 5 kHz, element " + std::to_string(element));
  }
}

TEST_F(GraphTextTest, HandleTextsNeverRunIntoEachOther) {
  ExpectTextsApart("every band where it starts", true);  // 30 and 31 crowd at the right edge
  const std::vector<Rect> texts = Texts();
  EXPECT_EQ(texts[30].Width(), TextWidth("31") + 4);  // the whole "31", not "1"

  // Six bands tuned among the flat ones, some on a flat band's frequency just above or
  // below the row: every text keeps to its own handle.
  const std::array<std::pair<int, double>, 6> tuned = {
      {{160, 3.0}, {315, -5.0}, {800, -2.0}, {2500, 3.5}, {6300, -3.0}, {12500, 2.0}}};
  for (int b = 0; b < 6; ++b) {
    Set().At(b).SetFrequency(tuned[static_cast<std::size_t>(b)].first, false);
    Set().At(b).SetGainIndex(GainIndexFromDb(tuned[static_cast<std::size_t>(b)].second));
  }
  ExpectTextsApart("six bands tuned", true);

  // Bands dragged on top of one another.
  for (int b : {10, 11, 12, 13}) Set().At(b).SetFrequency(1000, false);
  ExpectTextsApart("four bands at 1 kHz", false);
}

TEST_F(GraphTextTest, NoHandleAtTheLeftEdgeReachesAnAxisLabel) {
  Set().HighPass().SetFrequency(20, false);  // off, at the left edge, by the "-15" label
  for (int band : {0, 5, 12}) Set().At(band).SetFrequency(20, false);
  for (int db = -20; db <= 20; ++db) {
    for (int band : {0, 5, 12}) Set().At(band).SetGainIndex(GainIndexFromDb(db));
    for (int i = 0; i < Set().Count(); ++i) {
      for (const GraphText& a : graph.AxisLabels()) {
        EXPECT_FALSE(Overlaps(graph.HandleDisc(i), a.box))
            << "element " << i << " at " << db << " dB over \"" << a.text << "\"";
      }
    }
  }
  // The dB column is right-aligned and wide enough for "+20" and "0dB".
  for (const GraphText& a : graph.AxisLabels()) {
    EXPECT_GE(a.box.Width(), TextWidth(a.text)) << a.text;
  }
}

TEST_F(GraphTextTest, TheLabelGoesWhenThePointerLeaves) {
  graph.MouseMove(Centre(17));
  ASSERT_NE(graph.LabelFilter(), nullptr);
  EXPECT_TRUE(graph.PointerLeft());
  EXPECT_EQ(graph.LabelFilter(), nullptr);
  EXPECT_FALSE(graph.Hover());
  EXPECT_FALSE(graph.PointerLeft());  // nothing left to remove

  // A panel's highlight goes too, and one left on the plot yields to the pointer.
  graph.SetHighlight(kGraphLowPassIndex);
  graph.MouseMove(Centre(17));
  EXPECT_EQ(graph.LabelFilter(), &Set().At(17));
  graph.SetHighlight(kGraphLowPassIndex);
  EXPECT_TRUE(graph.PointerLeft());
  EXPECT_EQ(graph.LabelFilter(), nullptr);

  // While a drag holds on, the label stays.
  graph.MouseMove(Centre(17));
  graph.ButtonDown(Centre(17));
  EXPECT_FALSE(graph.PointerLeft());
  EXPECT_EQ(graph.LabelFilter(), &Set().At(17));
  graph.ButtonUp(Centre(17));
}

TEST(GraphTextLayout, PlaceClearFindsTheNearestFreePlaceOrTheLeastCovered) {
  const Rect bounds{0, 0, 100, 100};
  // Free where asked.
  EXPECT_EQ(PlaceClear({10, 10}, 20, 10, bounds, {}, {}), (Rect{10, 10, 30, 20}));
  // Kept inside.
  EXPECT_EQ(PlaceClear({95, 95}, 20, 10, bounds, {}, {}), (Rect{80, 90, 100, 100}));
  // Moved off an obstacle by the least distance.
  const Rect placed = PlaceClear({10, 10}, 20, 10, bounds, {{0, 8, 100, 16}}, {});
  EXPECT_FALSE(Overlaps(placed, {0, 8, 100, 16}));
  EXPECT_EQ(placed.left, 10);
  EXPECT_EQ(placed.top, 16);
  // Nowhere free: the place that covers least.
  const Rect least =
      PlaceClear({0, 0}, 20, 10, {0, 0, 40, 10}, {{0, 0, 20, 10}, {20, 0, 40, 5}}, {});
  EXPECT_EQ(least, (Rect{20, 0, 40, 10}));
}

TEST(GraphTextLayout, SpreadApartKeepsOrderAndRoom) {
  std::vector<Rect> boxes = {{10, 0, 20, 10}, {12, 0, 22, 10}, {14, 0, 24, 10}, {40, 20, 50, 30}};
  SpreadApart(boxes, 0, 100);
  for (std::size_t i = 0; i + 1 < 3; ++i) {
    EXPECT_LE(boxes[i].right, boxes[i + 1].left);
    EXPECT_EQ(boxes[i].Width(), 10);
  }
  EXPECT_EQ(boxes[3], (Rect{40, 20, 50, 30}));  // another row: untouched
  // Against the right edge the crowd grows to the left.
  std::vector<Rect> edge = {{85, 0, 95, 10}, {90, 0, 100, 10}};
  SpreadApart(edge, 0, 100);
  EXPECT_EQ(edge[1].right, 100);
  EXPECT_EQ(edge[0].right, 90);
}

// ---------------------------------------------------------------------------------------
// The wheel

struct GainRecorder : FilterControl {
  void ShowFrequency(int /*hz*/) override {}
  void ShowGainIndex(int gainIndex) override { gains.push_back(gainIndex); }
  std::vector<int> gains;
};

TEST_F(GraphTextTest, AWheelNotchStepsTheBandsGainByHalfADecibelLikeADrag) {
  CFilter& band = Set().At(17);
  GainRecorder control;
  band.SetAttachedControl(&control);
  EXPECT_EQ(graph.WheelNotch(Centre(17), +1, false), 17);
  EXPECT_DOUBLE_EQ(band.Gain(), 0.5);
  EXPECT_EQ(band.Flat(), 0);
  EXPECT_EQ(band.Pending(), 1);  // sent like a drag
  EXPECT_TRUE(graph.NotifyPending());
  EXPECT_EQ(graph.CurrentFilter(), &band);  // its label shows the new value
  EXPECT_EQ(control.gains, std::vector<int>{205});
  for (int i = 0; i < 3; ++i) graph.WheelNotch(Centre(17), -1, false);
  EXPECT_DOUBLE_EQ(band.Gain(), -1.0);

  // At the top a notch up changes nothing.
  band.SetGainIndex(kGainIndexMax);
  graph.Poll(ResponseGraphModel::Clock::now());
  EXPECT_FALSE(graph.WheelNotch(Centre(17), +1, false).has_value());
  EXPECT_FALSE(graph.NotifyPending());
  EXPECT_EQ(graph.WheelNotch(Centre(17), -1, false), 17);
  EXPECT_DOUBLE_EQ(band.Gain(), 19.5);
}

TEST_F(GraphTextTest, TheWheelKeepsItsBandWhileThePointerStaysPut) {
  // Ten notches move the handle well away from the pointer; they all go to band 18.
  const Point p = Centre(17);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(graph.WheelNotch(p, +1, false), 17) << "notch " << i;
  EXPECT_DOUBLE_EQ(Set().At(17).Gain(), 5.0);
  EXPECT_FALSE(Set().At(17).HandleRect().Contains(p));
  // Once the pointer moves, the band under it counts again: none here.
  graph.MouseMove({p.x + 1, p.y});
  EXPECT_FALSE(graph.WheelNotch({p.x + 1, p.y}, +1, false).has_value());
  EXPECT_DOUBLE_EQ(Set().At(17).Gain(), 5.0);
}

TEST_F(GraphTextTest, ShiftWheelStepsThePeakingBandsBandwidth) {
  CFilter& band = Set().At(12);
  const int width = band.BandwidthIndex();
  EXPECT_EQ(graph.WheelNotch(Centre(12), +1, true), 12);
  EXPECT_EQ(band.BandwidthIndex(), width + 1);
  EXPECT_DOUBLE_EQ(band.Gain(), 0.0);  // the gain stays
  graph.WheelNotch(Centre(12), -1, true);
  graph.WheelNotch(Centre(12), -1, true);
  EXPECT_EQ(band.BandwidthIndex(), width - 1);

  band.SetBandwidthIndex(kBandwidthIndexMax);
  EXPECT_FALSE(graph.WheelNotch(Centre(12), +1, true).has_value());
  band.SetBandwidthIndex(kBandwidthIndexNarrowest);
  EXPECT_FALSE(graph.WheelNotch(Centre(12), -1, true).has_value());

  // Shelves and graphic bands have no bandwidth handles, so no bandwidth step either.
  Set().At(3).SetEqType(1);
  EXPECT_FALSE(graph.WheelNotch(Centre(3), +1, true).has_value());
  Set().At(20).SetGraphicMode(1);
  EXPECT_FALSE(graph.WheelNotch(Centre(20), +1, true).has_value());
  EXPECT_EQ(graph.WheelNotch(Centre(20), +1, false), 20);  // its gain still steps
}

TEST_F(GraphTextTest, TheWheelTakesOnlyBandsThePointerCouldGrab) {
  // Not a crossover, not empty plot.
  Set().HighPass().SetFrequency(300, false);
  EXPECT_FALSE(graph.WheelNotch(Centre(kGraphHighPassIndex), +1, false).has_value());
  EXPECT_EQ(Set().HighPass().Frequency(), 300);
  EXPECT_FALSE(graph.WheelNotch({300, 40}, +1, false).has_value());
  // Output 0 offers its first six bands only.
  graph.ShowOutput(0);
  CKTVEQ& front = *sets[0];
  EXPECT_FALSE(graph.WheelNotch(front.At(10).HandleRect().Center(), +1, false).has_value());
  EXPECT_EQ(front.At(10).GainIndex(), kGainIndexFlat);
  EXPECT_EQ(graph.WheelNotch(front.At(4).HandleRect().Center(), +1, false), 4);
  // Not while a drag holds another handle.
  graph.MouseMove(front.At(2).HandleRect().Center());
  graph.ButtonDown(front.At(2).HandleRect().Center());
  EXPECT_FALSE(graph.WheelNotch(front.At(4).HandleRect().Center(), +1, false).has_value());
  graph.ButtonUp(front.At(2).HandleRect().Center());
}

}  // namespace
}  // namespace vantor
