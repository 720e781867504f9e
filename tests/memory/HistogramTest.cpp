// The graphs' samples and geometry: what the value property keeps and
// gives back, the zoom's limits, and where the line and grid fall.
#include "memory/Histogram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace corvane::memory {
namespace {

TEST(HistogramSamples, StartsEmptyAtZoomThirty) {
  HistogramSamples graph;
  EXPECT_EQ(graph.zoom(), 30);
  EXPECT_EQ(graph.latest(), 0);
  EXPECT_EQ(graph.total(), 0u);
  EXPECT_TRUE(graph.Visible().empty());
}

TEST(HistogramSamples, ValuePropertyRoundsAndReadsBackTheLatest) {
  struct Case {
    double given;
    int kept;
  };
  const Case cases[] = {
      {42.0, 42},   {39.0625, 39}, {39.5, 40},  {-1.0, -1},  // a sampler that cannot measure
      {0.49, 0},    {100.0, 100},  {250.0, 250}, {-0.5, -1},
      {1e12, 1'000'000}, {-1e12, -1'000'000},
      {std::numeric_limits<double>::quiet_NaN(), 0},
      {std::numeric_limits<double>::infinity(), 0},  // free memory over a total of 0
  };
  for (const Case& c : cases) {
    HistogramSamples graph;
    graph.Add(c.given);
    EXPECT_EQ(graph.latest(), c.kept) << c.given;
    EXPECT_EQ(graph.Visible(), std::vector<int>{c.kept}) << c.given;
  }
}

TEST(HistogramSamples, ShowsTheLastZoomSamplesOldestFirst) {
  HistogramSamples graph;
  for (int i = 1; i <= 150; ++i) graph.Add(i);
  EXPECT_EQ(graph.total(), 150u);
  EXPECT_EQ(graph.latest(), 150);
  std::vector<int> visible = graph.Visible();
  ASSERT_EQ(visible.size(), 30u);
  EXPECT_EQ(visible.front(), 121);
  EXPECT_EQ(visible.back(), 150);
  // Zooming out shows older samples again, up to the hundred kept.
  graph.SetZoom(100);
  visible = graph.Visible();
  ASSERT_EQ(visible.size(), 100u);
  EXPECT_EQ(visible.front(), 51);
}

TEST(HistogramSamples, ZoomIsHeldWithinThirtyToAHundred) {
  const std::pair<int, int> cases[] = {{30, 30}, {31, 31}, {100, 100}, {29, 30}, {0, 30},
                                       {-5, 30}, {101, 100}, {1000, 100}};
  for (auto [given, held] : cases) {
    HistogramSamples graph;
    graph.SetZoom(given);
    EXPECT_EQ(graph.zoom(), held) << given;
  }
}

TEST(GraphGeometry, RowsRunFromTheBottomForZeroToTheTopForAHundred) {
  const struct {
    int value, height, row;
  } cases[] = {
      {0, 101, 100}, {100, 101, 0}, {50, 101, 50}, {25, 101, 75},
      {-1, 101, 100}, {250, 101, 0},  // held at the edges
      {50, 60, 29},  {1, 60, 58},    {0, 1, 0},    {100, 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(GraphRow(c.value, c.height), c.row) << c.value << " in " << c.height;
}

TEST(GraphGeometry, TheNewestSampleIsAtTheRightEdgeAndZoomSetsTheStep) {
  // 30 samples in a 30-line graph 291 wide: one every 10 pixels, from 0 to 290.
  std::vector<int> samples(30, 50);
  samples.back() = 100;
  std::vector<GraphPoint> line = GraphLine(samples, 30, 291, 101);
  ASSERT_EQ(line.size(), 30u);
  EXPECT_EQ(line.back(), (GraphPoint{290, 0}));
  EXPECT_EQ(line.front(), (GraphPoint{0, 50}));
  EXPECT_EQ(line[28].x, 280);
  // Fewer samples than lines: they start part-way across, at the same step.
  std::vector<int> three{10, 20, 30};
  line = GraphLine(three, 30, 291, 101);
  EXPECT_EQ(line, (std::vector<GraphPoint>{{270, 90}, {280, 80}, {290, 70}}));
  // At zoom 100 the same width holds 100 lines.
  std::vector<int> hundred(100, 0);
  line = GraphLine(hundred, 100, 298, 50);
  ASSERT_EQ(line.size(), 100u);
  EXPECT_EQ(line.front().x, 0);
  EXPECT_EQ(line[98].x, 294);
  EXPECT_EQ(line.back().x, 297);
  // More samples than lines: only the newest fit.
  line = GraphLine(hundred, 30, 298, 50);
  EXPECT_EQ(line.size(), 30u);
  EXPECT_EQ(line.front().x, 0);
}

TEST(GraphGeometry, EveryPointLiesInsideTheGraph) {
  for (int width : {1, 2, 7, 100, 331}) {
    for (int height : {1, 2, 9, 120}) {
      for (int zoom : {30, 57, 100}) {
        std::vector<int> samples;
        for (int i = 0; i < 120; ++i) samples.push_back(i * 7 % 131 - 10);
        for (const GraphPoint& p : GraphLine(samples, zoom, width, height)) {
          ASSERT_GE(p.x, 0);
          ASSERT_LT(p.x, width);
          ASSERT_GE(p.y, 0);
          ASSERT_LT(p.y, height);
        }
      }
    }
  }
  EXPECT_TRUE(GraphLine(std::vector<int>{1, 2}, 30, 0, 10).empty());
  EXPECT_TRUE(GraphLine({}, 30, 100, 100).empty());
}

TEST(GraphGeometry, GridRowsAtEveryFifthAndColumnsScrollWithTheSamples) {
  EXPECT_EQ(GridRows(101), (std::vector<int>{80, 60, 40, 20}));
  EXPECT_TRUE(GridRows(2).empty());
  // 291 wide at zoom 30: 10 pixels a sample, a column every 10 samples.
  EXPECT_EQ(GridColumns(291, 30, 1), (std::vector<int>{190, 90}));   // at the newest, x 290: the edge
  EXPECT_EQ(GridColumns(291, 30, 2), (std::vector<int>{280, 180, 80}));
  EXPECT_EQ(GridColumns(291, 30, 3), (std::vector<int>{270, 170, 70}));
  // Ten samples later the grid looks the same again.
  EXPECT_EQ(GridColumns(291, 30, 12), GridColumns(291, 30, 2));
  EXPECT_TRUE(GridColumns(2, 30, 5).empty());
}

}  // namespace
}  // namespace corvane::memory
