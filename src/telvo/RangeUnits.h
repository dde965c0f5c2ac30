#pragma once
// Distances in whole millimetres, as the canvas writes them.

#include <cstdint>
#include <optional>

// `millimetres` rounded half away from zero; nothing for NaN, infinities,
// negative values and values beyond a 32-bit integer.
std::optional<int32_t> WholeMillimetres(double millimetres);
