#include "lumoimage/MatrixShaperConversion.h"

#include <lcms2.h>

#include <algorithm>
#include <cmath>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// The colorants (columns: red, green, blue) in the profile connection space.
bool Colorants(cmsHPROFILE profile, Matrix* m) {
    const cmsTagSignature tags[] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                    cmsSigBlueColorantTag};
    for (int c = 0; c < 3; ++c) {
        const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, tags[c]));
        if (!xyz)
            return false;
        (*m)[0][c] = xyz->X;
        (*m)[1][c] = xyz->Y;
        (*m)[2][c] = xyz->Z;
    }
    return true;
}

bool Invert(const Matrix& a, Matrix* out) {
    const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                       a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                       a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    if (std::fabs(det) < 1e-9)
        return false;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            (*out)[r][c] = (a[r1][c1] * a[r2][c2] - a[r1][c2] * a[r2][c1]) / det;
        }
    return true;
}

} // namespace

std::unique_ptr<MatrixShaperConversion> MatrixShaperConversion::From(void* handle) {
    const auto profile = static_cast<cmsHPROFILE>(handle);
    if (cmsGetColorSpace(profile) != cmsSigRgbData || !cmsIsMatrixShaper(profile))
        return nullptr;
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    Matrix source{}, target{}, toTarget{};
    const bool read =
        Colorants(profile, &source) && Colorants(srgb, &target) && Invert(target, &toTarget);
    const auto* srgbCurve = static_cast<const cmsToneCurve*>(cmsReadTag(srgb, cmsSigRedTRCTag));
    cmsToneCurve* encode = srgbCurve ? cmsReverseToneCurve(srgbCurve) : nullptr;
    Matrix toSrgb{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k)
                toSrgb[r][c] += toTarget[r][k] * source[k][c];
    auto result = std::make_unique<MatrixShaperConversion>();
    const cmsTagSignature curves[] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    bool usable = read && encode;
    // Shares far from a real camera space's would overflow the sums.
    for (const auto& row : toSrgb)
        for (const double share : row)
            usable = usable && std::fabs(share) <= 2.0;
    for (int c = 0; usable && c < 3; ++c) {
        const auto* curve = static_cast<const cmsToneCurve*>(cmsReadTag(profile, curves[c]));
        usable = curve != nullptr;
        for (int v = 0; usable && v < 256; ++v) {
            const double linear =
                std::clamp(double(cmsEvalToneCurveFloat(curve, v / 255.0f)), 0.0, 1.0);
            for (int k = 0; k < 3; ++k)
                result->m_share[size_t(c)][size_t(v)][size_t(k)] =
                    std::int32_t(std::lround(toSrgb[k][c] * linear * 4095.0 * 65536.0));
        }
    }
    for (int i = 0; usable && i < 4096; ++i)
        result->m_encode[size_t(i)] = std::uint8_t(
            std::lround(std::clamp(cmsEvalToneCurveFloat(encode, i / 4095.0f), 0.0f, 1.0f) * 255));
    if (encode)
        cmsFreeToneCurve(encode);
    cmsCloseProfile(srgb);
    return usable ? std::move(result) : nullptr;
}

void MatrixShaperConversion::Convert(unsigned char* pixels, int count) const {
    const auto& r = m_share[0];
    const auto& g = m_share[1];
    const auto& b = m_share[2];
    for (int i = 0; i < count; ++i, pixels += 4) {
        // B, G, R, X in memory.
        const auto& fromR = r[pixels[2]];
        const auto& fromG = g[pixels[1]];
        const auto& fromB = b[pixels[0]];
#ifdef __SSE2__
        const __m128i sum = _mm_add_epi32(
            _mm_add_epi32(_mm_load_si128(reinterpret_cast<const __m128i*>(fromR.data())),
                          _mm_load_si128(reinterpret_cast<const __m128i*>(fromG.data()))),
            _mm_load_si128(reinterpret_cast<const __m128i*>(fromB.data())));
        // To 16 bits with saturation, then into 0..4095.
        __m128i codes = _mm_packs_epi32(_mm_srai_epi32(sum, 16), _mm_setzero_si128());
        codes = _mm_min_epi16(_mm_max_epi16(codes, _mm_setzero_si128()), _mm_set1_epi16(4095));
        pixels[2] = m_encode[size_t(_mm_extract_epi16(codes, 0))];
        pixels[1] = m_encode[size_t(_mm_extract_epi16(codes, 1))];
        pixels[0] = m_encode[size_t(_mm_extract_epi16(codes, 2))];
#else
        for (int k = 0; k < 3; ++k) {
            const std::int32_t linear =
                (fromR[size_t(k)] + fromG[size_t(k)] + fromB[size_t(k)]) >> 16;
            pixels[2 - k] = m_encode[size_t(std::clamp(linear, 0, 4095))];
        }
#endif
    }
}
