#pragma once
// Converting a photo's pixels to sRGB with Little CMS as they are decoded,
// so the screen, the stand-in, the preview, the export and the report show
// the colours the camera meant. A photo without a profile, or with an sRGB
// one, is taken as sRGB: no conversion, nothing to pay. The transforms are
// made once per profile and shared by every thread that decodes.

#include <QByteArray>

#include <memory>

class SrgbConversion {
public:
    // Converts `pixels` 4-byte pixels in place: from the decoder's BGRX, or
    // from Adobe CMYK (inverted ink values, as libjpeg hands them over), to
    // BGRX sRGB with 0xFF in the fourth byte.
    virtual void Convert(unsigned char* pixels, int count) const = 0;
    virtual ~SrgbConversion() = default;
};

// The conversion for the embedded ICC profile `icc` of an RGB (or, with
// `cmyk`, a CMYK) picture; null when none is needed or the profile cannot be
// used (then the pixels are taken as they are, as before profiles counted).
std::shared_ptr<const SrgbConversion> SrgbConversionFor(const QByteArray& icc, bool cmyk);
