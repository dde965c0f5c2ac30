#include "output/PdfTextMapping.h"

#include <QList>
#include <QRawFont>
#include <QString>

#include <unordered_map>

namespace {
constexpr char16_t kFirstRadical = 0x2E80, kLastRadical = 0x2FDF;
constexpr char16_t kFirstIdeograph = 0x4E00, kLastIdeograph = 0x9FFF;

QString Characters(char16_t first, char16_t last) {
    QString text;
    for (char32_t c = first; c <= last; ++c)
        text += QChar(char16_t(c));
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Rewrites the destination codes (<XXXX>, four hex digits) of the mapping
// lines between `from` and `to`: the codes after the first `sources` on a
// line.
void MapLines(QByteArray& pdf, qsizetype from, qsizetype to, int sources,
              const std::map<char16_t, char16_t>& ideographs) {
    int onLine = 0;
    for (qsizetype i = from; i < to; ++i) {
        if (pdf[i] == '\n') {
            onLine = 0;
            continue;
        }
        if (pdf[i] != '<')
            continue;
        const qsizetype end = pdf.indexOf('>', i);
        if (end < 0 || end > to)
            return;
        if (onLine++ >= sources && end - i == 5) {
            int code = 0;
            for (qsizetype k = i + 1; k < end && code >= 0; ++k)
                code = HexDigit(pdf[k]) < 0 ? -1 : code * 16 + HexDigit(pdf[k]);
            const auto found = code >= 0 ? ideographs.find(char16_t(code)) : ideographs.end();
            if (found != ideographs.end()) {
                const QByteArray hex =
                    QByteArray::number(int(found->second), 16).toUpper().rightJustified(4, '0');
                pdf.replace(i + 1, 4, hex);
            }
        }
        i = end;
    }
}

void MapSections(QByteArray& pdf, const char* begin, const char* end, int sources,
                 const std::map<char16_t, char16_t>& ideographs) {
    for (qsizetype at = pdf.indexOf(begin); at >= 0; at = pdf.indexOf(begin, at)) {
        const qsizetype stop = pdf.indexOf(end, at);
        if (stop < 0)
            return;
        MapLines(pdf, at, stop, sources, ideographs);
        at = stop;
    }
}
} // namespace

std::map<char16_t, char16_t> RadicalIdeographs(const QFont& font) {
    const QRawFont raw = QRawFont::fromFont(font);
    const QString radicals = Characters(kFirstRadical, kLastRadical);
    const QString ideographs = Characters(kFirstIdeograph, kLastIdeograph);
    const QList<quint32> radicalGlyphs = raw.glyphIndexesForString(radicals);
    const QList<quint32> ideographGlyphs = raw.glyphIndexesForString(ideographs);
    std::unordered_map<quint32, char16_t> byGlyph; // the first ideograph of each glyph
    for (qsizetype i = ideographGlyphs.size() - 1; i >= 0; --i)
        if (ideographGlyphs[i] != 0)
            byGlyph[ideographGlyphs[i]] = ideographs[i].unicode();
    std::map<char16_t, char16_t> result;
    for (qsizetype i = 0; i < radicalGlyphs.size(); ++i) {
        const auto found = radicalGlyphs[i] != 0 ? byGlyph.find(radicalGlyphs[i]) : byGlyph.end();
        if (found != byGlyph.end())
            result[radicals[i].unicode()] = found->second;
    }
    return result;
}

void MapRadicalsToIdeographs(QByteArray& pdf, const std::map<char16_t, char16_t>& ideographs) {
    if (ideographs.empty())
        return;
    // "<first> <last> [<to>...]" or "<first> <last> <to>"; "<code> <to>".
    MapSections(pdf, "beginbfrange", "endbfrange", 2, ideographs);
    MapSections(pdf, "beginbfchar", "endbfchar", 1, ideographs);
}
