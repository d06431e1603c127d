// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/acquired_report.h"

#include "platform/errors.h"
#include "platform/texts.h"
#include "reports/qrp_file.h"
#include "reports/report_output.h"
#include "testpoints/table_layouts.h"
#include "workspace/report_kind.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <utility>

namespace {
// The boxes' 3-pixel pen, as it measures on a 96-dpi screen.
constexpr double kBoxPen = 3.0 * 25.4 / 96.0;

ReportFont Font(double size, bool bold, bool underline = false)
{
    ReportFont font;
    font.pointSize = size;
    font.bold = bold;
    font.underline = underline;
    return font;
}

ReportLabel Label(const char* name, double left, double top, const ReportFont& font, const QString& text)
{
    return ReportLabel{QString::fromLatin1(name), left, top, font, text};
}

// The header's ten rows per box: caption, its text, value label.
struct HeaderRow {
    double top;
    const char* caption;
    const Text* text;
    const char* value;
};

constexpr std::array<HeaderRow, 10> kCompanyRows{{
    {41.1, "QRLabelName", &texts::kQRLabelName, "QRLabelName1"},
    {45.5, "QRLabelAddress", &texts::kQRLabelAddress, "QRLabelAddress1"},
    {50.0, "QRLabelCP", &texts::kQRLabelCP, "QRLabelPostcode1"},
    {54.6, "QRLabelTown", &texts::kQRLabelTown, "QRLabelTown1"},
    {59.2, "QRLabelProvince", &texts::kQRLabelProvince, "QRLabelProvince1"},
    {63.7, "QRLabelCountry", &texts::kQRLabelCountry, "QRLabelCountry1"},
    {68.3, "QRLabel30", &texts::kQRLabel30, "QRLabelTelephone1"},
    {72.9, "QRLabelFax", &texts::kQRLabelFax, "QRLabelFax1"},
    {77.5, "QRLabelMail", &texts::kQRLabelMail, "QRLabelEMail1"},
    {82.0, "QRLabelWeb", &texts::kQRLabelWeb, "QRLabelWebsite1"},
}};

constexpr std::array<HeaderRow, 10> kMeasuresRows{{
    {41.1, "QRLabel15", &texts::kQRLabel15, "QRLabelModel1"},
    {45.5, "QRLabel16", &texts::kQRLabel16, "QRLabelSerial1"},
    {50.0, "QRLabel17", &texts::kQRLabel17, "QRLabelStartTime1"},
    {54.6, "QRLabel18", &texts::kQRLabel18, "QRLabelEndTime1"},
    {59.2, "QRLabel20", &texts::kQRLabel20, "QRLabelReportNumber1"},
    {63.7, "QRLabel21", &texts::kQRLabel21, "QRLabelStartData1"},
    {68.3, "QRLabel27", &texts::kQRLabel27, "QRLabelEndData1"},
    {72.9, "QRLabel19", &texts::kQRLabel19, "QRLabelTechName1"},
    {77.5, "QRLabel24", &texts::kQRLabel24, "QRLabelReportType1"},
    {82.0, "QRLabel25", &texts::kQRLabel25, "QRLabelMeasurePoint1"},
}};

// Column title, its text (or a localised one), its place; field, data field, its place.
struct Column {
    const char* title;
    const char* titleText;
    const Text* localised;
    double titleLeft;
    const char* field;
    const char* dataField;
    double fieldLeft;
};

constexpr std::array<Column, 18> kColumns{{
    {"QRLabel23", "REF", nullptr, -1.9, "QRDBTextReference", "Reference", -1.9},
    {"QRLabel4", "CH", nullptr, 13.0, "QRDBTextCh", "ch", 11.5},
    {"QRLabel5", nullptr, &texts::kQRLabel5, 26.7, "QRDBTextFreq", "freq", 26.2},
    {"QRLabel6", nullptr, &texts::kQRLabel6, 42.8, "QRDBTextType", "type", 41.9},
    {"QRLabel7", nullptr, &texts::kQRLabel7, 57.2, "QRDBTextLevel", "LEVEL", 58.7},
    {"QRLabel8", "C/N", nullptr, 72.2, "QRDBTextCN", "C/N", 71.7},
    {"QRLabel9", "V/A", nullptr, 83.7, "QRDBTextVA", "V/A", 83.2},
    {"QRLabel10", "FM", nullptr, 94.5, "QRDBTextDesvFM", "DESV FM", 93.1},
    {"QRLabel11", "MER", nullptr, 103.4, "QRDBTextMER", "MER", 104.2},
    {"QRLabel12", "CBER", nullptr, 115.5, "QRDBTextCBER", "CBER", 115.5},
    {"QRLabel13", "VBER", nullptr, 129.2, "QRDBTextVBER", "VBER", 129.2},
    {"QRLabel26", "LBER", nullptr, 142.6, "QRDBTextLBER", "LBER", 142.6},
    {"QRLabel28", nullptr, &texts::kQRLabel28, 163.6, "QRDBTextDate", "Date", 159.7},
    {"QRLabel14", nullptr, &texts::kQRLabel14, 179.9, "QRDBTextHour", "Hour", 179.0},
    {"QRLabel29", "Latitude", nullptr, 196.3, "QRDBTextLatitude", "Latitude", 196.3},
    {"QRLabel31", "N/S", nullptr, 215.5, "QRDBTextNS", "N/S", 215.5},
    {"QRLabel32", "Longitude", nullptr, 227.1, "QRDBTextLongitude", "Longitude", 227.1},
    {"QRLabel33", "E/W", nullptr, 248.2, "QRDBTextEW", "E/W", 248.2},
}};

constexpr double kColumnTitleTop = 2.6;
constexpr double kRowFieldTop = 1.7;

// The header logo, drawn without fonts so it needs no windowing system: a
// dish with its signal arcs and the station's name in strokes.
QImage DrawLogo()
{
    constexpr int kPerMm = 12;
    QImage image(static_cast<int>(50.3 * kPerMm), static_cast<int>(9.9 * kPerMm), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(kPerMm, kPerMm);
    const QColor blue(0x1f, 0x4e, 0x8c);
    const QColor orange(0xe0, 0x7a, 0x1f);
    // The dish and its feed.
    painter.setPen(QPen(blue, 0.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(0.8, 1.5, 7.0, 7.0), 200 * 16, 160 * 16);
    painter.drawLine(QPointF(4.3, 5.0), QPointF(6.6, 2.6));
    painter.drawLine(QPointF(4.3, 8.4), QPointF(4.3, 9.4));
    // Signal arcs.
    painter.setPen(QPen(orange, 0.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const double r = 1.4 + i * 1.1;
        painter.drawArc(QRectF(6.6 - r, 2.6 - r, 2 * r, 2 * r), 0, 90 * 16);
    }
    // V I G I L O in strokes, 6 mm tall.
    painter.setPen(QPen(blue, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double top = 2.0, bottom = 8.0;
    double x = 13.0;
    QPainterPath path;
    path.moveTo(x, top);
    path.lineTo(x + 2.2, bottom);
    path.lineTo(x + 4.4, top);
    x += 6.2;
    path.moveTo(x, top);
    path.lineTo(x, bottom);
    x += 1.8;
    path.arcMoveTo(QRectF(x, top, 5.0, bottom - top), 40);
    path.arcTo(QRectF(x, top, 5.0, bottom - top), 40, 280);
    path.lineTo(x + 5.0, 5.2);
    path.lineTo(x + 2.8, 5.2);
    x += 6.8;
    path.moveTo(x, top);
    path.lineTo(x, bottom);
    x += 1.8;
    path.moveTo(x, top);
    path.lineTo(x, bottom);
    path.lineTo(x + 3.6, bottom);
    x += 5.2;
    path.addEllipse(QRectF(x, top, 5.0, bottom - top));
    painter.drawPath(path);
    return image;
}

ReportDefinition BuildDefinition()
{
    ReportDefinition definition;
    definition.page.orientation = PageOrientation::Landscape;

    ReportBand title{BandKind::Title, 99.8, {}, {}, {}, {}};
    title.pictures.push_back(ReportPicture{QStringLiteral("QRImageLogo"), 1.9, 1.9, 50.3, 9.9, DrawLogo()});
    title.labels.push_back(Label("QRLabel3", 103.9, 4.3, Font(18, true, true), texts::kQRLabel3.English()));
    title.shapes.push_back(ReportShape{QStringLiteral("QRShapeCompany"), ReportShape::Kind::Rectangle, 3.9, 23.2,
                                       119.5 - 3.9, 90.6 - 23.2, kBoxPen});
    title.shapes.push_back(ReportShape{QStringLiteral("QRShapeMeasures"), ReportShape::Kind::Rectangle, 152.1, 23.2,
                                       267.6 - 152.1, 90.6 - 23.2, kBoxPen});
    title.labels.push_back(Label("QRLabel2", 8.7, 27.4, Font(12, true, true), texts::kQRLabel2.English()));
    title.labels.push_back(Label("QRLabel22", 154.9, 27.4, Font(12, true, true), texts::kQRLabel22.English()));
    const auto addRows = [&title](const std::array<HeaderRow, 10>& rows, double captionLeft, double valueLeft) {
        for (const HeaderRow& row : rows) {
            title.labels.push_back(Label(row.caption, captionLeft, row.top, Font(10, true), row.text->English()));
            title.labels.push_back(Label(row.value, valueLeft, row.top, Font(10, false), TAcquiredQReport::NoData()));
        }
    };
    addRows(kCompanyRows, 10.1, 32.7);
    addRows(kMeasuresRows, 155.9, 192.4);

    ReportBand header{BandKind::ColumnHeader, 7.9, {}, {}, {}, {}};
    ReportBand detail{BandKind::Detail, 7.5, {}, {}, {}, {}};
    for (const Column& column : kColumns) {
        const QString text = column.localised ? column.localised->English() : QString::fromLatin1(column.titleText);
        header.labels.push_back(Label(column.title, column.titleLeft, kColumnTitleTop, Font(9, true, true), text));
        ReportField field;
        field.name = QString::fromLatin1(column.field);
        field.left = column.fieldLeft;
        field.top = kRowFieldTop;
        field.font = Font(9, false);
        field.dataField = QString::fromLatin1(column.dataField);
        detail.fields.push_back(field);
    }
    definition.bands = {std::move(title), std::move(header), std::move(detail)};
    return definition;
}

QString Unknown(const QString& name)
{
    return QStringLiteral("The report has no element named %1").arg(name);
}
}  // namespace

TAcquiredQReport::TAcquiredQReport(const ReportMailSwitches& switches)
    : saveFolder(&SaveReportsFolder), m_switches(switches), m_definition(BuildDefinition())
{
}

TAcquiredQReport::~TAcquiredQReport() = default;

QString TAcquiredQReport::LabelText(const QString& name) const
{
    const ReportLabel* label = m_definition.Label(name);
    if (!label)
        throw VigiloError(Unknown(name));
    return label->text;
}

void TAcquiredQReport::SetLabelText(const QString& name, const QString& text)
{
    ReportLabel* label = m_definition.Label(name);
    if (!label)
        throw VigiloError(Unknown(name));
    label->text = text;
}

void TAcquiredQReport::SetTable(const QString& tableFile)
{
    m_definition.table = tableFile;
}

QString TAcquiredQReport::Table() const
{
    return m_definition.table;
}

namespace {
ReportField& RequireField(ReportDefinition& definition, const QString& name)
{
    ReportField* field = definition.Field(name);
    if (!field)
        throw VigiloError(Unknown(name));
    return *field;
}
}  // namespace

void TAcquiredQReport::BindField(const QString& name, const QString& tableFile)
{
    RequireField(m_definition, name).table = tableFile;
}

void TAcquiredQReport::SetFieldEnabled(const QString& name, bool enabled)
{
    RequireField(m_definition, name).enabled = enabled;
}

bool TAcquiredQReport::FieldEnabled(const QString& name) const
{
    return RequireField(const_cast<ReportDefinition&>(m_definition), name).enabled;
}

QStringList TAcquiredQReport::FieldNames() const
{
    QStringList names;
    for (const Column& column : kColumns)
        names.append(QString::fromLatin1(column.field));
    return names;
}

QString TAcquiredQReport::DataFieldOf(const QString& name) const
{
    return RequireField(const_cast<ReportDefinition&>(m_definition), name).dataField;
}

void TAcquiredQReport::SetHeaderCaptions(Language language)
{
    if (language == Language::Other)
        return;
    SetLabelText(QStringLiteral("QRLabel3"), texts::kQRLabel3.In(language));
    SetLabelText(QStringLiteral("QRLabel2"), texts::kQRLabel2.In(language));
    SetLabelText(QStringLiteral("QRLabel22"), texts::kQRLabel22.In(language));
    for (const auto* rows : {&kCompanyRows, &kMeasuresRows})
        for (const HeaderRow& row : *rows)
            SetLabelText(QString::fromLatin1(row.caption), row.text->In(language));
    for (const Column& column : kColumns)
        if (column.localised)
            SetLabelText(QString::fromLatin1(column.title), column.localised->In(language));
}

void TAcquiredQReport::SetModelName(const QString& model)
{
    SetLabelText(QStringLiteral("QRLabelModel1"), model);
}

std::shared_ptr<PreparedReport> TAcquiredQReport::Prepare()
{
    m_prepared = PrepareReport(m_definition);
    return m_prepared;
}

OutputResult TAcquiredQReport::SaveReport(const QString& path, Language language, const ReportProgress& progress)
{
    if (!m_prepared)
        Prepare();
    return SaveQrp(*m_prepared, path, language, progress);
}

OutputResult TAcquiredQReport::ExportPdf(const QString& path, const ReportProgress& progress)
{
    if (!m_prepared)
        Prepare();
    return ::ExportPdf(*m_prepared, path, {}, progress);
}

void TAcquiredQReport::Preview()
{
    std::shared_ptr<PreparedReport> prepared = Prepare();
    if (!showPreview)
        return;
    showPreview(prepared, [this] {
        QuickRepAfterPreview();
        emit afterPreview();
    });
}

Language TAcquiredQReport::MessageLanguage() const
{
    return currentLanguage ? currentLanguage() : Language::English;
}

void TAcquiredQReport::QuickRepAfterPreview()
{
    const QString path = (saveFolder ? saveFolder() : SaveReportsFolder()) + QLatin1Char('/') +
                         LabelText(QStringLiteral("QRLabelReportNumber1")) + QStringLiteral(".qrp");
    const std::pair<const char*, ReportKind> kinds[] = {{"Min/Max/Avg", ReportKind::MinMaxAvg},
                                                        {"by Time", ReportKind::ByTime},
                                                        {"by Alarm", ReportKind::ByAlarm},
                                                        {"by Test Point", ReportKind::ByTestPoint}};
    const QString type = LabelText(QStringLiteral("QRLabelReportType1"));
    for (const auto& [text, kind] : kinds)
        if (type == QLatin1String(text) && m_switches.IsOn(kind) && m_prepared)
            SaveQrp(*m_prepared, path, MessageLanguage());
}

ReportDefinition TLoadReport()
{
    ReportDefinition definition;
    definition.page.orientation = PageOrientation::Portrait;
    return definition;
}
