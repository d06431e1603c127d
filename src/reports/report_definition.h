// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

#include <optional>
#include <vector>

// A banded report definition as plain data. Every position is in millimetres:
// across from the left edge of the printable area (negative lies in the left
// margin), down from the top of the element's band.

struct ReportFont {
    QString family = QStringLiteral("Arial");
    double pointSize = 10.0;
    bool bold = false;
    bool underline = false;
    bool operator==(const ReportFont&) const = default;
};

// A static text whose caption is read and set at run time.
struct ReportLabel {
    QString name;
    double left = 0;
    double top = 0;
    ReportFont font;
    QString text;
};

// A value of a row. It reads the field `dataField` of the report's table, or
// of its own table when `table` is set: a field bound to another table prints
// that table's last record on every row (the table stands there while the
// report prints). A disabled field prints nothing.
struct ReportField {
    QString name;
    double left = 0;
    double top = 0;
    ReportFont font;
    QString dataField;
    QString table;  // a table file; empty: the report's table
    bool enabled = true;
};

// A straight line or the outline of a rectangle, `penWidth` thick (mm).
struct ReportShape {
    enum class Kind { Line, Rectangle };
    QString name;
    Kind kind = Kind::Line;
    double left = 0;
    double top = 0;
    double width = 0;   // a line runs from (left, top) to (left + width, top + height)
    double height = 0;
    double penWidth = 0.26;
};

struct ReportPicture {
    QString name;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    QImage image;  // scaled into the box; a null image prints nothing
};

// Title: once, at the top of the first page. Column header: at the top of
// every page, under the title on the first. Detail: once per row. Fields
// belong to the detail band; the other bands hold labels, shapes and pictures.
enum class BandKind { Title, ColumnHeader, Detail };

struct ReportBand {
    BandKind kind = BandKind::Detail;
    double height = 0;
    std::vector<ReportLabel> labels;
    std::vector<ReportField> fields;
    std::vector<ReportShape> shapes;
    std::vector<ReportPicture> pictures;
};

enum class PageOrientation { Portrait, Landscape };

// Paper in millimetres as it lies in portrait, and the orientation it is
// printed in. One column.
struct PageSetup {
    double paperWidth = 210.0;   // A4
    double paperHeight = 297.0;
    PageOrientation orientation = PageOrientation::Portrait;
    double marginLeft = 10.0;
    double marginTop = 10.0;
    double marginRight = 10.0;
    double marginBottom = 10.0;
    int columns = 1;

    // The page as printed (landscape swaps the sides) and its printable area.
    double PageWidth() const;
    double PageHeight() const;
    double PrintableWidth() const { return PageWidth() - marginLeft - marginRight; }
    double PrintableHeight() const { return PageHeight() - marginTop - marginBottom; }
};

// A whole report: its page, its bands (at most one of each kind) and the
// table file whose records, in stored order, are its rows. Elements are found
// by name across all bands.
struct ReportDefinition {
    PageSetup page;
    std::vector<ReportBand> bands;
    QString table;  // the report's table; empty: no rows

    const ReportBand* Band(BandKind kind) const;
    ReportBand* Band(BandKind kind);

    ReportLabel* Label(const QString& name);
    const ReportLabel* Label(const QString& name) const;
    ReportField* Field(const QString& name);
    const ReportField* Field(const QString& name) const;
    ReportPicture* Picture(const QString& name);
};

// How rows fall onto pages: with fixed band heights the page of any row is
// known from its number alone, so no page is laid out before it is needed.
class PageGeometry {
public:
    explicit PageGeometry(const ReportDefinition& definition);

    // Rows on the first page (under the title) and on each later page; at
    // least one each, so a band taller than the page still makes progress.
    long long RowsOnFirstPage() const { return m_firstRows; }
    long long RowsPerPage() const { return m_otherRows; }

    // At least one page: a report with no rows prints its title alone.
    long long PageCount(long long rows) const;
    // The first row of a page (0-based) and how many rows it holds.
    long long FirstRowOf(long long page) const;
    long long RowsOn(long long page, long long rows) const;

private:
    long long m_firstRows = 1;
    long long m_otherRows = 1;
};
