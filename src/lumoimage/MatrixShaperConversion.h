#pragma once
// The quick way to sRGB for the profiles most cameras and phones write
// (Adobe RGB, Display P3): three tone curves and a 3 x 3 matrix. Read from
// the profile with Little CMS and applied with tables and integer sums, a
// few times faster than a general transform. Relative colorimetric, which
// for such profiles is also what the perceptual intent gives.

#include "lumoimage/SrgbConversion.h"

#include <array>
#include <cstdint>
#include <memory>

class MatrixShaperConversion : public SrgbConversion {
public:
    // Null when `profile` (a Little CMS profile handle) is no RGB matrix-shaper.
    static std::unique_ptr<MatrixShaperConversion> From(void* profile);

    void Convert(unsigned char* pixels, int count) const override;

private:
    // For each source channel (R, G, B) and code, its share of sRGB's linear
    // R, G and B (and a zero, for 16-byte rows): summed over the three
    // channels and shifted right by 16, 0..4095 inside the sRGB gamut.
    alignas(16) std::array<std::array<std::array<std::int32_t, 4>, 256>, 3> m_share{};
    std::array<std::uint8_t, 4096> m_encode{}; // linear sRGB to its codes
};
