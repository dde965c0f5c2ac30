#pragma once
// The report's tables of areas and angles, per photo, and the total net
// area by name over the photos of a report: what a painter's quote is read
// from. Areas in m², perimeters in m, each with its uncertainty (one
// standard deviation), as ShapeMeasures.h computes them.

#include <QString>
#include <vector>

class PhotoInfo;
class ReportPage;

// Name, opening, gross, openings taken off, net, its uncertainty, perimeter.
void AreaTable(ReportPage& page, const PhotoInfo& info);
// Number, degrees, uncertainty, what the angle is measured by.
void AngleTable(ReportPage& page, const PhotoInfo& info);

// The net area of every name over the photos: the areas that are no
// openings and have a value, added where their names are the same; their
// uncertainties added in quadrature. Unnamed areas are left out (one wall
// named on one photo and not on another would be counted by halves).
struct NamedAreaTotal {
    QString name;
    int count = 0;          // areas added
    double net = 0;         // m²
    double uncertainty = 0; // m²
};
std::vector<NamedAreaTotal> TotalNetAreas(const std::vector<const PhotoInfo*>& photos);

// "總面積": the totals as a table, with the line that says what is left out.
void TotalAreaTable(ReportPage& page, const std::vector<const PhotoInfo*>& photos);
