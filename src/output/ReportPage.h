#pragma once
// The report's pages as they fill: lines of text and ruled tables set from
// the top of a page down, a new page started where the next line or row
// would not fit (a table's headings repeated on it). The painter works in
// points. The text is set in a sans-serif CJK face (Noto Sans CJK TC),
// embedded in the PDF.

#include <QFont>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;
class QPdfWriter;

constexpr double kReportBodyPt = 10;
constexpr double kReportTitlePt = 15;

QFont ReportFont(double points, bool bold = false);

struct ReportColumn {
    QString heading;
    double share; // of the table's width
};

class ReportPage {
public:
    ReportPage(QPdfWriter& writer, QPainter& painter);

    void NewPage();
    // Starts a new page unless `height` points still fit on this one.
    void Room(double height);
    void Gap(double points) { m_y += points; }
    void Line(const QString& text, const QFont& font);
    // A table's title line.
    void Title(const QString& text);
    // The line that stands for an empty table: "（無）".
    void NoRows();

    void HeadingRow(const std::vector<ReportColumn>& columns);
    // One row of cells under `columns`' headings; a row that does not fit
    // on the page starts the next one, under the headings again. Returns the
    // row's height.
    double Row(const std::vector<ReportColumn>& columns, const QStringList& cells);
    // Where column `index` starts.
    double Left(const std::vector<ReportColumn>& columns, size_t index) const;

    QPainter& Painter() { return m_p; }
    double Y() const { return m_y; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }

private:
    double Cells(const std::vector<ReportColumn>& columns, const QStringList& cells, bool heading,
                 bool repeatHeadings);

    QPdfWriter& m_writer;
    QPainter& m_p;
    double m_width;
    double m_height;
    double m_y = 0;
};
