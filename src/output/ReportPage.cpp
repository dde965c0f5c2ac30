#include "output/ReportPage.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {
constexpr double kPad = 3; // points inside a table cell
} // namespace

QFont ReportFont(double points, bool bold) {
    // A sans-serif CJK face for Chinese and Latin alike (fonts-noto-cjk);
    // the Ming face where it is missing.
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("Noto Sans CJK TC"), QString::fromUtf8("新細明體"),
                                 QStringLiteral("AR PL UMing TW")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

ReportPage::ReportPage(QPdfWriter& writer, QPainter& painter)
    : m_writer(writer), m_p(painter), m_width(writer.width()), m_height(writer.height()) {}

void ReportPage::NewPage() {
    m_writer.newPage();
    m_y = 0;
}

void ReportPage::Room(double height) {
    if (m_y + height > m_height && m_y > 0)
        NewPage();
}

void ReportPage::Line(const QString& text, const QFont& font) {
    const double h = QFontMetricsF(font).height() + 2;
    Room(h);
    m_p.setFont(font);
    m_p.drawText(QRectF(0, m_y, m_width, h), Qt::AlignLeft | Qt::AlignVCenter, text);
    m_y += h;
}

void ReportPage::Title(const QString& text) {
    // A title is never left alone at the foot of a page: its headings and a
    // first row go with it.
    const QFont font = ReportFont(kReportBodyPt + 2, true);
    Room(QFontMetricsF(font).height() * 5);
    Line(text, font);
}

void ReportPage::NoRows() {
    Line(QCoreApplication::translate("PhotoReport", "（無）"), ReportFont(kReportBodyPt));
}

double ReportPage::Left(const std::vector<ReportColumn>& columns, size_t index) const {
    double x = 0;
    for (size_t i = 0; i < index; ++i)
        x += columns[i].share * m_width;
    return x;
}

void ReportPage::HeadingRow(const std::vector<ReportColumn>& columns) {
    QStringList headings;
    for (const ReportColumn& c : columns)
        headings << c.heading;
    Cells(columns, headings, true, false);
}

double ReportPage::Row(const std::vector<ReportColumn>& columns, const QStringList& cells) {
    return Cells(columns, cells, false, true);
}

double ReportPage::Cells(const std::vector<ReportColumn>& columns, const QStringList& cells,
                         bool heading, bool repeatHeadings) {
    const QFont font = ReportFont(kReportBodyPt, heading);
    const QFontMetricsF metrics(font);
    double h = metrics.height();
    for (size_t i = 0; i < columns.size(); ++i) {
        const QRectF box(0, 0, columns[i].share * m_width - 2 * kPad, 1e6);
        h = std::max(
            h,
            metrics.boundingRect(box, Qt::TextWordWrap | Qt::TextWrapAnywhere, cells.value(int(i)))
                .height());
    }
    h += 2 * kPad;
    if (m_y + h > m_height && m_y > 0) {
        NewPage();
        if (repeatHeadings)
            HeadingRow(columns);
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
