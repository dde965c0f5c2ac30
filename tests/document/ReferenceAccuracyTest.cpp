// Lengths read through a reference plane on synthetic photos of known
// geometry: the median error of lines in the plane, how often the stated
// uncertainty covers the true error, and how wide that uncertainty is.

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
    double medianUncertaintyPercent = 0;
    int lines = 0;
};

Outcome Measure(unsigned seed, synthetic::ViewRange range, int views, int linesPerView) {
    synthetic::ViewGenerator gen(seed, range);
    std::vector<double> errors, uncertainties;
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
            uncertainties.push_back(100 * c.uncertainty / line.trueLength);
            if (error <= c.uncertainty)
                ++covered;
        }
    }
    const auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    };
    Outcome o;
    o.lines = static_cast<int>(errors.size());
    o.medianErrorPercent = median(errors);
    o.medianUncertaintyPercent = median(uncertainties);
    o.coveredFraction = double(covered) / errors.size();
    return o;
}

struct AccuracyCase {
    const char* name;
    unsigned seed;
    synthetic::ViewRange range;
};

class ReferencePlaneAccuracy : public testing::TestWithParam<AccuracyCase> {};

// The coverage alone would pass with an absurdly wide uncertainty: the
// stated uncertainty must also stay of the size of the errors it covers.
TEST_P(ReferencePlaneAccuracy, InPlaneLinesWithinHalfAPercentAndCoveredByTheirUncertainty) {
    const Outcome o = Measure(GetParam().seed, GetParam().range, 200, 3);
    EXPECT_EQ(o.lines, 600);
    EXPECT_LE(o.medianErrorPercent, 0.5);
    EXPECT_GE(o.coveredFraction, 0.90);
    EXPECT_LT(o.medianUncertaintyPercent, 2.0);
    RecordProperty("median_error_percent", std::to_string(o.medianErrorPercent));
    RecordProperty("covered_percent", std::to_string(100 * o.coveredFraction));
    RecordProperty("median_uncertainty_percent", std::to_string(o.medianUncertaintyPercent));
}

INSTANTIATE_TEST_SUITE_P(
    Views, ReferencePlaneAccuracy,
    testing::Values(AccuracyCase{"QuarterToMostOfTheWidth", 14, {0.25, 0.8, 0, 55}},
                    AccuracyCase{"ObliqueViews", 1414, {0.25, 0.8, 45, 65}},
                    AccuracyCase{"QuarterWidthOnly", 2814, {0.25, 0.3, 0, 55}}),
    [](const testing::TestParamInfo<AccuracyCase>& info) { return info.param.name; });

} // namespace
