// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the station's own pictures (JPEG) and the two short manuals (PDF)
// into a program folder. The same program gives the same bytes on every run,
// so a rebuild never shows a change that is not one.
#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QHashSeed>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QRadialGradient>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextDocument>
#include <cstdio>
#include <ctime>

namespace {

void DrawDish(QPainter& p, QPointF centre, double size)
{
    p.save();
    p.translate(centre);
    p.rotate(-30);
    p.setPen(QPen(QColor(40, 40, 60), size * 0.03));
    QRadialGradient shine(QPointF(-size * 0.1, -size * 0.1), size * 0.5);
    shine.setColorAt(0, QColor(250, 250, 250));
    shine.setColorAt(1, QColor(150, 160, 175));
    p.setBrush(shine);
    p.drawEllipse(QRectF(-size * 0.45, -size * 0.2, size * 0.9, size * 0.4));
    p.drawLine(QPointF(0, 0), QPointF(0, -size * 0.45));
    p.setBrush(QColor(200, 60, 40));
    p.drawEllipse(QPointF(0, -size * 0.47), size * 0.05, size * 0.05);
    p.restore();
    p.setPen(QPen(QColor(40, 40, 60), size * 0.04));
    p.drawLine(centre, centre + QPointF(0, size * 0.5));
}

void DrawWaves(QPainter& p, QPointF origin, double radius, QColor colour)
{
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        colour.setAlpha(220 - i * 50);
        p.setPen(QPen(colour, radius * 0.05));
        const double r = radius * i / 3.0;
        p.drawArc(QRectF(origin.x() - r, origin.y() - r, 2 * r, 2 * r), 20 * 16, 50 * 16);
    }
}

void DrawTitle(QPainter& p, const QRectF& area, const QString& title, const QString& subtitle)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(int(area.height() * 0.22));
    p.setFont(font);
    p.setPen(QColor(255, 255, 255));
    p.drawText(area.adjusted(0, 0, 0, -area.height() * 0.3), Qt::AlignLeft | Qt::AlignBottom, title);
    font.setBold(false);
    font.setPixelSize(int(area.height() * 0.08));
    p.setFont(font);
    p.setPen(QColor(220, 230, 240));
    p.drawText(area.adjusted(0, area.height() * 0.72, 0, 0), Qt::AlignLeft | Qt::AlignTop, subtitle);
}

QImage Scene(QSize size, bool splash)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(18, 52, 96));
    sky.setColorAt(1, splash ? QColor(60, 120, 170) : QColor(150, 160, 170));
    p.fillRect(image.rect(), sky);
    const double w = size.width();
    const double h = size.height();
    DrawDish(p, QPointF(w * 0.75, h * 0.55), h * 0.45);
    DrawWaves(p, QPointF(w * 0.75, h * 0.3), h * 0.35, QColor(255, 210, 90));
    if (splash) {
        DrawTitle(p, QRectF(w * 0.06, h * 0.25, w * 0.6, h * 0.45), QStringLiteral("Vigilo"),
                  QStringLiteral("TV and satellite monitoring station  -  v 2.60"));
    } else {
        DrawTitle(p, QRectF(w * 0.06, h * 0.3, w * 0.6, h * 0.35), QStringLiteral("Vigilo"),
                  QStringLiteral("1. table  2. test points  3. analyser  4. run  5. reports"));
    }
    return image;
}

QImage Glyph(int side, const std::function<void(QPainter&, double)>& draw, QColor ground)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(ground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, side);
    return image;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

bool Save(const QImage& image, const QString& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "JPG", 92) && WriteFile(path, bytes);
}

// QPdfWriter stamps the Info dictionary with the moment of writing. The
// stamp is overwritten in place with a fixed one of the same length, so the
// cross-reference offsets stay right; main() runs on UTC, which keeps the
// stamp's zone part the same length ("Z") wherever the tool runs.
QByteArray WithFixedDates(QByteArray pdf)
{
    static const QRegularExpression stamp(QStringLiteral("/(CreationDate|ModDate) \\(D:([0-9]{14})"));
    const QString text = QString::fromLatin1(pdf);
    for (auto it = stamp.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        pdf.replace(match.capturedStart(2), 14, "20260101000000");
    }
    return pdf;
}

bool WriteManual(const QString& path, const QString& html)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        writer.setTitle(QStringLiteral("Vigilo"));
        QTextDocument doc;
        doc.setHtml(html);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSizeF(10 * 300.0 / 72.0 / 4.0);
        doc.setDefaultFont(font);
        QPainter painter(&writer);
        painter.scale(4.0, 4.0);
        doc.setPageSize(QSizeF(writer.width() / 4.0, writer.height() / 4.0));
        doc.drawContents(&painter);
    }
    return WriteFile(path, WithFixedDates(bytes));
}

const char* kManualEn = R"(<h1>Vigilo 2.60 - User manual</h1>
<p>Vigilo turns a PC and a portable signal analyser into an unattended monitoring station.</p>
<h2>Working order</h2>
<ol>
<li><b>New / Open Table Report</b>: create or open the Measurements table that receives one row per visit.</li>
<li><b>New / Open Test Point Set</b>: the channels to visit, with their standard, tuning and alarm thresholds. Save the set with <b>Save Test Point Set</b>.</li>
<li><b>Search COM PORT</b>: finds the analyser on COM1 to COM40 and identifies its model.</li>
<li><b>Run</b> starts the measurement run; <b>Stop</b> ends it after the visit in progress.</li>
<li><b>Report Viewer</b>: Min/Max/Avg, by Time, by Test Point and by Alarm reports.</li>
</ol>
<h2>Settings</h2>
<p>Config &gt; Operating sets the repetition mode and the waits. The language, company data and mail
settings are kept in config.cfg beside the program.</p>)";

const char* kManualSp = R"(<h1>Vigilo 2.60 - Manual de usuario</h1>
<p>Vigilo convierte un PC y un medidor de campo portátil en una estación de vigilancia desatendida.</p>
<h2>Orden de trabajo</h2>
<ol>
<li><b>Nuevo / Abrir Tabla de Informe</b>: crea o abre la tabla de medidas, que recibe una fila por visita.</li>
<li><b>Nuevos / Abrir Puntos de Test</b>: los canales a visitar, con su estándar, su sintonía y sus umbrales de alarma. Guárdelos con <b>Guardar Puntos de Test</b>.</li>
<li><b>Buscar Puerto COM</b>: busca el medidor en COM1 a COM40 e identifica su modelo.</li>
<li><b>Marcha</b> inicia las medidas; <b>Paro</b> las detiene tras la visita en curso.</li>
<li><b>Visor de Informe</b>: informes Mín/Máx/Med, por Tiempo, por Punto de Test y por Alarma.</li>
</ol>
<h2>Configuración</h2>
<p>Configuración &gt; Funcionamiento fija el modo de repetición y las esperas. El idioma, los datos de la
empresa y del correo se guardan en config.cfg junto al programa.</p>)";

}  // namespace

int main(int argc, char** argv)
{
    // Before Qt reads the clock: see WithFixedDates.
    qputenv("TZ", "UTC");
    tzset();
    // The PDF writer emits its fonts in hash order: a seed drawn per process
    // would shuffle the objects from one run to the next.
    QHashSeed::setDeterministicGlobalSeed();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: vigilo-make-assets <program folder>\n"
                             "  writes <program folder>/images/*.jpg and <program folder>/Manual_*.pdf\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("images"))) {
        std::fprintf(stderr, "cannot create %s/images\n", argv[1]);
        return 1;
    }
    const auto image = [&](const char* name) { return folder.filePath(QStringLiteral("images/") + QLatin1String(name)); };

    bool ok = Save(Scene(QSize(900, 560), false), image("background.jpg"));
    ok &= Save(Scene(QSize(760, 466), true), image("splash.jpg"));
    ok &= Save(Scene(QSize(128, 128), false), image("logo.jpg"));
    ok &= Save(Glyph(48, [](QPainter& p, double s) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 150, 60));
        p.drawPolygon(QPolygonF({QPointF(s * 0.3, s * 0.2), QPointF(s * 0.8, s * 0.5), QPointF(s * 0.3, s * 0.8)}));
    }, QColor(226, 222, 205)), image("run.jpg"));
    ok &= Save(Glyph(48, [](QPainter& p, double s) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 40, 40));
        p.drawRoundedRect(QRectF(s * 0.25, s * 0.25, s * 0.5, s * 0.5), s * 0.05, s * 0.05);
    }, QColor(226, 222, 205)), image("stop.jpg"));
    ok &= Save(Glyph(48, [](QPainter& p, double s) {
        // An envelope with a red mark: alarm mails are on.
        p.setPen(QPen(QColor(60, 60, 60), s * 0.05));
        p.setBrush(QColor(255, 255, 240));
        p.drawRect(QRectF(s * 0.12, s * 0.3, s * 0.76, s * 0.5));
        p.drawPolyline(QPolygonF({QPointF(s * 0.12, s * 0.3), QPointF(s * 0.5, s * 0.6), QPointF(s * 0.88, s * 0.3)}));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 30, 30));
        p.drawEllipse(QPointF(s * 0.8, s * 0.28), s * 0.14, s * 0.14);
    }, QColor(226, 222, 205)), image("alarm_mailing.jpg"));
    ok &= Save(Glyph(48, [](QPainter& p, double s) {
        // The power symbol: the PC will be switched off on schedule.
        p.setPen(QPen(QColor(200, 90, 20), s * 0.09, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(s * 0.2, s * 0.22, s * 0.6, s * 0.6), 120 * 16, 300 * 16);
        p.drawLine(QPointF(s * 0.5, s * 0.12), QPointF(s * 0.5, s * 0.5));
    }, QColor(226, 222, 205)), image("shutdown.jpg"));
    ok &= WriteManual(folder.filePath(QStringLiteral("Manual_en.pdf")), QString::fromUtf8(kManualEn));
    ok &= WriteManual(folder.filePath(QStringLiteral("Manual_sp.pdf")), QString::fromUtf8(kManualSp));
    return ok ? 0 : 1;
}
