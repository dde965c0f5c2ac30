// Lengths read through a reference plane on synthetic photos of known
// geometry: the median error of lines in the plane, and how often the stated
// uncertainty covers the true error.

#include "common/SyntheticViews.h"
#include "document/ComputedLength.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Outcome {
    double medianErrorPercent = 0;
    double coveredFraction = 0;
    int lines = 0;
};

Outcome Measure(unsigned seed, synthetic::ViewRange range, int views, int linesPerView) {
    synthetic::ViewGenerator gen(seed, range);
    std::vector<double> errors;
    int covered = 0;
    for (int v = 0; v < views; ++v) {
        const synthetic::View view = gen.Next();
        const Quad clicked = OrderCorners(*view.ClickedCorners());
        for (int i = 0; i < linesPerView; ++i) {
            const synthetic::PlaneLine line = synthetic::RandomLine(view, gen);
            // The width is typed for the sides closer to horizontal on the photo.
            const Quad rect = *view.ClickedCorners();
            const bool widthAcross = clicked[0] == rect[0] || clicked[0] == rect[2];
            const double w = widthAcross ? view.width : view.height;
            const double h = widthAcross ? view.height : view.width;
            const ComputedLength c = PlaneLength(clicked, w, h, line.a, line.b);
            EXPECT_TRUE(c.HasValue());
            if (!c.HasValue())
                continue;
            const double error = std::abs(c.length - line.trueLength);
            errors.push_back(100 * error / line.trueLength);
            if (error <= c.uncertainty)
                ++covered;
        }
    }
    Outcome o;
    o.lines = static_cast<int>(errors.size());
    std::nth_element(errors.begin(), errors.begin() + errors.size() / 2, errors.end());
    o.medianErrorPercent = errors[errors.size() / 2];
    o.coveredFraction = double(covered) / errors.size();
    return o;
}

struct AccuracyCase {
    const char* name;
    unsigned seed;
    synthetic::ViewRange range;
};

class ReferencePlaneAccuracy : public testing::TestWithParam<AccuracyCase> {};

TEST_P(ReferencePlaneAccuracy, InPlaneLinesWithinHalfAPercentAndCoveredByTheirUncertainty) {
    const Outcome o = Measure(GetParam().seed, GetParam().range, 200, 3);
    EXPECT_EQ(o.lines, 600);
    EXPECT_LE(o.medianErrorPercent, 0.5);
    EXPECT_GE(o.coveredFraction, 0.90);
    RecordProperty("median_error_percent", std::to_string(o.medianErrorPercent));
    RecordProperty("covered_percent", std::to_string(100 * o.coveredFraction));
}

INSTANTIATE_TEST_SUITE_P(
    Views, ReferencePlaneAccuracy,
    testing::Values(AccuracyCase{"QuarterToMostOfTheWidth", 14, {0.25, 0.8, 0, 55}},
                    AccuracyCase{"ObliqueViews", 1414, {0.25, 0.8, 45, 65}},
                    AccuracyCase{"QuarterWidthOnly", 2814, {0.25, 0.3, 0, 55}}),
    [](const testing::TestParamInfo<AccuracyCase>& info) { return info.param.name; });

// The coverage test would pass with an absurdly wide uncertainty; the
// uncertainty must also stay of the size of the errors it covers.
TEST(ReferencePlaneAccuracy, TheUncertaintyIsNotAbsurdlyWide) {
    synthetic::ViewGenerator gen(7, {0.25, 0.8, 0, 55});
    std::vector<double> ratios;
    for (int v = 0; v < 200; ++v) {
        const synthetic::View view = gen.Next();
        const Quad rect = *view.ClickedCorners();
        const Quad clicked = OrderCorners(rect);
        const bool widthAcross = clicked[0] == rect[0] || clicked[0] == rect[2];
        const synthetic::PlaneLine line = synthetic::RandomLine(view, gen);
        const ComputedLength c =
            PlaneLength(clicked, widthAcross ? view.width : view.height,
                        widthAcross ? view.height : view.width, line.a, line.b);
        ASSERT_TRUE(c.HasValue());
        ratios.push_back(100 * c.uncertainty / line.trueLength);
    }
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    EXPECT_LT(ratios[ratios.size() / 2], 2.0); // median stated ± below 2 % of the length
}

} // namespace
