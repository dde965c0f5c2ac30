#include "output/PhotoReport.h"

#include "document/ComputedLength.h"
#include "output/PdfJpegImages.h"
#include "platform/ColorRef.h"
#include "platform/Cp950.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

namespace {
constexpr double kMarginMm = 15;
constexpr double kBodyPt = 10;
constexpr double kTitlePt = 15;
constexpr double kPad = 3; // points inside a table cell

QFont ReportFont(double points, bool bold = false) {
    // The interface's Chinese face ("新細明體", set in AR PL UMing).
    QFont font;
    font.setFamilies({QString::fromUtf8("新細明體"), QStringLiteral("AR PL UMing TW")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A dimension's value as its label shows it: the typed value, else the
// length computed through the reference ("≈1501 ±25", "≈?").
QString ValueText(const PhotoInfo& info, size_t index) {
    const QString typed = cp950::FieldToQString(info.dimensions[index].value);
    return typed.isEmpty() ? ComputeLength(info.reference, info.dimensions, index).Text() : typed;
}

QString Millimetres(double mm) {
    return QString::number(mm, 'g', 10);
}

// What the computed lengths rest on: the plane, else the reference length.
QString ReferenceText(const PhotoInfo& info) {
    if (HasUsablePlane(info.reference))
        return QCoreApplication::translate("PhotoReport", "參考平面：%1 × %2 mm")
            .arg(Millimetres(info.reference.plane.width), Millimetres(info.reference.plane.height));
    const int dim = UsableReferenceDimension(info.reference, info.dimensions);
    if (dim >= 0)
        return QCoreApplication::translate("PhotoReport", "參考長度：第 %1 條尺寸，%2 mm")
            .arg(dim + 1)
            .arg(Millimetres(*NumericValueMm(info.dimensions[static_cast<size_t>(dim)])));
    return QCoreApplication::translate("PhotoReport", "參考：無");
}

struct Column {
    QString heading;
    double share; // of the table's width
};

// Paints the sections page after page; the painter works in points.
class ReportPainter {
public:
    ReportPainter(QPdfWriter& writer, QPainter& painter)
        : m_writer(writer), m_p(painter), m_width(writer.width()), m_height(writer.height()) {}

    void Section(const ReportSection& s, const QDate& reportDate, QSize standIn, bool first) {
        if (!first)
            NewPage();
        m_p.setPen(Qt::black);
        Line(s.fileName, ReportFont(kTitlePt, true));
        if (s.captured.isValid())
            Line(QCoreApplication::translate("PhotoReport", "拍攝日期：") +
                     s.captured.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                 ReportFont(kBodyPt));
        Line(QCoreApplication::translate("PhotoReport", "報告日期：") +
                 reportDate.toString(Qt::ISODate),
             ReportFont(kBodyPt));
        m_y += 6;
        Picture(s.pictureSize, standIn);
        m_y += 4;
        Line(ReferenceText(s.info), ReportFont(kBodyPt));
        m_y += 6;
        Dimensions(s);
        m_y += 10;
        Notes(s);
    }

private:
    void NewPage() {
        m_writer.newPage();
        m_y = 0;
    }
    void Room(double h) {
        if (m_y + h > m_height && m_y > 0)
            NewPage();
    }
    void Line(const QString& text, const QFont& font) {
        const double h = QFontMetricsF(font).height() + 2;
        Room(h);
        m_p.setFont(font);
        m_p.drawText(QRectF(0, m_y, m_width, h), Qt::AlignLeft | Qt::AlignVCenter, text);
        m_y += h;
    }
    // The picture at the page's width, or less when it is taller than the page.
    void Picture(QSize size, QSize standIn) {
        if (size.isEmpty())
            return;
        double w = m_width;
        double h = w * size.height() / size.width();
        // A tall picture stays under its header when at least half a page is
        // left there; it never runs off the page.
        const double left = m_height - m_y;
        const double most = left >= m_height / 2 ? left : m_height;
        if (h > most) {
            h = most;
            w = h * size.width() / size.height();
        }
        Room(h);
        m_p.drawImage(QRectF((m_width - w) / 2, m_y, w, h), PdfStandInImage(standIn));
        m_y += h;
    }

    void Dimensions(const ReportSection& s) {
        Line(QCoreApplication::translate("PhotoReport", "尺寸"), ReportFont(kBodyPt + 2, true));
        const std::vector<Column> columns{
            {QCoreApplication::translate("PhotoReport", "編號"), 0.12},
            {QCoreApplication::translate("PhotoReport", "尺寸", "column"), 0.43},
            {QCoreApplication::translate("PhotoReport", "顏色"), 0.15},
            {QCoreApplication::translate("PhotoReport", "長度（像素）"), 0.30}};
        if (s.info.dimensions.empty()) {
            Line(QCoreApplication::translate("PhotoReport", "（無）"), ReportFont(kBodyPt));
            return;
        }
        HeadingRow(columns);
        for (size_t i = 0; i < s.info.dimensions.size(); ++i) {
            const Dimension& d = s.info.dimensions[i];
            const double pixels =
                std::hypot(double(d.end.x) - d.start.x, double(d.end.y) - d.start.y);
            const QStringList cells{QString::number(i + 1), ValueText(s.info, i), QString(),
                                    QLocale::c().toString(pixels, 'f', 1)};
            const double h = Row(columns, cells, false, &columns);
            // The swatch: the dimension's colour, outlined in black.
            const double x = Left(columns, 2) + kPad;
            m_p.save();
            m_p.setPen(QPen(Qt::black, 0.5));
            m_p.setBrush(ColorRefToQColor(d.colour));
            m_p.drawRect(QRectF(x, m_y - h + kPad + 1, 24, h - 2 * kPad - 2));
            m_p.restore();
        }
    }

    void Notes(const ReportSection& s) {
        Line(QCoreApplication::translate("PhotoReport", "信息標注"), ReportFont(kBodyPt + 2, true));
        const std::vector<Column> columns{
            {QCoreApplication::translate("PhotoReport", "編號"), 0.12},
            {QCoreApplication::translate("PhotoReport", "標題"), 0.28},
            {QCoreApplication::translate("PhotoReport", "內容"), 0.60}};
        if (s.info.notes.empty()) {
            Line(QCoreApplication::translate("PhotoReport", "（無）"), ReportFont(kBodyPt));
            return;
        }
        HeadingRow(columns);
        for (size_t i = 0; i < s.info.notes.size(); ++i) {
            const InfoNote& n = s.info.notes[i];
            Row(columns,
                {QString::number(i + 1), cp950::FieldToQString(n.title),
                 cp950::FieldToQString(n.text)},
                false, &columns);
        }
    }

    double Left(const std::vector<Column>& columns, size_t index) const {
        double x = 0;
        for (size_t i = 0; i < index; ++i)
            x += columns[i].share * m_width;
        return x;
    }

    void HeadingRow(const std::vector<Column>& columns) {
        QStringList headings;
        for (const Column& c : columns)
            headings << c.heading;
        Row(columns, headings, true);
    }

    // One row of cells; a row that does not fit on the page starts the next
    // one, under the table's headings again. Returns the row's height.
    double Row(const std::vector<Column>& columns, const QStringList& cells, bool heading,
               const std::vector<Column>* repeat = nullptr) {
        const QFont font = ReportFont(kBodyPt, heading);
        const QFontMetricsF metrics(font);
        double h = metrics.height();
        for (size_t i = 0; i < columns.size(); ++i) {
            const QRectF box(0, 0, columns[i].share * m_width - 2 * kPad, 1e6);
            h = std::max(h, metrics
                                .boundingRect(box, Qt::TextWordWrap | Qt::TextWrapAnywhere,
                                              cells.value(int(i)))
                                .height());
        }
        h += 2 * kPad;
        if (m_y + h > m_height && m_y > 0) {
            NewPage();
            if (repeat)
                HeadingRow(*repeat);
        }
        m_p.save();
        if (heading)
            m_p.fillRect(QRectF(0, m_y, m_width, h), QColor(230, 230, 230));
        m_p.setFont(font);
        m_p.setPen(QPen(Qt::black, 0.5));
        for (size_t i = 0; i < columns.size(); ++i) {
            const QRectF cell(Left(columns, i), m_y, columns[i].share * m_width, h);
            m_p.drawRect(cell);
            m_p.drawText(cell.adjusted(kPad, kPad, -kPad, -kPad),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextWrapAnywhere,
                         cells.value(int(i)));
        }
        m_p.restore();
        m_y += h;
        return h;
    }

    QPdfWriter& m_writer;
    QPainter& m_p;
    double m_width;
    double m_height;
    double m_y = 0;
};
} // namespace

QPageSize::PageSizeId ReportPageSizeFor(const QLocale& locale) {
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                   : QPageSize::A4;
}

bool MakePdfReport(const std::vector<ReportSection>& sections, const QDate& reportDate,
                   QPageSize::PageSizeId pageSize, const SpoolFile& jpegs, const PdfSink& out,
                   QString* error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    std::vector<PdfJpegImage> images;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(72); // one unit is one point
        writer.setPageSize(QPageSize(pageSize));
        writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                              QPageLayout::Millimeter);
        writer.setCreator(QStringLiteral("Tessamar"));
        writer.setTitle(sections.size() == 1 ? sections.front().fileName
                                             : QStringLiteral("Tessamar"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error)
                *error = QStringLiteral("the PDF writer cannot start");
            return false;
        }
        ReportPainter report(writer, painter);
        for (size_t i = 0; i < sections.size(); ++i) {
            const ReportSection& s = sections[i];
            const QSize standIn(4, 4 + static_cast<int>(i));
            report.Section(s, reportDate, standIn, i == 0);
            if (!s.pictureSize.isEmpty()) {
                const qint64 at = s.jpegAt, size = s.jpegSize;
                images.push_back(
                    {standIn, s.pictureSize, size, [&jpegs, at, size, error](const PdfSink& sink) {
                         return jpegs.CopyOut(at, size, sink, error);
                     }});
            }
        }
        painter.end();
    }
    return WritePdfWithJpegImages(buffer.data(), images, out, error);
}
