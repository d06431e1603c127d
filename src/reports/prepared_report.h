// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/report_definition.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// A prepared report: a definition frozen at preparation (label texts, which
// fields print, the values of fields bound to another table) over rows that
// are read one page at a time, from the report's table or from a saved
// report. Preparing counts rows and nothing more; a page is laid out when it
// is shown, printed or saved, so neither all rows nor all pages are ever in
// memory.

// The rows of one page: per row, the texts of the row fields in the order of
// PreparedReport::RowFields().
struct PageRows {
    std::vector<QStringList> rows;
    bool operator==(const PageRows&) const = default;
};

// What a detail field prints once prepared.
struct PreparedField {
    enum class Source { Row, Fixed, Hidden };
    Source source = Source::Hidden;
    int column = -1;   // Row: its column in PageRows
    QString text;      // Fixed: the text printed on every row
};

class PreparedReport {
public:
    virtual ~PreparedReport() = default;

    // The definition as it was when prepared.
    const ReportDefinition& Definition() const { return m_definition; }
    // One entry per field of the detail band, in band order.
    const std::vector<PreparedField>& Fields() const { return m_fields; }
    // The data field names of the Row columns, in PageRows order.
    QStringList RowFields() const;

    long long RowCount() const { return m_rows; }
    long long PageCount() const { return PageGeometry(m_definition).PageCount(m_rows); }

    // The rows of a page (0-based). Raises VigiloError when its source
    // cannot be read (a table gone, a damaged saved page).
    virtual PageRows ReadPage(long long page) = 0;

protected:
    PreparedReport(ReportDefinition definition, std::vector<PreparedField> fields, long long rows);

private:
    ReportDefinition m_definition;
    std::vector<PreparedField> m_fields;
    long long m_rows = 0;
};

// Freezes the definition and counts the rows of its table (a definition
// without a table has none). Raises VigiloError when a table or a bound field
// is missing, so the report fails before anything is shown.
std::unique_ptr<PreparedReport> PrepareReport(const ReportDefinition& definition);

// ---- Laying out and drawing a page --------------------------------------------
// Positions in millimetres from the top-left corner of the paper.

struct PlacedText {
    QString name;  // the label or field that printed it
    QString text;
    double left = 0;
    double top = 0;  // the top of the text's line
    ReportFont font;
};

struct PlacedShape {
    ReportShape::Kind kind = ReportShape::Kind::Line;
    double left = 0, top = 0, width = 0, height = 0, penWidth = 0;
};

struct PlacedPicture {
    double left = 0, top = 0, width = 0, height = 0;
    QImage image;
};

struct PageDrawing {
    double width = 0;  // the paper as printed
    double height = 0;
    std::vector<PlacedText> texts;
    std::vector<PlacedShape> shapes;
    std::vector<PlacedPicture> pictures;

    // The first text printed by the element `name`, or null.
    const PlacedText* Text(const QString& name) const;
};

// Lays out page `page` of `report` with its rows, as ReadPage gave them.
PageDrawing LayOutPage(const PreparedReport& report, long long page, const PageRows& rows);

class QPainter;
// Draws a laid-out page on a painter whose device has `dotsPerMm` device
// pixels per millimetre and the paper's top-left corner at the origin.
// Fonts follow the device's resolution, so the page looks the same on screen,
// paper and PDF.
void DrawPage(QPainter& painter, const PageDrawing& drawing, double dotsPerMm);

// A page as an image at `dpi`, on white; raises like ReadPage.
QImage RenderPageImage(PreparedReport& report, long long page, double dpi);

// ---- Long work --------------------------------------------------------------------

// Called after each page with the pages done and the total; false cancels.
using ReportProgress = std::function<bool(long long done, long long total)>;

enum class OutputResult { Done, Cancelled };

// Pages `first` to `last` (0-based, inclusive); last = -1 means the last page.
struct PageRange {
    long long first = 0;
    long long last = -1;
};
