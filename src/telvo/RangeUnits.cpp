#include "telvo/RangeUnits.h"

#include <cmath>

std::optional<int32_t> WholeMillimetres(double millimetres) {
    if (!std::isfinite(millimetres) || millimetres < 0.0)
        return std::nullopt;
    const double rounded = std::round(millimetres); // halves away from zero
    if (rounded > static_cast<double>(INT32_MAX))
        return std::nullopt;
    return static_cast<int32_t>(rounded);
}
