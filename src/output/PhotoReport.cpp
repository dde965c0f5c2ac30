#include "output/PhotoReport.h"

#include "document/ComputedLength.h"
#include "output/PdfJpegImages.h"
#include "output/PdfTextMapping.h"
#include "output/ReportPage.h"
#include "output/ReportTables.h"
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
constexpr double kSwatchPad = 3; // points between a colour swatch and its cell

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

// Paints the sections page after page.
class ReportPainter {
public:
    ReportPainter(QPdfWriter& writer, QPainter& painter) : m_page(writer, painter) {}

    void Section(const ReportSection& s, const QDate& reportDate, QSize standIn, bool first) {
        if (!first)
            m_page.NewPage();
        m_page.Painter().setPen(Qt::black);
        m_page.Line(s.fileName, ReportFont(kReportTitlePt, true));
        if (s.captured.isValid())
            m_page.Line(QCoreApplication::translate("PhotoReport", "拍攝日期：") +
                            s.captured.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                        ReportFont(kReportBodyPt));
        m_page.Line(QCoreApplication::translate("PhotoReport", "報告日期：") +
                        reportDate.toString(Qt::ISODate),
                    ReportFont(kReportBodyPt));
        m_page.Gap(6);
        Picture(s.pictureSize, standIn);
        m_page.Gap(4);
        m_page.Line(ReferenceText(s.info), ReportFont(kReportBodyPt));
        m_page.Gap(6);
        Dimensions(s);
        m_page.Gap(10);
        AreaTable(m_page, s.info);
        m_page.Gap(10);
        AngleTable(m_page, s.info);
        m_page.Gap(10);
        Notes(s);
    }

    // After the last section of a report over several photos.
    void Totals(const std::vector<ReportSection>& sections) {
        std::vector<const PhotoInfo*> photos;
        for (const ReportSection& s : sections)
            photos.push_back(&s.info);
        m_page.Gap(16);
        TotalAreaTable(m_page, photos);
    }

private:
    // The picture at the page's width, or less when it is taller than the page.
    void Picture(QSize size, QSize standIn) {
        if (size.isEmpty())
            return;
        const double width = m_page.Width(), height = m_page.Height();
        double w = width;
        double h = w * size.height() / size.width();
        // A tall picture stays under its header when at least half a page is
        // left there; it never runs off the page.
        const double left = height - m_page.Y();
        const double most = left >= height / 2 ? left : height;
        if (h > most) {
            h = most;
            w = h * size.width() / size.height();
        }
        m_page.Room(h);
        m_page.Painter().drawImage(QRectF((width - w) / 2, m_page.Y(), w, h),
                                   PdfStandInImage(standIn));
        m_page.Gap(h);
    }

    void Dimensions(const ReportSection& s) {
        m_page.Title(QCoreApplication::translate("PhotoReport", "尺寸"));
        const std::vector<ReportColumn> columns{
            {QCoreApplication::translate("PhotoReport", "編號"), 0.12},
            {QCoreApplication::translate("PhotoReport", "尺寸", "column"), 0.43},
            {QCoreApplication::translate("PhotoReport", "顏色"), 0.15},
            {QCoreApplication::translate("PhotoReport", "長度（像素）"), 0.30}};
        if (s.info.dimensions.empty()) {
            m_page.NoRows();
            return;
        }
        m_page.HeadingRow(columns);
        QPainter& p = m_page.Painter();
        for (size_t i = 0; i < s.info.dimensions.size(); ++i) {
            const Dimension& d = s.info.dimensions[i];
            const double pixels =
                std::hypot(double(d.end.x) - d.start.x, double(d.end.y) - d.start.y);
            const QStringList cells{QString::number(i + 1), ValueText(s.info, i), QString(),
                                    QLocale::c().toString(pixels, 'f', 1)};
            const double h = m_page.Row(columns, cells);
            // The swatch: the dimension's colour, outlined in black.
            const double x = m_page.Left(columns, 2) + kSwatchPad;
            p.save();
            p.setPen(QPen(Qt::black, 0.5));
            p.setBrush(ColorRefToQColor(d.colour));
            p.drawRect(QRectF(x, m_page.Y() - h + kSwatchPad + 1, 24, h - 2 * kSwatchPad - 2));
            p.restore();
        }
    }

    void Notes(const ReportSection& s) {
        m_page.Title(QCoreApplication::translate("PhotoReport", "信息標注"));
        const std::vector<ReportColumn> columns{
            {QCoreApplication::translate("PhotoReport", "編號"), 0.12},
            {QCoreApplication::translate("PhotoReport", "標題"), 0.28},
            {QCoreApplication::translate("PhotoReport", "內容"), 0.60}};
        if (s.info.notes.empty()) {
            m_page.NoRows();
            return;
        }
        m_page.HeadingRow(columns);
        for (size_t i = 0; i < s.info.notes.size(); ++i) {
            const InfoNote& n = s.info.notes[i];
            m_page.Row(columns, {QString::number(i + 1), cp950::FieldToQString(n.title),
                                 cp950::FieldToQString(n.text)});
        }
    }

    ReportPage m_page;
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
        if (sections.size() > 1)
            report.Totals(sections);
        painter.end();
    }
    // Text copied or searched in the report reads as it was drawn.
    QByteArray pdf = buffer.buffer();
    buffer.close();
    MapRadicalsToIdeographs(pdf, RadicalIdeographs(ReportFont(kReportBodyPt)));
    return WritePdfWithJpegImages(pdf, images, out, error);
}
