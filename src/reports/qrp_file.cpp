// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/qrp_file.h"

#include "platform/errors.h"
#include "platform/texts.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

// Layout of a saved report (all integers little-endian; texts UTF-8 with a
// 32-bit byte count; doubles as IEEE 754 bit patterns):
//
//   header   "VGLQRP\r\n", u32 version, u32 flags (0), i64 rows, i64 pages,
//            u32 definition bytes, u32 CRC-32 of the definition
//   definition (see WriteDefinition)
//   pages    per page: u32 payload bytes, u32 CRC-32 of the payload, payload:
//            u32 rows, u32 columns, then rows × columns texts
//   index    i64 file offset of every page
//   trailer  i64 offset of the index, u32 CRC-32 of the index, "QRPEND\r\n"
//
// A reader checks the header, the definition and the index when it opens a
// file, so the first page shows at once however long the report is; a page's
// CRC when the page is read.

namespace {
constexpr char kMagic[8] = {'V', 'G', 'L', 'Q', 'R', 'P', '\r', '\n'};
constexpr char kEndMagic[8] = {'Q', 'R', 'P', 'E', 'N', 'D', '\r', '\n'};
constexpr quint32 kVersion = 1;
constexpr qint64 kHeaderSize = 8 + 4 + 4 + 8 + 8 + 4 + 4;
constexpr qint64 kTrailerSize = 8 + 4 + 8;

quint32 Crc32(const char* data, qint64 size)
{
    static const auto table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (qint64 i = 0; i < size; ++i)
        crc = table[(crc ^ static_cast<unsigned char>(data[i])) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

quint32 Crc32(const QByteArray& bytes)
{
    return Crc32(bytes.constData(), bytes.size());
}

// ---- Encoding ----------------------------------------------------------------------

class Writer {
public:
    void U8(quint8 v) { m_bytes.append(static_cast<char>(v)); }
    void U32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        m_bytes.append(b, 4);
    }
    void I64(qint64 v)
    {
        char b[8];
        qToLittleEndian(v, b);
        m_bytes.append(b, 8);
    }
    void F64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        I64(static_cast<qint64>(bits));
    }
    void Bytes(const QByteArray& bytes)
    {
        U32(static_cast<quint32>(bytes.size()));
        m_bytes.append(bytes);
    }
    void Str(const QString& text) { Bytes(text.toUtf8()); }
    QByteArray& Data() { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Reads from a buffer whose every read is checked against its end: a damaged
// count can never make it allocate or read beyond what the buffer holds.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}
    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_at == m_bytes.size(); }

    quint8 U8() { return Has(1) ? static_cast<quint8>(m_bytes[m_at++]) : 0; }
    quint32 U32()
    {
        if (!Has(4))
            return 0;
        const quint32 v = qFromLittleEndian<quint32>(m_bytes.constData() + m_at);
        m_at += 4;
        return v;
    }
    qint64 I64()
    {
        if (!Has(8))
            return 0;
        const qint64 v = qFromLittleEndian<qint64>(m_bytes.constData() + m_at);
        m_at += 8;
        return v;
    }
    double F64()
    {
        const auto bits = static_cast<quint64>(I64());
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v))
            m_ok = false;
        return v;
    }
    QByteArray Bytes()
    {
        const quint32 size = U32();
        if (!Has(size))
            return QByteArray();
        QByteArray bytes = m_bytes.mid(m_at, size);
        m_at += size;
        return bytes;
    }
    QString Str() { return QString::fromUtf8(Bytes()); }
    // A count of items each at least `minimumBytes` long: never more than fit.
    quint32 Count(qint64 minimumBytes)
    {
        const quint32 count = U32();
        if (minimumBytes > 0 && count > (m_bytes.size() - m_at) / minimumBytes)
            m_ok = false;
        return m_ok ? count : 0;
    }
    void Fail() { m_ok = false; }

private:
    bool Has(qint64 size)
    {
        if (!m_ok || size < 0 || size > m_bytes.size() - m_at) {
            m_ok = false;
            return false;
        }
        return true;
    }

    const QByteArray& m_bytes;
    qint64 m_at = 0;
    bool m_ok = true;
};

void WriteFont(Writer& w, const ReportFont& font)
{
    w.Str(font.family);
    w.F64(font.pointSize);
    w.U8((font.bold ? 1 : 0) | (font.underline ? 2 : 0));
}

ReportFont ReadFont(Reader& r)
{
    ReportFont font;
    font.family = r.Str();
    font.pointSize = r.F64();
    const quint8 flags = r.U8();
    font.bold = flags & 1;
    font.underline = flags & 2;
    if (flags > 3 || font.pointSize <= 0 || font.pointSize > 500)
        r.Fail();
    return font;
}

void WriteDefinition(Writer& w, const PreparedReport& report)
{
    const ReportDefinition& d = report.Definition();
    for (double v : {d.page.paperWidth, d.page.paperHeight, d.page.marginLeft, d.page.marginTop, d.page.marginRight,
                     d.page.marginBottom})
        w.F64(v);
    w.U8(d.page.orientation == PageOrientation::Landscape ? 1 : 0);
    w.U32(static_cast<quint32>(d.page.columns));
    w.U32(static_cast<quint32>(d.bands.size()));
    for (const ReportBand& band : d.bands) {
        w.U8(static_cast<quint8>(band.kind));
        w.F64(band.height);
        w.U32(static_cast<quint32>(band.labels.size()));
        for (const ReportLabel& l : band.labels) {
            w.Str(l.name);
            w.F64(l.left);
            w.F64(l.top);
            WriteFont(w, l.font);
            w.Str(l.text);
        }
        w.U32(static_cast<quint32>(band.fields.size()));
        for (const ReportField& f : band.fields) {
            w.Str(f.name);
            w.F64(f.left);
            w.F64(f.top);
            WriteFont(w, f.font);
            w.Str(f.dataField);
        }
        w.U32(static_cast<quint32>(band.shapes.size()));
        for (const ReportShape& s : band.shapes) {
            w.Str(s.name);
            w.U8(s.kind == ReportShape::Kind::Rectangle ? 1 : 0);
            for (double v : {s.left, s.top, s.width, s.height, s.penWidth})
                w.F64(v);
        }
        w.U32(static_cast<quint32>(band.pictures.size()));
        for (const ReportPicture& p : band.pictures) {
            w.Str(p.name);
            for (double v : {p.left, p.top, p.width, p.height})
                w.F64(v);
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            if (!p.image.isNull())
                p.image.save(&buffer, "PNG");
            w.Bytes(png);
        }
    }
    // What each detail field prints, in band order.
    w.U32(static_cast<quint32>(report.Fields().size()));
    for (const PreparedField& f : report.Fields()) {
        w.U8(static_cast<quint8>(f.source));
        w.U32(static_cast<quint32>(f.column));
        w.Str(f.text);
    }
}

// A text of at most this many bytes; a longer one is damage.
constexpr qint64 kMinimumText = 4;

bool ReadDefinition(Reader& r, ReportDefinition& d, std::vector<PreparedField>& fields, int& rowColumns)
{
    for (double* v : {&d.page.paperWidth, &d.page.paperHeight, &d.page.marginLeft, &d.page.marginTop,
                      &d.page.marginRight, &d.page.marginBottom})
        *v = r.F64();
    const quint8 orientation = r.U8();
    d.page.orientation = orientation == 1 ? PageOrientation::Landscape : PageOrientation::Portrait;
    d.page.columns = static_cast<int>(r.U32());
    const auto sane = [](double v, double lo, double hi) { return v >= lo && v <= hi; };
    if (orientation > 1 || d.page.columns != 1 || !sane(d.page.paperWidth, 10, 2000) ||
        !sane(d.page.paperHeight, 10, 2000) || !sane(d.page.marginLeft, 0, 500) || !sane(d.page.marginTop, 0, 500) ||
        !sane(d.page.marginRight, 0, 500) || !sane(d.page.marginBottom, 0, 500) ||
        d.page.PrintableWidth() <= 0 || d.page.PrintableHeight() <= 0)
        return false;
    const quint32 bandCount = r.Count(1);
    if (bandCount > 3)
        return false;
    std::array<bool, 3> seen{};
    for (quint32 b = 0; b < bandCount && r.Ok(); ++b) {
        ReportBand band;
        const quint8 kind = r.U8();
        if (kind > 2 || seen[kind])
            return false;
        seen[kind] = true;
        band.kind = static_cast<BandKind>(kind);
        band.height = r.F64();
        if (!sane(band.height, 0, 2000))
            return false;
        const auto position = [&](double& left, double& top) {
            left = r.F64();
            top = r.F64();
            if (!sane(left, -2000, 2000) || !sane(top, -2000, 2000))
                r.Fail();
        };
        for (quint32 n = r.Count(kMinimumText), i = 0; i < n && r.Ok(); ++i) {
            ReportLabel l;
            l.name = r.Str();
            position(l.left, l.top);
            l.font = ReadFont(r);
            l.text = r.Str();
            band.labels.push_back(std::move(l));
        }
        for (quint32 n = r.Count(kMinimumText), i = 0; i < n && r.Ok(); ++i) {
            ReportField f;
            f.name = r.Str();
            position(f.left, f.top);
            f.font = ReadFont(r);
            f.dataField = r.Str();
            band.fields.push_back(std::move(f));
        }
        for (quint32 n = r.Count(kMinimumText), i = 0; i < n && r.Ok(); ++i) {
            ReportShape s;
            s.name = r.Str();
            s.kind = r.U8() == 1 ? ReportShape::Kind::Rectangle : ReportShape::Kind::Line;
            position(s.left, s.top);
            s.width = r.F64();
            s.height = r.F64();
            s.penWidth = r.F64();
            if (!sane(s.width, -2000, 2000) || !sane(s.height, -2000, 2000) || !sane(s.penWidth, 0, 50))
                r.Fail();
            band.shapes.push_back(std::move(s));
        }
        for (quint32 n = r.Count(kMinimumText), i = 0; i < n && r.Ok(); ++i) {
            ReportPicture p;
            p.name = r.Str();
            position(p.left, p.top);
            p.width = r.F64();
            p.height = r.F64();
            if (!sane(p.width, 0, 2000) || !sane(p.height, 0, 2000))
                r.Fail();
            const QByteArray png = r.Bytes();
            // Only a PNG is decoded; its size is bounded so a forged header
            // cannot ask for a huge image.
            if (!png.isEmpty() && r.Ok()) {
                if (!png.startsWith("\x89PNG\r\n\x1a\n") || png.size() < 24)
                    return false;
                const quint32 width = qFromBigEndian<quint32>(png.constData() + 16);
                const quint32 height = qFromBigEndian<quint32>(png.constData() + 20);
                if (width == 0 || height == 0 || width > 4096 || height > 4096 ||
                    !p.image.loadFromData(png, "PNG"))
                    return false;
            }
            band.pictures.push_back(std::move(p));
        }
        d.bands.push_back(std::move(band));
    }
    const ReportBand* detail = d.Band(BandKind::Detail);
    const quint32 fieldCount = r.Count(1);
    if (!r.Ok() || fieldCount != (detail ? detail->fields.size() : 0))
        return false;
    rowColumns = 0;
    for (quint32 i = 0; i < fieldCount && r.Ok(); ++i) {
        PreparedField f;
        const quint8 source = r.U8();
        if (source > 2)
            return false;
        f.source = static_cast<PreparedField::Source>(source);
        f.column = static_cast<int>(r.U32());
        f.text = r.Str();
        if (f.source == PreparedField::Source::Row) {
            // Row columns are numbered in band order.
            if (f.column != rowColumns)
                return false;
            ++rowColumns;
        } else {
            f.column = -1;
        }
        fields.push_back(std::move(f));
    }
    return r.Ok() && r.AtEnd();
}

QByteArray EncodePage(const PageRows& rows, int columns)
{
    Writer w;
    w.U32(static_cast<quint32>(rows.rows.size()));
    w.U32(static_cast<quint32>(columns));
    for (const QStringList& row : rows.rows)
        for (int c = 0; c < columns; ++c)
            w.Str(c < row.size() ? row[c] : QString());
    return w.Data();
}

QString Say(const Text& text, Language language, const QString& path)
{
    const Language shown = language == Language::Other ? Language::English : language;
    return text.In(shown).arg(QDir::toNativeSeparators(path));
}

class QrpPreparedReport : public PreparedReport {
public:
    QrpPreparedReport(ReportDefinition definition, std::vector<PreparedField> fields, long long rows,
                      std::unique_ptr<QFile> file, qint64 indexOffset, int columns, Language language)
        : PreparedReport(std::move(definition), std::move(fields), rows),
          m_file(std::move(file)),
          m_indexOffset(indexOffset),
          m_columns(columns),
          m_language(language)
    {
    }

    PageRows ReadPage(long long page) override
    {
        PageRows result;
        if (page < 0 || page >= PageCount())
            return result;
        const qint64 offset = ReadOffset(page);
        const qint64 end = page + 1 < PageCount() ? ReadOffset(page + 1) : m_indexOffset;
        if (offset < kHeaderSize || end - offset < 8 || end > m_indexOffset || !m_file->seek(offset))
            Damaged(page);
        const QByteArray record = m_file->read(end - offset);
        if (record.size() != end - offset)
            Damaged(page);
        const quint32 size = qFromLittleEndian<quint32>(record.constData());
        const quint32 crc = qFromLittleEndian<quint32>(record.constData() + 4);
        const QByteArray payload = record.mid(8);
        if (size != static_cast<quint32>(payload.size()) || Crc32(payload) != crc)
            Damaged(page);
        Reader r(payload);
        const PageGeometry geometry(Definition());
        const quint32 rows = r.U32();
        const quint32 columns = r.U32();
        if (rows != static_cast<quint32>(geometry.RowsOn(page, RowCount())) ||
            columns != static_cast<quint32>(m_columns))
            Damaged(page);
        for (quint32 i = 0; i < rows && r.Ok(); ++i) {
            QStringList row;
            for (quint32 c = 0; c < columns && r.Ok(); ++c)
                row.append(r.Str());
            result.rows.push_back(std::move(row));
        }
        if (!r.Ok() || !r.AtEnd())
            Damaged(page);
        return result;
    }

private:
    qint64 ReadOffset(long long page)
    {
        char bytes[8];
        if (!m_file->seek(m_indexOffset + page * 8) || m_file->read(bytes, 8) != 8)
            Damaged(page);
        return qFromLittleEndian<qint64>(bytes);
    }

    [[noreturn]] void Damaged(long long page) const
    {
        const Language shown = m_language == Language::Other ? Language::English : m_language;
        throw VigiloError(texts::kQrpPageDamaged.In(shown).arg(QDir::toNativeSeparators(m_file->fileName())).arg(page + 1));
    }

    std::unique_ptr<QFile> m_file;
    qint64 m_indexOffset;
    int m_columns;
    Language m_language;
};
}  // namespace

OutputResult SaveQrp(PreparedReport& report, const QString& path, Language language, const ReportProgress& progress)
{
    const QString failure = Say(texts::kQrpCannotWrite, language, path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw VigiloError(failure);
    const auto write = [&](const QByteArray& bytes) {
        if (file.write(bytes) != bytes.size())
            throw VigiloError(failure);
    };

    Writer definition;
    WriteDefinition(definition, report);
    const long long pages = report.PageCount();
    Writer header;
    header.Data().append(kMagic, 8);
    header.U32(kVersion);
    header.U32(0);
    header.I64(report.RowCount());
    header.I64(pages);
    header.U32(static_cast<quint32>(definition.Data().size()));
    header.U32(Crc32(definition.Data()));
    write(header.Data());
    write(definition.Data());

    const int columns = static_cast<int>(report.RowFields().size());
    // The index grows by one offset per page, the only thing kept per page.
    QByteArray index;
    index.reserve(static_cast<qsizetype>(pages * 8));
    for (long long page = 0; page < pages; ++page) {
        char offset[8];
        qToLittleEndian<qint64>(file.pos(), offset);
        index.append(offset, 8);
        const QByteArray payload = EncodePage(report.ReadPage(page), columns);
        Writer record;
        record.U32(static_cast<quint32>(payload.size()));
        record.U32(Crc32(payload));
        write(record.Data());
        write(payload);
        if (progress && !progress(page + 1, pages)) {
            file.cancelWriting();
            return OutputResult::Cancelled;
        }
    }
    Writer trailer;
    trailer.I64(file.pos());
    trailer.U32(Crc32(index));
    trailer.Data().append(kEndMagic, 8);
    write(index);
    write(trailer.Data());
    if (!file.commit())
        throw VigiloError(failure);
    return OutputResult::Done;
}

std::unique_ptr<PreparedReport> OpenQrp(const QString& path, Language language, QString& error)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        error = Say(texts::kQrpCannotOpen, language, path);
        return nullptr;
    }
    const auto refuse = [&](const Text& text) -> std::unique_ptr<PreparedReport> {
        error = Say(text, language, path);
        return nullptr;
    };
    const qint64 size = file->size();
    const QByteArray headerBytes = file->read(kHeaderSize);
    if (headerBytes.size() < 8 || std::memcmp(headerBytes.constData(), kMagic, 8) != 0)
        return refuse(texts::kQrpForeign);
    if (headerBytes.size() < kHeaderSize)
        return refuse(texts::kQrpDamaged);
    Reader header(headerBytes);
    header.I64();  // the magic, checked above
    if (header.U32() != kVersion)
        return refuse(texts::kQrpVersion);
    const quint32 flags = header.U32();
    const qint64 rows = header.I64();
    const qint64 pages = header.I64();
    const quint32 definitionSize = header.U32();
    const quint32 definitionCrc = header.U32();
    if (flags != 0 || rows < 0 || pages < 1 || definitionSize > size - kHeaderSize - kTrailerSize ||
        pages > (size - kHeaderSize - kTrailerSize - definitionSize) / 16)
        return refuse(texts::kQrpDamaged);

    const QByteArray definitionBytes = file->read(definitionSize);
    if (definitionBytes.size() != static_cast<qsizetype>(definitionSize) || Crc32(definitionBytes) != definitionCrc)
        return refuse(texts::kQrpDamaged);
    ReportDefinition definition;
    std::vector<PreparedField> fields;
    int columns = 0;
    Reader reader(definitionBytes);
    if (!ReadDefinition(reader, definition, fields, columns) || PageGeometry(definition).PageCount(rows) != pages)
        return refuse(texts::kQrpDamaged);

    if (!file->seek(size - kTrailerSize))
        return refuse(texts::kQrpDamaged);
    const QByteArray trailerBytes = file->read(kTrailerSize);
    if (trailerBytes.size() != kTrailerSize || std::memcmp(trailerBytes.constData() + 12, kEndMagic, 8) != 0)
        return refuse(texts::kQrpDamaged);
    Reader trailer(trailerBytes);
    const qint64 indexOffset = trailer.I64();
    const quint32 indexCrc = trailer.U32();
    if (indexOffset != size - kTrailerSize - pages * 8 || indexOffset < kHeaderSize + definitionSize ||
        !file->seek(indexOffset))
        return refuse(texts::kQrpDamaged);
    // The index is one offset per page: read and checked whole, then dropped;
    // pages read their offsets from the file.
    const QByteArray index = file->read(pages * 8);
    if (index.size() != pages * 8 || Crc32(index) != indexCrc)
        return refuse(texts::kQrpDamaged);
    qint64 previous = kHeaderSize + definitionSize;
    for (qint64 page = 0; page < pages; ++page) {
        const qint64 offset = qFromLittleEndian<qint64>(index.constData() + page * 8);
        if (offset != previous && !(page > 0 && offset > previous))
            return refuse(texts::kQrpDamaged);
        if (page == 0 && offset != previous)
            return refuse(texts::kQrpDamaged);
        if (offset + 8 > indexOffset)
            return refuse(texts::kQrpDamaged);
        previous = offset + 8;
    }
    error.clear();
    return std::make_unique<QrpPreparedReport>(std::move(definition), std::move(fields), rows, std::move(file),
                                               indexOffset, columns, language);
}
