#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dc_correction.h"

namespace {

TEST(CorrectDcValue, WorkedExamples) {
  struct Case {
    float in;
    double out;
  };
  for (const Case& c : std::vector<Case>{{20.0f, 20.04},
                                         {50.0f, 50.04},
                                         {100.0f, 99.99},
                                         {150.0f, 149.92},
                                         {-50.0f, -50.22},
                                         {-150.0f, -150.10},
                                         {-20.0f, -20.22}}) {
    EXPECT_NEAR(CorrectDcValue(c.in), c.out, 0.001) << c.in;
  }
  for (float unchanged : {19.99f, -19.99f, 0.0f, 19.999998f, -0.5f}) {
    EXPECT_EQ(CorrectDcValue(unchanged), unchanged);
  }
  EXPECT_TRUE(std::isnan(CorrectDcValue(NAN)));
}

// Each row of the correction: from its first value on the change is the row's, one hundredth
// of a kilovolt below it the row before's.
TEST(CorrectDcValue, EveryRowBoundaryOfBothSigns) {
  struct Row {
    double from;
    double change;
  };
  const std::vector<Row> positive = {
      {20, +0.04},     {70.97, +0.03},  {80.98, +0.02},  {85.99, +0.01},  {91.00, 0},
      {96.01, -0.01},  {101.02, -0.02}, {106.03, -0.03}, {111.04, -0.04}, {116.05, -0.05},
      {121.06, -0.06}, {126.07, -0.07}, {131.08, -0.08}};
  const std::vector<Row> negative = {
      {20, -0.22},     {70.79, -0.21},  {80.80, -0.20},  {85.81, -0.19},  {90.82, -0.18},
      {95.83, -0.17},  {100.84, -0.16}, {105.85, -0.15}, {110.86, -0.14}, {115.87, -0.13},
      {120.88, -0.12}, {125.89, -0.11}, {130.91, -0.10}};
  for (int sign : {+1, -1}) {
    const std::vector<Row>& rows = sign > 0 ? positive : negative;
    for (size_t r = 0; r < rows.size(); ++r) {
      const double at = sign * rows[r].from;
      const double below = sign * (rows[r].from - 0.01);
      const double changeBelow = r == 0 ? 0 : rows[r - 1].change;
      EXPECT_NEAR(CorrectDcValue(static_cast<float>(at)), at + rows[r].change, 0.002) << at;
      EXPECT_NEAR(CorrectDcValue(static_cast<float>(below)), below + changeBelow, 0.002) << below;
    }
    // Far above the last row the change stays the last row's.
    EXPECT_NEAR(CorrectDcValue(sign * 600.0f), sign * 600.0 + rows.back().change, 0.002);
  }
}

TEST(CorrectDcValue, OnlyRangeZeroWithMostlyDcIsCorrected) {
  EXPECT_TRUE(NeedsDcCorrection(0, 0));
  EXPECT_TRUE(NeedsDcCorrection(0, 15000));
  EXPECT_FALSE(NeedsDcCorrection(0, 15001));
  EXPECT_FALSE(NeedsDcCorrection(1, 0));
}

}  // namespace
