// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_definition.h"

#include <algorithm>
#include <cmath>

double PageSetup::PageWidth() const
{
    return orientation == PageOrientation::Landscape ? paperHeight : paperWidth;
}

double PageSetup::PageHeight() const
{
    return orientation == PageOrientation::Landscape ? paperWidth : paperHeight;
}

const ReportBand* ReportDefinition::Band(BandKind kind) const
{
    for (const ReportBand& band : bands)
        if (band.kind == kind)
            return &band;
    return nullptr;
}

ReportBand* ReportDefinition::Band(BandKind kind)
{
    return const_cast<ReportBand*>(std::as_const(*this).Band(kind));
}

namespace {
template <typename Element, typename Members>
Element* FindNamed(std::vector<ReportBand>& bands, Members member, const QString& name)
{
    for (ReportBand& band : bands)
        for (Element& element : band.*member)
            if (element.name == name)
                return &element;
    return nullptr;
}
}  // namespace

ReportLabel* ReportDefinition::Label(const QString& name)
{
    return FindNamed<ReportLabel>(bands, &ReportBand::labels, name);
}

const ReportLabel* ReportDefinition::Label(const QString& name) const
{
    return const_cast<ReportDefinition*>(this)->Label(name);
}

ReportField* ReportDefinition::Field(const QString& name)
{
    return FindNamed<ReportField>(bands, &ReportBand::fields, name);
}

const ReportField* ReportDefinition::Field(const QString& name) const
{
    return const_cast<ReportDefinition*>(this)->Field(name);
}

ReportPicture* ReportDefinition::Picture(const QString& name)
{
    return FindNamed<ReportPicture>(bands, &ReportBand::pictures, name);
}

namespace {
double HeightOf(const ReportDefinition& definition, BandKind kind)
{
    const ReportBand* band = definition.Band(kind);
    return band ? std::max(0.0, band->height) : 0.0;
}

long long RowsIn(double space, double rowHeight)
{
    if (rowHeight <= 0)
        return 1;
    // A small tolerance: 24 rows of 7.5 mm fill 180 mm exactly and must fit.
    const double rows = std::floor((space + 1e-6) / rowHeight);
    return std::max(1LL, static_cast<long long>(rows));
}
}  // namespace

PageGeometry::PageGeometry(const ReportDefinition& definition)
{
    const double printable = definition.page.PrintableHeight();
    const double header = HeightOf(definition, BandKind::ColumnHeader);
    const double row = HeightOf(definition, BandKind::Detail);
    m_firstRows = RowsIn(printable - HeightOf(definition, BandKind::Title) - header, row);
    m_otherRows = RowsIn(printable - header, row);
}

long long PageGeometry::PageCount(long long rows) const
{
    if (rows <= m_firstRows)
        return 1;
    return 1 + (rows - m_firstRows + m_otherRows - 1) / m_otherRows;
}

long long PageGeometry::FirstRowOf(long long page) const
{
    return page <= 0 ? 0 : m_firstRows + (page - 1) * m_otherRows;
}

long long PageGeometry::RowsOn(long long page, long long rows) const
{
    const long long first = FirstRowOf(page);
    const long long capacity = page <= 0 ? m_firstRows : m_otherRows;
    return std::clamp(rows - first, 0LL, capacity);
}
