#include "lumoimage/SrgbConversion.h"

#include "lumoimage/MatrixShaperConversion.h"

#include <QHash>

#include <lcms2.h>

#include <cstring>
#include <mutex>

namespace {

class LcmsConversion : public SrgbConversion {
public:
    explicit LcmsConversion(cmsHTRANSFORM transform, bool cmyk)
        : m_transform(transform), m_cmyk(cmyk) {}
    ~LcmsConversion() override { cmsDeleteTransform(m_transform); }
    LcmsConversion(const LcmsConversion&) = delete;
    LcmsConversion& operator=(const LcmsConversion&) = delete;

    void Convert(unsigned char* pixels, int count) const override {
        // In place: both layouts take 4 bytes a pixel.
        cmsDoTransform(m_transform, pixels, pixels, cmsUInt32Number(count));
        if (m_cmyk) // the fourth byte held the black ink
            for (int i = 0; i < count; ++i)
                pixels[4 * i + 3] = 0xFF;
    }

private:
    cmsHTRANSFORM m_transform;
    bool m_cmyk;
};

bool IsSrgb(cmsHPROFILE profile) {
    char description[256] = {};
    cmsGetProfileInfoASCII(profile, cmsInfoDescription, "en", "US", description,
                           sizeof description);
    return std::strncmp(description, "sRGB", 4) == 0;
}

std::shared_ptr<const SrgbConversion> Make(const QByteArray& icc, bool cmyk) {
    cmsHPROFILE source = cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size()));
    if (!source)
        return nullptr;
    const cmsColorSpaceSignature space = cmsGetColorSpace(source);
    const bool usable = cmyk ? space == cmsSigCmykData : space == cmsSigRgbData;
    if (!usable || (!cmyk && IsSrgb(source))) {
        cmsCloseProfile(source);
        return nullptr;
    }
    if (!cmyk) {
        auto quick = MatrixShaperConversion::From(source);
        if (quick) {
            cmsCloseProfile(source);
            return quick;
        }
    }
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    // No cache of the last pixel: one transform serves several threads.
    const cmsHTRANSFORM transform =
        cmsCreateTransform(source, cmyk ? TYPE_CMYK_8_REV : TYPE_BGRA_8, srgb, TYPE_BGRA_8,
                           INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE);
    cmsCloseProfile(srgb);
    cmsCloseProfile(source);
    if (!transform)
        return nullptr;
    return std::make_shared<LcmsConversion>(transform, cmyk);
}

} // namespace

std::shared_ptr<const SrgbConversion> SrgbConversionFor(const QByteArray& icc, bool cmyk) {
    if (icc.isEmpty())
        return nullptr;
    // A photo session opens the same camera's profile again and again.
    static std::mutex mutex;
    static QHash<QByteArray, std::shared_ptr<const SrgbConversion>> cache[2];
    std::lock_guard<std::mutex> lock(mutex);
    auto& known = cache[cmyk ? 1 : 0];
    const auto found = known.constFind(icc);
    if (found != known.constEnd())
        return found.value();
    if (known.size() >= 16)
        known.clear(); // a bound on what a folder of odd profiles can hold
    return known[icc] = Make(icc, cmyk);
}
