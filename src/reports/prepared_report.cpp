// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/prepared_report.h"

#include "platform/errors.h"
#include "testpoints/field_values.h"
#include "testpoints/sql_statement.h"
#include "testpoints/table_schema.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>

#include <limits>
#include <optional>

PreparedReport::PreparedReport(ReportDefinition definition, std::vector<PreparedField> fields, long long rows)
    : m_definition(std::move(definition)), m_fields(std::move(fields)), m_rows(rows)
{
}

QStringList PreparedReport::RowFields() const
{
    QStringList names;
    const ReportBand* detail = m_definition.Band(BandKind::Detail);
    if (!detail)
        return names;
    for (size_t i = 0; i < m_fields.size() && i < detail->fields.size(); ++i)
        if (m_fields[i].source == PreparedField::Source::Row)
            names.append(detail->fields[i].dataField);
    return names;
}

namespace {
// A table file read by stored position. When the positions are contiguous
// (tables that were only appended to, as Measurements and Filter tables are)
// a page starts at a position computed from its first row; otherwise the
// first position of every page is found in one pass over the position index,
// the first time a page is read.
class TableRows {
public:
    explicit TableRows(const QString& path) : m_db(path, SqlAccess::Read), m_fields(ReadFields(m_db))
    {
        SqlStatement stats(m_db, QStringLiteral("SELECT count(*), min(_pos), max(_pos) FROM records"));
        stats.Step();
        m_count = stats.Int(0);
        m_minPos = stats.Int(1);
        m_contiguous = m_count == 0 || stats.Int(2) - m_minPos + 1 == m_count;
    }

    long long Count() const { return m_count; }
    SqlConnection& Connection() { return m_db; }

    // The stored column of a field name (matched without regard to case), or -1.
    int Column(const QString& name) const
    {
        for (size_t i = 0; i < m_fields.size(); ++i)
            if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        return -1;
    }
    const FieldDef& Field(int column) const { return m_fields[static_cast<size_t>(column)]; }

    QString SelectList(const std::vector<int>& columns) const
    {
        QStringList names;
        for (int column : columns)
            names.append(QuoteSqlName(Field(column).name));
        return names.isEmpty() ? QStringLiteral("NULL") : names.join(QStringLiteral(", "));
    }

    // Rows [first, first + count) of `columns` as texts.
    std::vector<QStringList> Read(long long first, long long count, const std::vector<int>& columns,
                                  const PageGeometry& geometry)
    {
        std::vector<QStringList> rows;
        if (count <= 0)
            return rows;
        const QString select = QStringLiteral("SELECT %1 FROM records WHERE _pos >= ? ORDER BY _pos LIMIT ?")
                                   .arg(SelectList(columns));
        SqlStatement query(m_db, select);
        query.Bind(1, QVariant(StartPosition(first, geometry)));
        query.Bind(2, QVariant(count));
        while (query.Step()) {
            QStringList values;
            for (size_t i = 0; i < columns.size(); ++i)
                values.append(FieldText(ReadFieldValue(query, static_cast<int>(i), Field(columns[i]).kind)));
            rows.push_back(std::move(values));
        }
        return rows;
    }

    // The value of the last record in a column; empty without records.
    QString LastValue(int column)
    {
        SqlStatement query(m_db, QStringLiteral("SELECT %1 FROM records ORDER BY _pos DESC LIMIT 1")
                                      .arg(QuoteSqlName(Field(column).name)));
        if (!query.Step())
            return QString();
        return FieldText(ReadFieldValue(query, 0, Field(column).kind));
    }

private:
    long long StartPosition(long long first, const PageGeometry& geometry)
    {
        if (m_contiguous)
            return m_minPos + first;
        if (m_pageStarts.empty()) {
            // One integer per page: the rows themselves stay on disk.
            SqlStatement positions(m_db, QStringLiteral("SELECT _pos FROM records ORDER BY _pos"));
            long long row = 0;
            long long nextStart = 0;
            long long page = 0;
            while (positions.Step()) {
                if (row == nextStart) {
                    m_pageStarts.push_back(positions.Int(0));
                    nextStart = geometry.FirstRowOf(++page);
                }
                ++row;
            }
        }
        // `first` is always a page start; find its page.
        long long page = 0;
        if (first >= geometry.RowsOnFirstPage())
            page = 1 + (first - geometry.RowsOnFirstPage()) / geometry.RowsPerPage();
        if (page < static_cast<long long>(m_pageStarts.size()))
            return m_pageStarts[static_cast<size_t>(page)];
        return std::numeric_limits<long long>::max();
    }

    SqlConnection m_db;
    std::vector<FieldDef> m_fields;
    long long m_count = 0;
    long long m_minPos = 0;
    bool m_contiguous = true;
    std::vector<long long> m_pageStarts;
};

class TablePreparedReport : public PreparedReport {
public:
    TablePreparedReport(ReportDefinition definition, std::vector<PreparedField> fields, long long rows,
                        std::unique_ptr<TableRows> table, std::vector<int> columns)
        : PreparedReport(std::move(definition), std::move(fields), rows),
          m_table(std::move(table)),
          m_columns(std::move(columns))
    {
    }

    PageRows ReadPage(long long page) override
    {
        PageRows result;
        if (!m_table || page < 0 || page >= PageCount())
            return result;
        const PageGeometry geometry(Definition());
        result.rows = m_table->Read(geometry.FirstRowOf(page), geometry.RowsOn(page, RowCount()), m_columns, geometry);
        return result;
    }

private:
    std::unique_ptr<TableRows> m_table;
    std::vector<int> m_columns;
};

[[noreturn]] void FailMissingField(const QString& field, const QString& table)
{
    throw VigiloError(QStringLiteral("Field '%1' not found in %2").arg(field, table));
}
}  // namespace

std::unique_ptr<PreparedReport> PrepareReport(const ReportDefinition& definition)
{
    std::unique_ptr<TableRows> table;
    if (!definition.table.isEmpty())
        table = std::make_unique<TableRows>(definition.table);

    std::vector<PreparedField> prepared;
    std::vector<int> columns;
    if (const ReportBand* detail = definition.Band(BandKind::Detail)) {
        for (const ReportField& field : detail->fields) {
            PreparedField slot;
            if (!field.enabled) {
                prepared.push_back(slot);
                continue;
            }
            const bool ownTable = !field.table.isEmpty() &&
                                  QFileInfo(field.table).absoluteFilePath() !=
                                      QFileInfo(definition.table).absoluteFilePath();
            if (ownTable) {
                TableRows other(field.table);
                const int column = other.Column(field.dataField);
                if (column < 0)
                    FailMissingField(field.dataField, field.table);
                slot.source = PreparedField::Source::Fixed;
                slot.text = other.LastValue(column);
            } else if (table) {
                const int column = table->Column(field.dataField);
                if (column < 0)
                    FailMissingField(field.dataField, definition.table);
                slot.source = PreparedField::Source::Row;
                slot.column = static_cast<int>(columns.size());
                columns.push_back(column);
            }
            prepared.push_back(slot);
        }
    }
    const long long rows = table ? table->Count() : 0;
    return std::make_unique<TablePreparedReport>(definition, std::move(prepared), rows, std::move(table),
                                                 std::move(columns));
}

// ---- Laying out and drawing ---------------------------------------------------------

const PlacedText* PageDrawing::Text(const QString& name) const
{
    for (const PlacedText& text : texts)
        if (text.name == name)
            return &text;
    return nullptr;
}

namespace {
void PlaceBand(PageDrawing& drawing, const ReportBand& band, double left, double top)
{
    for (const ReportShape& shape : band.shapes)
        drawing.shapes.push_back(
            PlacedShape{shape.kind, left + shape.left, top + shape.top, shape.width, shape.height, shape.penWidth});
    for (const ReportPicture& picture : band.pictures)
        drawing.pictures.push_back(
            PlacedPicture{left + picture.left, top + picture.top, picture.width, picture.height, picture.image});
    for (const ReportLabel& label : band.labels)
        drawing.texts.push_back(PlacedText{label.name, label.text, left + label.left, top + label.top, label.font});
}
}  // namespace

PageDrawing LayOutPage(const PreparedReport& report, long long page, const PageRows& rows)
{
    const ReportDefinition& definition = report.Definition();
    const PageSetup& setup = definition.page;
    PageDrawing drawing;
    drawing.width = setup.PageWidth();
    drawing.height = setup.PageHeight();
    const double left = setup.marginLeft;
    double top = setup.marginTop;
    if (page == 0) {
        if (const ReportBand* title = definition.Band(BandKind::Title)) {
            PlaceBand(drawing, *title, left, top);
            top += title->height;
        }
    }
    if (const ReportBand* header = definition.Band(BandKind::ColumnHeader)) {
        PlaceBand(drawing, *header, left, top);
        top += header->height;
    }
    const ReportBand* detail = definition.Band(BandKind::Detail);
    if (!detail)
        return drawing;
    const std::vector<PreparedField>& fields = report.Fields();
    for (const QStringList& row : rows.rows) {
        PlaceBand(drawing, *detail, left, top);
        for (size_t i = 0; i < detail->fields.size() && i < fields.size(); ++i) {
            const ReportField& field = detail->fields[i];
            const PreparedField& slot = fields[i];
            QString text;
            if (slot.source == PreparedField::Source::Fixed)
                text = slot.text;
            else if (slot.source == PreparedField::Source::Row && slot.column < row.size())
                text = row[slot.column];
            else
                continue;
            drawing.texts.push_back(PlacedText{field.name, text, left + field.left, top + field.top, field.font});
        }
        top += detail->height;
    }
    return drawing;
}

namespace {
QFont ToFont(const ReportFont& font)
{
    QFont result(font.family);
    result.setPointSizeF(font.pointSize);
    result.setBold(font.bold);
    result.setUnderline(font.underline);
    return result;
}
}  // namespace

void DrawPage(QPainter& painter, const PageDrawing& drawing, double dotsPerMm)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const PlacedPicture& picture : drawing.pictures)
        if (!picture.image.isNull())
            painter.drawImage(QRectF(picture.left * dotsPerMm, picture.top * dotsPerMm, picture.width * dotsPerMm,
                                     picture.height * dotsPerMm),
                              picture.image);
    painter.setBrush(Qt::NoBrush);
    for (const PlacedShape& shape : drawing.shapes) {
        painter.setPen(QPen(Qt::black, shape.penWidth * dotsPerMm, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        const QPointF origin(shape.left * dotsPerMm, shape.top * dotsPerMm);
        const QPointF extent(shape.width * dotsPerMm, shape.height * dotsPerMm);
        if (shape.kind == ReportShape::Kind::Rectangle)
            painter.drawRect(QRectF(origin, origin + extent));
        else
            painter.drawLine(origin, origin + extent);
    }
    painter.setPen(Qt::black);
    std::optional<ReportFont> current;
    double ascent = 0;
    for (const PlacedText& text : drawing.texts) {
        if (text.text.isEmpty())
            continue;
        if (!current || !(*current == text.font)) {
            const QFont font = ToFont(text.font);
            painter.setFont(font);
            ascent = QFontMetricsF(painter.font(), painter.device()).ascent();
            current = text.font;
        }
        painter.drawText(QPointF(text.left * dotsPerMm, text.top * dotsPerMm + ascent), text.text);
    }
    painter.restore();
}

QImage RenderPageImage(PreparedReport& report, long long page, double dpi)
{
    const PageRows rows = report.ReadPage(page);
    const PageDrawing drawing = LayOutPage(report, page, rows);
    const double dotsPerMm = dpi / 25.4;
    QImage image(qRound(drawing.width * dotsPerMm), qRound(drawing.height * dotsPerMm), QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dotsPerMm * 1000.0);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawPage(painter, drawing, dotsPerMm);
    return image;
}
