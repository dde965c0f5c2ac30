#include "lumoimage/MatrixShaperConversion.h"

#include <lcms2.h>

#include <algorithm>
#include <cmath>

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
    auto result = std::make_unique<MatrixShaperConversion>();
    const cmsTagSignature curves[] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    bool usable = read && encode;
    for (int c = 0; usable && c < 3; ++c) {
        const auto* curve = static_cast<const cmsToneCurve*>(cmsReadTag(profile, curves[c]));
        usable = curve != nullptr;
        for (int v = 0; usable && v < 256; ++v)
            result->m_linear[c][v] = std::int32_t(std::lround(
                std::clamp(cmsEvalToneCurveFloat(curve, v / 255.0f), 0.0f, 1.0f) * 65535.0f));
    }
    for (int r = 0; usable && r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            double sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += toTarget[r][k] * source[k][c];
            result->m_matrix[r][c] = std::int32_t(std::lround(sum * 4096));
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
    const auto& m = m_matrix;
    for (int i = 0; i < count; ++i, pixels += 4) {
        // B, G, R, X in memory.
        const std::int32_t r = m_linear[0][pixels[2]], g = m_linear[1][pixels[1]],
                           b = m_linear[2][pixels[0]];
        std::int32_t out[3];
        for (int k = 0; k < 3; ++k)
            out[k] = std::clamp((m[k][0] * r + m[k][1] * g + m[k][2] * b) >> 16, 0, 4095);
        pixels[0] = m_encode[size_t(out[2])];
        pixels[1] = m_encode[size_t(out[1])];
        pixels[2] = m_encode[size_t(out[0])];
    }
}
