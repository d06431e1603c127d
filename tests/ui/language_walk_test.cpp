// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "app/program_ui.h"
#include "sim/virtual_clock.h"
#include "support/fake_system_commands.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <memory>

// Every window the language commands touch, and every control of theirs
// whose caption the commands set, walked in both directions. A row with
// texts checks them word for word; a row without (its texts are the
// window's own choice) checks that the caption is there in both languages
// and changes with the language, unless it is marked as written alike.
namespace {
enum Alike { Differs, SameInBoth };

struct WalkRow {
    const char* window;
    const char* control;  // the window's own name: its title
    const char* english;  // nullptr: the window's own wording
    const char* spanish;
    Alike alike = Differs;
};

const WalkRow kWalk[] = {
    // Main window: menu items.
    {"TVigilo", "File1", "File", "Archivo"},
    {"TVigilo", "LoadReport1", "Open Report", "Abrir Informe"},
    {"TVigilo", "ReportViewer1", "Report Viewer", "Visor de Informes"},
    {"TVigilo", "MinMaxAvg1", "Min/Max/Avg", "Mín/Máx/Med"},
    {"TVigilo", "byTime1", "by Time", "por Tiempo"},
    {"TVigilo", "byTestPoint1", "by Test Point", "por Punto de Test"},
    {"TVigilo", "byAlarm1", "by Alarm", "por Alarma"},
    {"TVigilo", "SaveTP1", "Save Test Point Set", "Guardar Puntos de Test"},
    {"TVigilo", "Exit1", "Exit", "Salir"},
    {"TVigilo", "Model", "Model", "Modelo"},
    {"TVigilo", "EUStandard", "DVB", "DVB"},
    {"TVigilo", "Reports", "Report", "Informe"},
    {"TVigilo", "NewReport", "New Table Report", "Nueva Tabla de Informe"},
    {"TVigilo", "OpenReport", "Open Table Report", "Abrir Tabla de Informe"},
    {"TVigilo", "Exporttocsv1", "Export to .csv", "Exportar a .csv"},
    {"TVigilo", "TestPoints1", "Test Point", "Puntos de Test"},
    {"TVigilo", "OpenTestPoint", "Open Test Point Set", "Abrir Puntos de Test"},
    {"TVigilo", "NewTestPoint", "New Test Point Set", "Nuevos Puntos de Test"},
    {"TVigilo", "TPointConfig1", "Edit Test Points", "Configuración de Puntos de Test"},
    {"TVigilo", "EditTPTable", "Edit Test Points Table", "Editar Tabla de Puntos de Test"},
    {"TVigilo", "View1", "View", "Ver"},
    {"TVigilo", "TestPoint1", "Test Points Table", "Tabla de Puntos de Test"},
    {"TVigilo", "TableReport1", "Report Table", "Tabla de Informe"},
    {"TVigilo", "OpenAddChFromExploration1", "Add Test Points From Exploration", "Puntos de Test desde Exploración"},
    {"TVigilo", "Config", "Config", "Configuración"},
    {"TVigilo", "OperatingMode", "Operating", "Funcionamiento"},
    {"TVigilo", "Mail", "Mail", "Correo"},
    {"TVigilo", "EMailConfig", "Data", "Datos"},
    {"TVigilo", "TestSendMail", "Test Mailing", "Test de Envío"},
    {"TVigilo", "DataReport1", "Data Report", "Datos del Informe"},
    {"TVigilo", "OpenAlarms", "Alarm", "Alarmas"},
    {"TVigilo", "Shutdown1", "Shutdown", "Apagado"},
    {"TVigilo", "Language1", "Language", "Idioma"},
    {"TVigilo", "English1", "English", "Inglés"},
    {"TVigilo", "Spanish1", "Spanish", "Español"},
    {"TVigilo", "Help1", "Help", "Ayuda"},
    {"TVigilo", "About1", "About...", "Acerca de"},
    // Main window: toolbar and status area.
    {"TVigilo", "NewReportBtn", "New Table Report", "Nuevo Informe"},
    {"TVigilo", "OpenReportBtn", "Open Table Report", "Abrir Tabla de Informe"},
    {"TVigilo", "NewAcqButton", "New  Test Point Set", "Nuevos Puntos de Test"},
    {"TVigilo", "OpenAcquisition", "Open Test Point Set", "Abrir Puntos de Test"},
    {"TVigilo", "SaveTP", "Save Test Point Set", "Guardar Puntos de Test"},
    {"TVigilo", "SearchComBtn", "Search COM PORT", "Buscar Puerto COM"},
    {"TVigilo", "Label58", "Report Viewer", "Visor de Informe"},
    {"TVigilo", "ViewFilteredReportBtn", "Min/Max/Avg", "Mín/Máx/Med"},
    {"TVigilo", "ViewCompletedReportBtn", "by Time", "por Tiempo"},
    {"TVigilo", "ViewGroupedReportBtn", "by Test Point", "por Test Point"},
    {"TVigilo", "ViewAlarmReportBtn", "by Alarm", "por Alarma"},
    {"TVigilo", "Label57", "Status Information", "INFORMACIÓN DE ESTADO"},
    {"TVigilo", "PanelInfo", "STOPPED", "DETENIDO"},

    {"TShutDown", "TShutDown", "Shutdown", "Apagado"},
    {"TShutDown", "CheckActiveProg", "Activate", nullptr},
    {"TShutDown", "Label26", nullptr, nullptr},
    {"TShutDown", "CheckPCoff", "PC Shutdown", nullptr},
    {"TShutDown", "Label41", "Send by Mail ->", "Enviar por Correo ->"},
    {"TShutDown", "CheckFilteredReport", "Min/Max/Avg", nullptr},
    {"TShutDown", "CheckCompleteReport", "by Time", nullptr},
    {"TShutDown", "CheckGroupedReport", "by Test Point", "por Punto de Test"},
    {"TShutDown", "CheckAlarmReport", "by Alarm", nullptr},

    {"TFormFinishProcess", "LabelFinishProcess", "End of Process", "Fín del Proceso"},

    {"TOperMode", "TOperMode", "Operating", "Funcionamiento"},
    {"TOperMode", "EveryFilteredReport", "Min/Max/Avg", nullptr},
    {"TOperMode", "EveryCompletedReport", "by Time", nullptr},
    {"TOperMode", "EveryGroupedReport", "by Test Point", "por Punto de Test"},
    {"TOperMode", "EveryAlarmReport", "by Alarm", nullptr},
    {"TOperMode", "Continuous", "Continuous", "Contínuo"},
    {"TOperMode", "Label1", nullptr, nullptr},
    {"TOperMode", "Label2", nullptr, nullptr},
    {"TOperMode", "Label5", "Extra delay time for measurement", "Tiempo de espera adicional para la medida"},
    {"TOperMode", "CheckBoxBucleRepeticiones", "Loops", nullptr},
    {"TOperMode", "Only1TP", "Loop single test point", "Repite un punto de test"},
    {"TOperMode", "ReportsEverySeconds", "Send reports every", nullptr},
    {"TOperMode", "cbAutoAlarm", "Autoconfiguration alarm", "Configuración automática de alarma"},
    {"TOperMode", "ContadorStartStop", "ON/OFF Cycle", nullptr},
    {"TOperMode", "Label55", "ON Time", nullptr},
    {"TOperMode", "Label56", "OFF Time", nullptr},

    {"TAutoAlarm", "Label2", nullptr, nullptr},
    {"TAutoAlarm", "Label1", nullptr, nullptr},
    {"TAutoAlarm", "CBoxLevel", nullptr, nullptr},
    {"TAutoAlarm", "CBoxCN", "CN", "CN"},
    {"TAutoAlarm", "CBoxVA", "VA", "VA", SameInBoth},
    {"TAutoAlarm", "CBoxMER", "MER", "MER", SameInBoth},

    {"TDataCompany", "Label1", "Name :", "Nombre :"},
    {"TDataCompany", "Label2", "Address :", "Dirección :"},
    {"TDataCompany", "Label3", "Postcode :", "Código Postal :"},
    {"TDataCompany", "Label4", "City :", "Ciudad :"},
    {"TDataCompany", "Label5", "Province :", "Provincia :"},
    {"TDataCompany", "Label6", "Country :", "País :"},
    {"TDataCompany", "Label15", "Telephone :", "Teléfono :"},
    {"TDataCompany", "Label8", "E-Mail :", "Correo :"},
    {"TDataCompany", "Label9", "Website :", "Página Web :"},
    {"TDataCompany", "Label10", "Company's Data:", "Datos de la empresa:"},
    {"TDataCompany", "Label11", "Technician´s Data:", "Datos del técnico:"},
    {"TDataCompany", "Label12", "Technician´s Name :", "Nombre del técnico :"},
    {"TDataCompany", "Label13", "Report´s Data :", "Datos del informe :"},
    {"TDataCompany", "Label14", "Report Number :", "Número de informe :"},
    {"TDataCompany", "Label16", "Test Equipment Data:", "Datos del medidor:"},
    {"TDataCompany", "Label17", "Serial Number :", "Número de serie :"},
    {"TDataCompany", "Label18", "Measure Location :", "Punto de medida :"},

    {"TConfigMails", "Label10", nullptr, nullptr},
    {"TConfigMails", "LabelDestinyAddress", nullptr, nullptr},
    {"TConfigMails", "LabelDestiny2Address", nullptr, nullptr},
    {"TConfigMails", "LabelDestiny3Address", nullptr, nullptr},
    {"TConfigMails", "Mail2", nullptr, nullptr},
    {"TConfigMails", "Mail3", nullptr, nullptr},
    {"TConfigMails", "sinGestorMail", "Do not use my email client", "No usar mi cliente de correo electrónico"},
    {"TConfigMails", "conGestorMail", "Use my email client", "Usar mi cliente de correo electrónico"},
    {"TConfigMails", "FRAddLabel", nullptr, nullptr},
    {"TConfigMails", "UsNameLabel", nullptr, nullptr},
    {"TConfigMails", "PassLabel", nullptr, nullptr},
    {"TConfigMails", "HostLabel", nullptr, nullptr},
    {"TConfigMails", "AuthTypeLabel", nullptr, nullptr},
    {"TConfigMails", "Label6", nullptr, nullptr},

    {"TTPointConf", "TTPointConf", "Edit Test Points", "Tabla Puntos de Test"},
    {"TTPointConf", "Edit", "Edit", "Editar"},
    {"TTPointConf", "Insert", "Insert", "Insertar"},
    {"TTPointConf", "Label7", "Channel", "Canal"},
    {"TTPointConf", "Label1", "Freq.", "Frec."},
    {"TTPointConf", "Label3", "Code Rate", "Code Rate", SameInBoth},
    {"TTPointConf", "Label30", "Symb.Rate", "Vel.Símb."},
    {"TTPointConf", "Label6", "Band", "Banda"},
    {"TTPointConf", "Label2", "Type", "Señal"},
    {"TTPointConf", "Label24", "System", "Sistema"},
    {"TTPointConf", "LSelectAnalogBW", "BW", "BW", SameInBoth},
    {"TTPointConf", "Label9", "G.Interval", "Guarda"},
    {"TTPointConf", "Label4", "Modulation", "Modulación"},
    {"TTPointConf", "Label31", "Carriers", "Portadoras"},
    {"TTPointConf", "Label34", "Inv.Spect.", "Inv.Espect."},
    {"TTPointConf", "Label27", "LNB", "LNB", SameInBoth},
    {"TTPointConf", "Label5", "Layer", "Capa"},

    {"TTP_Edition", "TTP_Edition", "Test Point Edition", "Edición de Puntos de Test"},
    {"TTP_Edition", "Label1", "CANALIZATIONS", "CANALIZACIONES"},
    {"TTP_Edition", "Label2", "TEST POINT", "PUNTO DE TEST"},
    {"TTP_Edition", "AddTERCH", nullptr, nullptr},
    {"TTP_Edition", "AddSATCH", nullptr, nullptr},
    {"TTP_Edition", "AddBLANKTP", nullptr, nullptr},
    {"TTP_Edition", "InsertBLANKTP", nullptr, nullptr},
    {"TTP_Edition", "DelONETP", nullptr, nullptr},
    {"TTP_Edition", "DelALLTP", nullptr, nullptr},
    {"TTP_Edition", "CopyTP", "COPY", "COPIAR"},
    {"TTP_Edition", "CutTP", "CUT", "CORTAR"},
    {"TTP_Edition", "PasteTP", "PASTE", "PEGAR"},

    {"TTerChannelsForm", "TTerChannelsForm", "Terrestrial Channels", "Canalizaciones Terrestre"},
    {"TTerChannelsForm", "AddAnalog", "Add Analog", "Añadir Analógico"},
    {"TTerChannelsForm", "ButtonAddDVBC", "Add DVB-C", "Añadir DVB-C"},
    {"TTerChannelsForm", "ButtonAddDVBT", "Add DVB-T/H", "Añadir DVB-T/H"},
    {"TTerChannelsForm", "AddJ83", "Add J-83", "Añadir J-83"},
    {"TTerChannelsForm", "Add8VSB", "Add 8-VSB", "Añadir 8-VSB"},
    {"TTerChannelsForm", "AddDVBT2", "Add DVB-T2", "Añadir DVB-T2"},
    {"TTerChannelsForm", "AddISDBT", "Add ISDBT", "Añadir ISDBT"},
    {"TTerChannelsForm", "AddDTMB", "Add DTMB", "Añadir DTMB"},
    {"TTerChannelsForm", "ButtonAddDAB", "Add DAB", "Añadir DAB"},

    {"TSatChannelsForm", "TSatChannelsForm", "Satellite Channels", "Canalizaciones Satélite"},
    {"TSatChannelsForm", "Button1", "Add Channel", "Añadir Canal"},

    {"TRepCanals", "TRepCanals", "ADD TEST POINT FROM EXPLORATION", "ADD TEST POINT FROM EXPLORATION", SameInBoth},
    {"TRepCanals", "AskChan", "Receive Exploration", "Recibir Exploración"},
    {"TRepCanals", "Label54", "  wait...", "espera..."},
    {"TRepCanals", "Label50", "Channels List", "Lista de Canales"},
    {"TRepCanals", "Label47", "Low Osc.", "Osc. Bajo"},
    {"TRepCanals", "Label48", "High Osc.", "Osc. Alto"},
    {"TRepCanals", "ReceiveCha", "Add Channels", "Añadir Canales"},
    {"TRepCanals", "ChannelsCANCEL", "CANCEL", "CANCELAR"},

    {"TFormAlarms", "TFormAlarms", "Alarm Configuration", "Configuración de Alarmas"},
    {"TFormAlarms", "Label8", "ALARM", "ALARMA"},
    {"TFormAlarms", "Label14", "Minimum", "Mínimo"},
    {"TFormAlarms", "Label15", "Maximum", "Máximo"},
    {"TFormAlarms", "Label17", "Maximum", "Máximo"},
    {"TFormAlarms", "Label16", "Minimum", "Mínimo"},
    {"TFormAlarms", "Label19", "CBER", "CBER", SameInBoth},
    {"TFormAlarms", "Label18", "VBER", "VBER", SameInBoth},
    {"TFormAlarms", "Label10", "Level (dBµV)", "Nivel (dBµV)"},
    {"TFormAlarms", "Label11", "MER (dB)", "MER (dB)", SameInBoth},
    {"TFormAlarms", "Label12", "C/N (dB)", "C/N (dB)", SameInBoth},
    {"TFormAlarms", "Label13", "V/A (dB)", "V/A (dB)", SameInBoth},
    {"TFormAlarms", "Label33", "Test Point", "Punto de Test"},
    {"TFormAlarms", "Label32", "LBER", "LBER", SameInBoth},
    {"TFormAlarms", "SendAlarm", "Mailing", "Envío de correo"},
    {"TFormAlarms", "Insert", "Insert >>", "Insertar >>"},

    // Label2 of TGPS is its search's status line, which the search writes
    // in the language of the moment; the commands leave it to the search.
    {"TGPS", "Label1", "GPS COM Port", nullptr},
    {"TGPS", "ActiveGPS", "Enable the GPS reception", nullptr},
    {"TGPS", "FindGPS", "Search signal", nullptr},
    {"TGPS", "CancelFindGPS", "Cancel", "CANCEL"},
};

QWidget* WindowNamed(const QString& name)
{
    for (QWidget* w : QApplication::allWidgets())
        if (w->isWindow() && w->objectName() == name && !qobject_cast<QMenu*>(w))
            return w;
    return nullptr;
}

// The control of that name that belongs to `window` itself, not to a window
// parented to it (several windows have a "Label1").
QObject* ControlOf(QWidget& window, const QString& name)
{
    for (QObject* candidate : window.findChildren<QObject*>(name)) {
        const QObject* o = candidate->parent();
        while (o && o != &window) {
            const auto* w = qobject_cast<const QWidget*>(o);
            if (w && w->isWindow() && !qobject_cast<const QMenu*>(w))
                break;
            o = o->parent();
        }
        if (o == &window)
            return candidate;
    }
    return nullptr;
}

// The caption as the user reads it; nothing when there is no such control.
std::optional<QString> CaptionOf(const WalkRow& row)
{
    QWidget* window = WindowNamed(QLatin1String(row.window));
    if (!window)
        return std::nullopt;
    if (qstrcmp(row.window, row.control) == 0)
        return window->windowTitle();
    QObject* control = ControlOf(*window, QLatin1String(row.control));
    if (auto* menu = qobject_cast<QMenu*>(control))
        return menu->title();
    if (auto* action = qobject_cast<QAction*>(control))
        return action->text();
    if (auto* button = qobject_cast<QPushButton*>(control); button && button->property("caption").isValid())
        return button->property("caption").toString();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    return std::nullopt;
}

QString Where(const WalkRow& row)
{
    return QStringLiteral("%1.%2").arg(QLatin1String(row.window), QLatin1String(row.control));
}
}  // namespace

class LanguageWalkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<RecordingDialogs> dialogs;
    std::unique_ptr<FakeSystemCommands> system;
    std::unique_ptr<Program> program;

    QStringList Mismatches(bool spanish, const QMap<QString, QString>& englishAtStart)
    {
        QStringList wrong;
        for (const WalkRow& row : kWalk) {
            const std::optional<QString> caption = CaptionOf(row);
            if (!caption) {
                wrong << Where(row) + QStringLiteral(": no such control");
                continue;
            }
            const char* given = spanish ? row.spanish : row.english;
            const QString english = englishAtStart.value(Where(row));
            if (given) {
                if (*caption != QString::fromUtf8(given))
                    wrong << QStringLiteral("%1: \"%2\" instead of \"%3\"").arg(Where(row), *caption,
                                                                             QString::fromUtf8(given));
            } else if (caption->isEmpty()) {
                wrong << Where(row) + QStringLiteral(": no caption");
            } else if (!spanish && *caption != english) {
                wrong << QStringLiteral("%1: \"%2\" did not come back to \"%3\"").arg(Where(row), *caption, english);
            } else if (spanish && row.alike == Differs && *caption == english) {
                wrong << QStringLiteral("%1: \"%2\" left in English").arg(Where(row), *caption);
            }
        }
        return wrong;
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        QFile file(folder->File(QStringLiteral("config.cfg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("english\r\n");
        file.close();
        clock = std::make_unique<VirtualClock>();
        dialogs = std::make_unique<RecordingDialogs>();
        system = std::make_unique<FakeSystemCommands>();
        program = std::make_unique<Program>(*clock, *dialogs, *system, folder->Path());
        program->CreateWindows(false);
    }
    void cleanup()
    {
        program.reset();
        folder.reset();
    }

    void EveryCaptionFollowsBothLanguageCommands()
    {
        QMap<QString, QString> englishAtStart;
        for (const WalkRow& row : kWalk)
            englishAtStart[Where(row)] = CaptionOf(row).value_or(QString());
        QCOMPARE(Mismatches(false, englishAtStart).join(QLatin1Char('\n')), QString());

        program->VigiloForm->Spanish1->trigger();
        QCOMPARE(Mismatches(true, englishAtStart).join(QLatin1Char('\n')), QString());

        program->VigiloForm->English1->trigger();
        QCOMPARE(Mismatches(false, englishAtStart).join(QLatin1Char('\n')), QString());
    }

    void EveryWindowOfTheWalkExists()
    {
        QStringList missing;
        for (const WalkRow& row : kWalk)
            if (!WindowNamed(QLatin1String(row.window)) && !missing.contains(QLatin1String(row.window)))
                missing << QLatin1String(row.window);
        QCOMPARE(missing, QStringList());
    }
};

QTEST_MAIN(LanguageWalkTest)
#include "language_walk_test.moc"
