#include "platform/LogFont.h"

#include "platform/Cp950.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstring>

bool operator==(const LOGFONTA& a, const LOGFONTA& b) {
    return std::memcmp(&a, &b, sizeof(LOGFONTA)) == 0;
}

LOGFONTA DefaultLogFont() {
    LOGFONTA lf;
    lf.lfHeight = -13;
    lf.lfWeight = 400;
    lf.lfPitchAndFamily = 0x20;
    std::memcpy(lf.lfFaceName, "Arial", 6);
    return lf;
}

QString FaceName(const LOGFONTA& lf) {
    return cp950::FieldToQString(lf.lfFaceName);
}

void SetFaceName(LOGFONTA& lf, const QString& face) {
    cp950::CopyToField(lf.lfFaceName, cp950::FromQString(face));
}

namespace {
constexpr int kDefaultEmPixels = 13;

// Ratio of the cell height (ascent + descent) to the em for a family.
double CellToEmRatio(const QFont& font) {
    QFont probe(font);
    probe.setPixelSize(100);
    const QFontMetricsF fm(probe);
    const double cell = fm.ascent() + fm.descent();
    return cell > 0 ? cell / 100.0 : 1.0;
}
} // namespace

QFont LogFontToQFont(const LOGFONTA& lf) {
    // Characters the face lacks (Chinese in "Arial") are set in the Ming
    // face, as the classic desktop links them, whatever other CJK fonts the
    // machine has.
    QFont font;
    font.setFamilies({FaceName(lf), QStringLiteral("AR PL UMing TW")});
    int em = kDefaultEmPixels;
    if (lf.lfHeight < 0) {
        em = lf.lfHeight == INT32_MIN ? INT32_MAX : -lf.lfHeight;
    } else if (lf.lfHeight > 0) {
        em = static_cast<int>(std::lround(lf.lfHeight / CellToEmRatio(font)));
    }
    font.setPixelSize(std::clamp(em, 1, 4000));
    if (lf.lfWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(lf.lfWeight, 1, 1000)));
    else
        font.setWeight(QFont::Normal);
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    if (lf.lfWidth > 0) {
        QFont natural(font);
        const double avg = QFontMetricsF(natural).averageCharWidth();
        if (avg > 0)
            font.setStretch(
                std::clamp(static_cast<int>(std::lround(lf.lfWidth * 100.0 / avg)), 1, 4000));
    }
    return font;
}

LOGFONTA QFontToLogFont(const QFont& font, const LOGFONTA& base) {
    LOGFONTA lf = base;
    int em = font.pixelSize();
    if (em <= 0) // size given in points: Windows screens count 96 dots per inch
        em = static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
    lf.lfHeight = -std::max(em, 1);
    lf.lfWidth = 0;
    lf.lfWeight = static_cast<int32_t>(font.weight());
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    SetFaceName(lf, font.family());
    return lf;
}

void InstallFontSubstitutes() {
    const QStringList ming{QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL UMing HK"),
                           QStringLiteral("AR PL UMing CN")};
    // Chinese in an Arial record is set in the Ming face, as Windows links
    // it, whatever other CJK faces are installed (a sans-serif one for the
    // report must not change how the records look).
    QFont::insertSubstitutions(
        QStringLiteral("Arial"),
        QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")} + ming);
    QFont::insertSubstitutions(QString::fromUtf8("新細明體"), ming);
    QFont::insertSubstitutions(QString::fromUtf8("細明體"), ming);
    QFont::insertSubstitutions(QStringLiteral("PMingLiU"), ming);
    QFont::insertSubstitutions(QStringLiteral("MingLiU"), ming);
}
