#include "output/PdfJpegImages.h"

#include <QByteArrayView>
#include <QRegularExpression>
#include <algorithm>
#include <map>

namespace {
struct XrefTable {
    qsizetype at = -1;           // where "xref" starts
    std::vector<qint64> offsets; // by object number; -1 for free entries
    QByteArray trailer;          // from "trailer" to before "startxref"
};

bool ReadXref(const QByteArray& pdf, XrefTable* table) {
    const qsizetype start = pdf.lastIndexOf("startxref");
    if (start < 0)
        return false;
    bool ok = false;
    const qint64 at =
        pdf.mid(start + 9, 24).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || at <= 0 || at >= start || !pdf.mid(at).startsWith("xref"))
        return false;
    const qsizetype trailer = pdf.indexOf("trailer", at);
    if (trailer < 0 || trailer > start)
        return false;
    const QList<QByteArray> lines = pdf.mid(at, trailer - at).split('\n');
    if (lines.size() < 2)
        return false;
    const QList<QByteArray> head = lines[1].simplified().split(' ');
    if (head.size() != 2 || head[0] != "0")
        return false;
    const int count = head[1].toInt(&ok);
    if (!ok || count <= 0 || lines.size() < count + 2)
        return false;
    table->offsets.assign(static_cast<size_t>(count), -1);
    for (int i = 0; i < count; ++i) {
        const QList<QByteArray> entry = lines[i + 2].simplified().split(' ');
        if (entry.size() != 3)
            return false;
        if (entry[2] == "n") {
            const qint64 offset = entry[0].toLongLong(&ok);
            if (!ok || offset <= 0 || offset >= at)
                return false;
            table->offsets[static_cast<size_t>(i)] = offset;
        }
    }
    table->at = at;
    table->trailer = pdf.mid(trailer, start - trailer);
    return true;
}

// The value of `/Key N` in a dictionary's text; -1 when absent.
int DictInt(const QByteArray& dict, const char* key) {
    const QRegularExpression re(QStringLiteral("/%1\\s+(\\d+)\\b").arg(QLatin1String(key)));
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(dict));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QByteArray JpegImageHead(int number, const PdfJpegImage& image) {
    return QByteArray::number(number) + " 0 obj\n<<\n/Type /XObject\n/Subtype /Image\n" +
           "/Width " + QByteArray::number(image.size.width()) + "\n/Height " +
           QByteArray::number(image.size.height()) +
           "\n/BitsPerComponent 8\n/ColorSpace /DeviceRGB\n/Filter /DCTDecode\n/Length " +
           QByteArray::number(image.jpegSize) + "\n>>\nstream\n";
}
} // namespace

QImage PdfStandInImage(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return image;
}

bool WritePdfWithJpegImages(const QByteArray& pdf, const std::vector<PdfJpegImage>& images,
                            const PdfSink& out, QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    XrefTable xref;
    if (!ReadXref(pdf, &xref))
        return fail(QStringLiteral("the PDF has no cross-reference table where expected"));

    // Objects in file order: number by offset.
    std::map<qint64, int> byOffset;
    for (size_t i = 0; i < xref.offsets.size(); ++i)
        if (xref.offsets[i] > 0)
            byOffset.emplace(xref.offsets[i], static_cast<int>(i));

    std::map<int, const PdfJpegImage*> replace; // object number -> picture
    std::vector<bool> found(images.size(), false);
    for (auto it = byOffset.begin(); it != byOffset.end(); ++it) {
        const qint64 end = std::next(it) == byOffset.end() ? xref.at : std::next(it)->first;
        const qsizetype stream = pdf.indexOf("stream", it->first);
        if (stream < 0 || stream > end)
            continue;
        const QByteArray dict = pdf.mid(it->first, stream - it->first);
        if (!dict.contains("/Subtype /Image"))
            continue;
        const QSize size(DictInt(dict, "Width"), DictInt(dict, "Height"));
        for (size_t k = 0; k < images.size(); ++k) {
            if (!found[k] && images[k].standInSize == size) {
                found[k] = true;
                replace[it->second] = &images[k];
                break;
            }
        }
    }
    if (std::find(found.begin(), found.end(), false) != found.end())
        return fail(QStringLiteral("a picture's place holder is missing from the PDF"));

    // Every piece goes out as it comes; `written` counts the bytes so far.
    qint64 written = 0;
    const PdfSink counted = [&out, &written](const char* data, qint64 size) {
        written += size;
        return out(data, size);
    };
    auto put = [&counted](const QByteArray& bytes) {
        return counted(bytes.constData(), bytes.size());
    };
    if (!put(pdf.left(byOffset.empty() ? xref.at : byOffset.begin()->first)))
        return false;
    std::vector<qint64> offsets(xref.offsets.size(), -1);
    for (auto it = byOffset.begin(); it != byOffset.end(); ++it) {
        const qint64 end = std::next(it) == byOffset.end() ? xref.at : std::next(it)->first;
        offsets[static_cast<size_t>(it->second)] = written;
        const auto r = replace.find(it->second);
        if (r == replace.end()) {
            if (!counted(pdf.constData() + it->first, end - it->first))
                return false;
            continue;
        }
        if (!put(JpegImageHead(it->second, *r->second)))
            return false;
        const qint64 streamAt = written;
        if (!r->second->writeJpeg(counted))
            return false;
        if (written - streamAt != r->second->jpegSize)
            return fail(QStringLiteral("a picture's JPEG is not the size it was said to be"));
        if (!put(QByteArrayLiteral("\nendstream\nendobj\n")))
            return false;
    }
    const qint64 xrefAt = written;
    QByteArray tail = "xref\n0 " + QByteArray::number(static_cast<qint64>(offsets.size())) + "\n";
    for (size_t i = 0; i < offsets.size(); ++i) {
        if (offsets[i] < 0)
            tail += i == 0 ? "0000000000 65535 f \n" : "0000000000 00000 f \n";
        else
            tail += QByteArray::number(offsets[i]).rightJustified(10, '0') + " 00000 n \n";
    }
    tail += xref.trailer;
    tail += "startxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return put(tail);
}
