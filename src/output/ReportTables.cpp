#include "output/ReportTables.h"

#include "document/PhotoInfo.h"
#include "document/ShapeMeasures.h"
#include "output/ReportPage.h"
#include "platform/Cp950.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMm2PerM2 = 1e6;

QString SquareMetres(double mm2) {
    return QLocale::c().toString(mm2 / kMm2PerM2, 'f', 2);
}

QString NameOf(const AreaRecord& area) {
    return cp950::ToQString(QByteArray::fromStdString(area.name));
}

QString AreaName(const AreaRecord& area) {
    return area.name.empty() ? QCoreApplication::translate("PhotoReport", "（未命名）")
                             : NameOf(area);
}

QString BasisText(MeasureBasis basis) {
    switch (basis) {
    case MeasureBasis::Plane:
        return QCoreApplication::translate("PhotoReport", "參考平面");
    case MeasureBasis::FacingCamera:
        return QCoreApplication::translate("PhotoReport", "參考長度（正對相機）");
    case MeasureBasis::Picture:
        return QCoreApplication::translate("PhotoReport", "照片上的角度");
    case MeasureBasis::None:
        break;
    }
    return QCoreApplication::translate("PhotoReport", "無參考");
}
} // namespace

void AreaTable(ReportPage& page, const PhotoInfo& info) {
    page.Title(QCoreApplication::translate("PhotoReport", "面積"));
    if (info.areas.empty()) {
        page.NoRows();
        return;
    }
    const std::vector<ReportColumn> columns{
        {QCoreApplication::translate("PhotoReport", "名稱"), 0.20},
        {QCoreApplication::translate("PhotoReport", "開口"), 0.08},
        {QCoreApplication::translate("PhotoReport", "毛面積（m²）"), 0.14},
        {QCoreApplication::translate("PhotoReport", "開口面積（m²）"), 0.16},
        {QCoreApplication::translate("PhotoReport", "淨面積（m²）"), 0.14},
        {QCoreApplication::translate("PhotoReport", "±（m²）"), 0.12},
        {QCoreApplication::translate("PhotoReport", "周長（m）"), 0.16}};
    page.HeadingRow(columns);
    const std::vector<ComputedArea> computed =
        ComputeAreas(info.reference, info.dimensions, info.areas);
    for (size_t i = 0; i < info.areas.size(); ++i) {
        const AreaRecord& area = info.areas[i];
        const ComputedArea& c = computed[i];
        QStringList cells{AreaName(area), area.opening
                                              ? QCoreApplication::translate("PhotoReport", "是")
                                              : QCoreApplication::translate("PhotoReport", "否")};
        if (!c.HasValue())
            cells << QStringLiteral("≈?");
        else if (area.opening)
            cells << SquareMetres(c.gross) << QString() << QString()
                  << SquareMetres(c.grossUncertainty)
                  << QLocale::c().toString(c.perimeter / 1000, 'f', 2);
        else
            cells << SquareMetres(c.gross) << SquareMetres(c.openings) << SquareMetres(c.net)
                  << SquareMetres(c.netUncertainty)
                  << QLocale::c().toString(c.perimeter / 1000, 'f', 2);
        page.Row(columns, cells);
    }
}

void AngleTable(ReportPage& page, const PhotoInfo& info) {
    page.Title(QCoreApplication::translate("PhotoReport", "角度"));
    if (info.angles.empty()) {
        page.NoRows();
        return;
    }
    const std::vector<ReportColumn> columns{
        {QCoreApplication::translate("PhotoReport", "編號"), 0.12},
        {QCoreApplication::translate("PhotoReport", "角度（°）"), 0.22},
        {QCoreApplication::translate("PhotoReport", "±（°）"), 0.18},
        {QCoreApplication::translate("PhotoReport", "依據"), 0.48}};
    page.HeadingRow(columns);
    for (size_t i = 0; i < info.angles.size(); ++i) {
        const ComputedAngle c = ComputeAngle(info.reference, info.dimensions, info.angles[i]);
        QStringList cells{QString::number(i + 1)};
        if (!c.HasValue())
            cells << QStringLiteral("≈?") << QString() << BasisText(MeasureBasis::None);
        else
            cells << QLocale::c().toString(c.degrees, 'f', 1)
                  << (c.basis == MeasureBasis::Plane ? QLocale::c().toString(c.uncertainty, 'f', 1)
                                                     : QString())
                  << BasisText(c.basis);
        page.Row(columns, cells);
    }
}

std::vector<NamedAreaTotal> TotalNetAreas(const std::vector<const PhotoInfo*>& photos) {
    std::vector<NamedAreaTotal> totals; // in the order the names first appear
    for (const PhotoInfo* info : photos) {
        const std::vector<ComputedArea> computed =
            ComputeAreas(info->reference, info->dimensions, info->areas);
        for (size_t i = 0; i < info->areas.size(); ++i) {
            const AreaRecord& area = info->areas[i];
            if (area.opening || area.name.empty() || !computed[i].HasValue())
                continue;
            const QString name = NameOf(area);
            auto total = std::find_if(totals.begin(), totals.end(),
                                      [&name](const NamedAreaTotal& t) { return t.name == name; });
            if (total == totals.end())
                total = totals.insert(totals.end(), NamedAreaTotal{name});
            total->count += 1;
            total->net += computed[i].net / kMm2PerM2;
            // Added in quadrature: kept squared until the end.
            total->uncertainty += std::pow(computed[i].netUncertainty / kMm2PerM2, 2);
        }
    }
    for (NamedAreaTotal& total : totals)
        total.uncertainty = std::sqrt(total.uncertainty);
    return totals;
}

void TotalAreaTable(ReportPage& page, const std::vector<const PhotoInfo*>& photos) {
    page.Title(QCoreApplication::translate("PhotoReport", "總面積"));
    const std::vector<NamedAreaTotal> totals = TotalNetAreas(photos);
    if (totals.empty())
        page.NoRows();
    else {
        const std::vector<ReportColumn> columns{
            {QCoreApplication::translate("PhotoReport", "名稱"), 0.40},
            {QCoreApplication::translate("PhotoReport", "面積數"), 0.15},
            {QCoreApplication::translate("PhotoReport", "淨面積（m²）"), 0.25},
            {QCoreApplication::translate("PhotoReport", "±（m²）"), 0.20}};
        page.HeadingRow(columns);
        for (const NamedAreaTotal& total : totals)
            page.Row(columns, {total.name, QString::number(total.count),
                               QLocale::c().toString(total.net, 'f', 2),
                               QLocale::c().toString(total.uncertainty, 'f', 2)});
    }
    page.Line(
        QCoreApplication::translate("PhotoReport", "開口、未命名及無數值的面積不計入總面積。"),
        ReportFont(kReportBodyPt));
}
