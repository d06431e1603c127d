// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

class Settings;
class UserDialogs;

// The station speaks English or Spanish. The current language is line 0 of
// the settings; a text is shown only when that line is exactly "english" or
// "spanish" (any other value shows nothing).
enum class Language { English, Spanish, Other };

Language CurrentLanguage(const Settings& settings);
QString LanguageWord(Language language);

// One text of the system in both languages (UTF-8 literals).
struct Text {
    const char* english;
    const char* spanish;

    QString In(Language language) const;  // empty for Other
    QString English() const { return QString::fromUtf8(english); }
};

// The text of the current language; nothing when line 0 is neither word.
std::optional<QString> Pick(const Settings& settings, const Text& text);

// Shows prefix + text + suffix in a message box when the language matches.
void ShowText(UserDialogs& dialogs, const Settings& settings, const Text& text,
              const QString& suffix = QString());

// The catalogue. One section per subsystem; captions of windows are in the
// section of their window, and a text that several windows show is in the
// shared section, once. A text with the same words in both languages is a
// text whose other branch was given that way.
namespace texts {

// ---- Shared by several windows ------------------------------------------------
// The four report kinds: menu items, toolbar buttons, operating mode boxes.
inline constexpr Text kMinMaxAvg{"Min/Max/Avg", "Mín/Máx/Med"};
inline constexpr Text kByTime{"by Time", "por Tiempo"};
inline constexpr Text kByTestPoint{"by Test Point", "por Punto de Test"};
inline constexpr Text kByAlarm{"by Alarm", "por Alarma"};
// Menu items and toolbar buttons of the same command.
inline constexpr Text kSaveTestPointSet{"Save Test Point Set", "Guardar Puntos de Test"};
inline constexpr Text kOpenTableReport{"Open Table Report", "Abrir Tabla de Informe"};
inline constexpr Text kOpenTestPointSet{"Open Test Point Set", "Abrir Puntos de Test"};
// The Config menu item and the title of the window it opens.
inline constexpr Text kOperating{"Operating", "Funcionamiento"};

// The company data and mail settings windows' buttons; the measure point caption
// of the company data window and of the alarm mails' body.
inline constexpr Text kMeasurePointLabel{"Measure Location :", "Punto de medida :"};
inline constexpr Text kBitBtnAcceptData{"&Accept", "&Accept"};
inline constexpr Text kBitBtn1{"&Cancel", "&Cancel"};

// ---- Application shell: messages -------------------------------------------
inline constexpr Text kUnableToOpenManual{"Unable to open file", "No se puede abrir el fichero"};
inline constexpr Text kUnableToSaveSettings{"Unable to save file ", "No se puede guarda fichero "};
inline constexpr Text kUnableToOpenSettings{"Unable to open file ", "Unable to open file "};  // English only
inline constexpr Text kSettingsCorrupted{" file corrupted", " file corrupted"};                // English only
inline constexpr Text kManualFile{"Manual_en.pdf", "Manual_sp.pdf"};

// ---- Status panel -----------------------------------------------------------
inline constexpr Text kStopped{"STOPPED", "DETENIDO"};
inline constexpr Text kSearchingCom{"SEARCHING COM", "BUSCANDO COM"};
inline constexpr Text kRunning{"RUNNING", "ADQUIRIENDO"};
inline constexpr Text kWaiting{"WAITING: ", "ESPERANDO: "};
inline constexpr Text kWaitingToRun{"WAITING TO RUN", "ESPERANDO"};

// ---- Main window: menu items -------------------------------------------------
inline constexpr Text kFile1{"File", "Archivo"};
inline constexpr Text kLoadReport1{"Open Report", "Abrir Informe"};
inline constexpr Text kReportViewer1{"Report Viewer", "Visor de Informes"};
inline constexpr Text kExit1{"Exit", "Salir"};
inline constexpr Text kModel{"Model", "Modelo"};
inline constexpr Text kEUStandard{"DVB", "DVB"};
inline constexpr Text kReports{"Report", "Informe"};
inline constexpr Text kNewReport{"New Table Report", "Nueva Tabla de Informe"};
inline constexpr Text kExporttocsv1{"Export to .csv", "Exportar a .csv"};
inline constexpr Text kTestPoints1{"Test Point", "Puntos de Test"};
inline constexpr Text kNewTestPoint{"New Test Point Set", "Nuevos Puntos de Test"};
inline constexpr Text kTPointConfig1{"Edit Test Points", "Configuración de Puntos de Test"};
inline constexpr Text kEditTPTable{"Edit Test Points Table", "Editar Tabla de Puntos de Test"};
inline constexpr Text kView1{"View", "Ver"};
inline constexpr Text kTestPoint1{"Test Points Table", "Tabla de Puntos de Test"};
inline constexpr Text kTableReport1{"Report Table", "Tabla de Informe"};
inline constexpr Text kOpenAddChFromExploration1{"Add Test Points From Exploration", "Puntos de Test desde Exploración"};
inline constexpr Text kConfig{"Config", "Configuración"};
inline constexpr Text kMail{"Mail", "Correo"};
inline constexpr Text kEMailConfig{"Data", "Datos"};
inline constexpr Text kTestSendMail{"Test Mailing", "Test de Envío"};
inline constexpr Text kDataReport1{"Data Report", "Datos del Informe"};
inline constexpr Text kOpenAlarms{"Alarm", "Alarmas"};
inline constexpr Text kShutdown1{"Shutdown", "Apagado"};
inline constexpr Text kLanguage1{"Language", "Idioma"};
inline constexpr Text kEnglish1{"English", "Inglés"};
inline constexpr Text kSpanish1{"Spanish", "Español"};
inline constexpr Text kHelp1{"Help", "Ayuda"};
inline constexpr Text kAbout1{"About...", "Acerca de"};

// ---- Main window: toolbar and status area -----------------------------------
inline constexpr Text kNewReportBtn{"New Table Report", "Nuevo Informe"};
inline constexpr Text kNewAcqButton{"New  Test Point Set", "Nuevos Puntos de Test"};
inline constexpr Text kSearchComBtn{"Search COM PORT", "Buscar Puerto COM"};
inline constexpr Text kLabel58{"Report Viewer", "Visor de Informe"};
inline constexpr Text kViewGroupedReportBtn{"by Test Point", "por Test Point"};
inline constexpr Text kLabel57{"Status Information", "INFORMACIÓN DE ESTADO"};
// Tooltips of the picture buttons and the status indicators.
inline constexpr Text kRunMeasureBtnTip{"Run", "Adquirir"};
inline constexpr Text kStopMeasureBtnTip{"Stop", "Detener"};
inline constexpr Text kAvisEstatAlarmaTip{"Alarm mailing", "Envío de alarmas por correo"};
inline constexpr Text kAvisTurnOFFTip{"Scheduled shutdown", "Apagado programado"};

// ---- Instrument link ---------------------------------------------------------
inline constexpr Text kAnalyserDetectedIn{" detected in ", " detectado en "};  // after the model name
inline constexpr Text kAnalyserNotDetected{"has not detected ORBIMETER", "ORBIMETER no detectado"};

// ---- Test point data ---------------------------------------------------------
// Table engine errors, in the current language (English while line 0 names
// none), shown by the general error handler.
inline constexpr Text kTableMissing{"Table does not exist: %1", "La tabla no existe: %1"};
inline constexpr Text kNotATable{"%1 is not a table of this station", "%1 no es una tabla de esta estación"};
inline constexpr Text kTableLocked{"Table is locked by another program: %1", "La tabla está bloqueada por otro programa: %1"};
inline constexpr Text kTableReadOnly{"Table is read only: %1", "La tabla es de solo lectura: %1"};
inline constexpr Text kFolderMissing{"Folder does not exist: %1", "La carpeta no existe: %1"};
inline constexpr Text kTableNotOpen{"Cannot perform this operation on a closed table", "No se puede realizar esta operación con la tabla cerrada"};
inline constexpr Text kTableStillOpen{"Cannot create table %1 while it is open", "No se puede crear la tabla %1 mientras está abierta"};
inline constexpr Text kFieldNotFound{"Field '%1' not found", "Campo '%1' no encontrado"};
inline constexpr Text kNotANumber{"'%1' is not a valid number for field '%2'", "'%1' no es un número válido para el campo '%2'"};
inline constexpr Text kFieldReadOnly{"Field '%1' cannot be modified", "El campo '%1' no se puede modificar"};
inline constexpr Text kFieldRequired{"Field '%1' must have a value", "El campo '%1' debe tener un valor"};
inline constexpr Text kNoCurrentRecord{"No current record", "No hay registro actual"};
inline constexpr Text kBadFilter{"Bad filter '%1': %2", "Filtro incorrecto '%1': %2"};
// What is wrong with a bad filter (the %2 above); positions count from 1.
inline constexpr Text kFilterFieldExpected{"field name expected at position %1", "se esperaba un nombre de campo en la posición %1"};
inline constexpr Text kFilterUnclosedField{"field name opened at position %1 is not closed", "el nombre de campo abierto en la posición %1 no está cerrado"};
inline constexpr Text kFilterComparisonExpected{"comparison expected at position %1", "se esperaba una comparación en la posición %1"};
inline constexpr Text kFilterValueExpected{"value expected at position %1", "se esperaba un valor en la posición %1"};
inline constexpr Text kFilterUnclosedText{"text opened at position %1 is not closed", "el texto abierto en la posición %1 no está cerrado"};
inline constexpr Text kFilterBadValue{"'%1' is neither a number nor a quoted text", "'%1' no es un número ni un texto entre comillas"};
inline constexpr Text kFilterJoinExpected{"'and' or 'or' expected at position %1", "se esperaba 'and' u 'or' en la posición %1"};
inline constexpr Text kUnknownDatabase{"Unknown database name: %1", "Nombre de base de datos desconocido: %1"};
inline constexpr Text kBadFieldDefinition{"Bad field definition '%1'", "Definición de campo incorrecta '%1'"};
inline constexpr Text kDuplicateField{"Duplicate field name '%1'", "Nombre de campo duplicado '%1'"};
inline constexpr Text kTableError{"Table error in %1: %2", "Error de tabla en %1: %2"};
inline constexpr Text kCannotDeleteFile{"Cannot delete file %1", "No se puede borrar el fichero %1"};
inline constexpr Text kTableHeldOpen{"The table %1 is open in the station and cannot be replaced.",
                                     "La tabla %1 está abierta en la estación y no se puede sustituir."};
inline constexpr Text kSaveAsCaption{"Save as", "Save as"};  // the prompt's caption in both languages
inline constexpr Text kTestPointSetModified{"The test point table has been modified, do you want to save change?",
                                            "La Tabla de Puntos de Test ha sido modificada, ¿quiere guardar los cambios?"};
inline constexpr Text kWorkingCopyReserved{"temp.db is the working copy of the test point set: choose another name",
                                           "temp.db es la copia de trabajo de los puntos de test: elija otro nombre"};
inline constexpr Text kParadoxFilter{"Paradox(*.db)", "Paradox(*.db)"};
// Reading semicolon-separated files (channel plan sources, test point import).
inline constexpr Text kCsvCannotRead{"Cannot read file %1", "No se puede leer el fichero %1"};
inline constexpr Text kCsvEmpty{"%1: no header line", "%1: falta la línea de cabecera"};
inline constexpr Text kCsvUnknownField{"line %1: unknown field '%2'", "línea %1: campo desconocido '%2'"};
inline constexpr Text kCsvDuplicateField{"line %1: field '%2' appears twice", "línea %1: el campo '%2' aparece dos veces"};
inline constexpr Text kCsvValueCount{"line %1: %2 values for %3 fields", "línea %1: %2 valores para %3 campos"};
inline constexpr Text kCsvNotANumber{"line %1, field '%2': '%3' is not a number", "línea %1, campo '%2': '%3' no es un número"};
inline constexpr Text kCsvTooLong{"line %1, field '%2': '%3' is longer than %4 characters",
                                  "línea %1, campo '%2': '%3' tiene más de %4 caracteres"};
inline constexpr Text kCsvNotAllowed{"line %1, field '%2': '%3' is not one of %4", "línea %1, campo '%2': '%3' no es uno de %4"};
inline constexpr Text kCannotCreateFile{"Cannot create file %1", "No se puede crear el fichero %1"};

// ---- Acquisition ---------------------------------------------------------------
// Run messages.
inline constexpr Text kTestPointTableEmpty{"Test Point Table empty", "Tabla de Puntos de Test vacía"};
inline constexpr Text kRunNoTestPointTable{"ERROR: has not been selected or created a table of acquisitions",
                                           "ERROR: no ha selecciona o creado una tabla de adquisiciones"};
inline constexpr Text kRunNoMeasurementsTable{"ERROR: has not been created a new table of Measurements",
                                              "ERROR: no ha creado una tabla de informes"};
// Operating mode window TOperMode.
inline constexpr Text kContinuous{"Continuous", "Contínuo"};
inline constexpr Text kCheckBoxBucleRepeticiones{"Loops", "Bucles"};
inline constexpr Text kContadorStartStop{"ON/OFF Cycle", "Ciclo ON/OFF"};
inline constexpr Text kOnly1TP{"Loop single test point", "Repite un punto de test"};
inline constexpr Text kOperLabel1{"Time between test points", "Tiempo entre puntos de test"};
inline constexpr Text kOperLabel2{"Time between loops", "Tiempo entre bucles"};
inline constexpr Text kOperLabel5{"Extra delay time for measurement", "Tiempo de espera adicional para la medida"};
inline constexpr Text kOperLabel55{"ON Time", "Tiempo ON"};
inline constexpr Text kOperLabel56{"OFF Time", "Tiempo OFF"};
inline constexpr Text kBtnStop{"STOP", "STOP"};
inline constexpr Text kReportsEverySeconds{"Send reports every", "Enviar informes cada"};
inline constexpr Text kCbAutoAlarm{"Autoconfiguration alarm", "Configuración automática de alarma"};

// ---- Alarms ----------------------------------------------------------------------
// Automatic alarm window TAutoAlarm.
// The language commands leave this window's title as it is.
inline constexpr Text kAutoAlarmTitle{"Auto Alarm", "Auto Alarm"};
inline constexpr Text kAutoAlarmLabel1{"ACTIVATED", "ACTIVADO"};
inline constexpr Text kAutoAlarmLabel2{"TOLERANCE", "TOLERANCIA"};
inline constexpr Text kCBoxLevel{"LEVEL", "NIVEL"};
inline constexpr Text kCBoxCN{"CN", "CN"};
inline constexpr Text kCBoxVA{"VA", "VA"};
inline constexpr Text kCBoxMER{"MER", "MER"};

// ---- Notification ----------------------------------------------------------------
inline constexpr Text kLabelFinishProcess{"End of Process", "Fín del Proceso"};

// ---- Test point editor, table editing and channel plans ----------------------
// Test point editor TTPointConf; its check messages have one wording in both
// languages and live with the rules.
inline constexpr Text kTPointConfTitle{"Edit Test Points", "Tabla Puntos de Test"};
inline constexpr Text kEditorEdit{"Edit", "Editar"};
inline constexpr Text kEditorInsert{"Insert", "Insertar"};
inline constexpr Text kEditorChannel{"Channel", "Canal"};
inline constexpr Text kEditorFreq{"Freq.", "Frec."};
inline constexpr Text kEditorSymbolRate{"Symb.Rate", "Vel.Símb."};
inline constexpr Text kEditorBand{"Band", "Banda"};
inline constexpr Text kEditorSystem{"System", "Sistema"};
inline constexpr Text kEditorType{"Type", "Señal"};
inline constexpr Text kEditorBW{"BW", "BW"};
inline constexpr Text kEditorModulation{"Modulation", "Modulación"};
inline constexpr Text kEditorCarriers{"Carriers", "Portadoras"};
inline constexpr Text kEditorCodeRate{"Code Rate", "Code Rate"};
inline constexpr Text kEditorInvSpect{"Inv.Spect.", "Inv.Espect."};
inline constexpr Text kEditorGuard{"G.Interval", "Guarda"};
inline constexpr Text kEditorLNB{"LNB", "LNB"};
inline constexpr Text kEditorLayer{"Layer", "Capa"};
// "TP Edition" window TTP_Edition.
inline constexpr Text kTPEditionTitle{"Test Point Edition", "Edición de Puntos de Test"};
inline constexpr Text kTPEditionLabel1{"CANALIZATIONS", "CANALIZACIONES"};
inline constexpr Text kTPEditionLabel2{"TEST POINT", "PUNTO DE TEST"};
inline constexpr Text kAddTERCH{"ADD TER CH", "AÑADIR CANAL TER"};
inline constexpr Text kAddSATCH{"ADD SAT CH", "AÑADIR CANAL SAT"};
inline constexpr Text kAddBLANKTP{"ADD BLANK TP", "AÑADIR TP VACÍO"};
inline constexpr Text kInsertBLANKTP{"INSERT BLANK TP", "INSERTAR TP VACÍO"};
inline constexpr Text kDelONETP{"DELETE ONE TP", "BORRAR UN TP"};
inline constexpr Text kDelALLTP{"DELETE ALL TP", "BORRAR TODOS LOS TP"};
inline constexpr Text kCopyTP{"COPY", "COPIAR"};
inline constexpr Text kCutTP{"CUT", "CORTAR"};
inline constexpr Text kPasteTP{"PASTE", "PEGAR"};
// Channel plan windows TTerChannelsForm and TSatChannelsForm.
inline constexpr Text kTerChannelsTitle{"Terrestrial Channels", "Canalizaciones Terrestre"};
inline constexpr Text kSatChannelsTitle{"Satellite Channels", "Canalizaciones Satélite"};
inline constexpr Text kCBAddAnalog{"Add Analog ", "Añadir Analógico "};
inline constexpr Text kAddAnalog{"Add Analog", "Añadir Analógico"};
inline constexpr Text kAddDVBC{"Add DVB-C", "Añadir DVB-C"};
inline constexpr Text kAddDVBT{"Add DVB-T/H", "Añadir DVB-T/H"};
inline constexpr Text kAddJ83{"Add J-83", "Añadir J-83"};
inline constexpr Text kAdd8VSB{"Add 8-VSB", "Añadir 8-VSB"};
inline constexpr Text kAddDVBT2{"Add DVB-T2", "Añadir DVB-T2"};
inline constexpr Text kAddDAB{"Add DAB", "Añadir DAB"};
inline constexpr Text kAddISDBT{"Add ISDBT", "Añadir ISDBT"};
inline constexpr Text kAddDTMB{"Add DTMB", "Añadir DTMB"};
inline constexpr Text kAddSatChannel{"Add Channel", "Añadir Canal"};
inline constexpr Text kSelectTheSystem{"Select the system", "Seleccione el sistema"};

// ---- Exploration import ----------------------------------------------------------
// Window TRepCanals: its title keeps its text in both languages.
inline constexpr Text kRepCanalsTitle{"ADD TEST POINT FROM EXPLORATION", "ADD TEST POINT FROM EXPLORATION"};
inline constexpr Text kAskChan{"Receive Exploration", "Recibir Exploración"};
inline constexpr Text kLabel54Wait{"  wait...", "espera..."};
inline constexpr Text kLabel50ChannelsList{"Channels List", "Lista de Canales"};
inline constexpr Text kLabel47LowOsc{"Low Osc.", "Osc. Bajo"};
inline constexpr Text kLabel48HighOsc{"High Osc.", "Osc. Alto"};
inline constexpr Text kReceiveCha{"Add Channels", "Añadir Canales"};
inline constexpr Text kChannelsCANCEL{"CANCEL", "CANCELAR"};
// Messages of the transfer.
inline constexpr Text kChannelsNotAvailable{"Channels are not available", "Canalizaciones no disponibles"};
inline constexpr Text kCompletedAcquisitions{"Completed acquisitions", "Adquisición completada"};
inline constexpr Text kProcessFailure{"Process failure: repeat acquisition", "Fallo del proceso: repetir adquisición"};
inline constexpr Text kInsertedChannels{"Inserted channels", "Canales insertados"};
// A block that ended inside a record: the channels before it were inserted.
inline constexpr Text kInsertedChannelsCutShort{"Inserted channels: %1 of %2, the exploration ended early",
                                                "Canales insertados: %1 de %2, la exploración terminó antes"};
inline constexpr Text kOscillatorNotANumber{"'%1' is not a valid integer value", "'%1' no es un valor entero válido"};

// ---- Alarm thresholds window and alarm evaluation ----------------------------------
// Alarm thresholds window TFormAlarms.
inline constexpr Text kFormAlarmsTitle{"Alarm Configuration", "Configuración de Alarmas"};
inline constexpr Text kAlarmSwitchLabel{"ALARM", "ALARMA"};                 // Label8
inline constexpr Text kAlarmIndexLabel{"Test Point", "Punto de Test"};     // Label33
inline constexpr Text kAlarmMinimum{"Minimum", "Mínimo"};                  // Label14, Label16
inline constexpr Text kAlarmMaximum{"Maximum", "Máximo"};                  // Label15, Label17
inline constexpr Text kAlarmLevelLabel{"Level (dBµV)", "Nivel (dBµV)"};    // Label10
inline constexpr Text kAlarmMerLabel{"MER (dB)", "MER (dB)"};              // Label11
inline constexpr Text kAlarmCnLabel{"C/N (dB)", "C/N (dB)"};               // Label12
inline constexpr Text kAlarmVaLabel{"V/A (dB)", "V/A (dB)"};               // Label13
inline constexpr Text kAlarmCberLabel{"CBER", "CBER"};                     // Label19
inline constexpr Text kAlarmVberLabel{"VBER", "VBER"};                     // Label18
inline constexpr Text kAlarmLberLabel{"LBER", "LBER"};                     // Label32
inline constexpr Text kSendAlarm{"Mailing", "Envío de correo"};
inline constexpr Text kAlarmInsert{"Insert >>", "Insertar >>"};
// First line of every alarm mail: the company data window's measure point
// label, followed by the measure point.

// ---- Report page, company data and preview ---------------------------------------
// Report header captions, set each time a report is built.
inline constexpr Text kQRLabel3{"REPORTING OF MEASURES", "INFORME DE MEDIDAS"};
inline constexpr Text kQRLabel2{"DATA COMPANY:", "DATOS DE LA COMPAÑÍA:"};
inline constexpr Text kQRLabel22{"DATA MEASURES:", "DATOS DE LAS MEDIDAS:"};
inline constexpr Text kQRLabelName{"Name:", "Nombre:"};
inline constexpr Text kQRLabelAddress{"Address:", "Dirección:"};
inline constexpr Text kQRLabelCP{"Postcode:", "Cód.Postal:"};
inline constexpr Text kQRLabelTown{"Town:", "Ciudad:"};
inline constexpr Text kQRLabelProvince{"Province:", "Provincia:"};
inline constexpr Text kQRLabelCountry{"Country:", "País:"};
inline constexpr Text kQRLabel30{"Telephone:", "Teléfono:"};
inline constexpr Text kQRLabelFax{"Fax:", "Fax:"};
inline constexpr Text kQRLabelMail{"Mail:", "Correo:"};
inline constexpr Text kQRLabelWeb{"Web:", "Web:"};
inline constexpr Text kQRLabel15{"Equipment Model:", "Modelo:"};
inline constexpr Text kQRLabel16{"Serial Number:", "Número de serie:"};
inline constexpr Text kQRLabel17{"Start Time:", "Hora inicio:"};
inline constexpr Text kQRLabel18{"End Time:", "Hora final:"};
inline constexpr Text kQRLabel20{"Report Number:", "Número de informe:"};
inline constexpr Text kQRLabel21{"Start Data:", "Fecha inicio:"};
inline constexpr Text kQRLabel27{"End Data:", "Fecha final:"};
inline constexpr Text kQRLabel19{"Technician´s Name:", "Nombre del técnico:"};
inline constexpr Text kQRLabel24{"Report Type:", "Tipo de informe:"};
inline constexpr Text kQRLabel25{"Measure Point:", "Punto de medida:"};
inline constexpr Text kQRLabel5{"FREQ", "FREC"};
inline constexpr Text kQRLabel6{"TYPE", "TIPO"};
inline constexpr Text kQRLabel14{"HOUR", "HORA"};
inline constexpr Text kQRLabel28{"DATE", "FECHA"};
// Company data window.
inline constexpr Text kCompanyLabel1{"Name :", "Nombre :"};
inline constexpr Text kCompanyLabel2{"Address :", "Dirección :"};
inline constexpr Text kCompanyLabel3{"Postcode :", "Código Postal :"};
inline constexpr Text kCompanyLabel4{"City :", "Ciudad :"};
inline constexpr Text kCompanyLabel5{"Province :", "Provincia :"};
inline constexpr Text kCompanyLabel6{"Country :", "País :"};
inline constexpr Text kCompanyLabel15{"Telephone :", "Teléfono :"};
inline constexpr Text kCompanyLabel7{"Fax :", "Fax :"};
inline constexpr Text kCompanyLabel8{"E-Mail :", "Correo :"};
inline constexpr Text kCompanyLabel9{"Website :", "Página Web :"};
inline constexpr Text kCompanyLabel10{"Company's Data:", "Datos de la empresa:"};
inline constexpr Text kCompanyLabel11{"Technician´s Data:", "Datos del técnico:"};
inline constexpr Text kCompanyLabel12{"Technician´s Name :", "Nombre del técnico :"};
inline constexpr Text kCompanyLabel13{"Report´s Data :", "Datos del informe :"};
inline constexpr Text kCompanyLabel14{"Report Number :", "Número de informe :"};
inline constexpr Text kCompanyLabel16{"Test Equipment Data:", "Datos del medidor:"};
inline constexpr Text kCompanyLabel17{"Serial Number :", "Número de serie :"};
// Report preview.
inline constexpr Text kPreviewCaption{"Report Preview", "Vista Previa del Informe"};
inline constexpr Text kZoomFit{"Fit", "Ajustar"};
inline constexpr Text kZoom100{"100 %", "100 %"};
inline constexpr Text kZoomWidth{"Width", "Ancho"};
inline constexpr Text kFirstPage{"First", "Primera"};
inline constexpr Text kPrevPage{"Previous", "Anterior"};
inline constexpr Text kNextPage{"Next", "Siguiente"};
inline constexpr Text kLastPage{"Last", "Última"};
inline constexpr Text kPageOf{"of %1", "de %1"};
inline constexpr Text kPrinterSetup{"Printer Setup", "Configurar Impresora"};
inline constexpr Text kPrint{"Print", "Imprimir"};
inline constexpr Text kSaveReport{"Save Report", "Guardar Informe"};
inline constexpr Text kLoadReport{"Load Report", "Cargar Informe"};
inline constexpr Text kExportPdf{"Export PDF", "Exportar PDF"};
inline constexpr Text kClosePreview{"Close", "Cerrar"};
inline constexpr Text kCancelWork{"Cancel", "Cancelar"};
inline constexpr Text kNoReportShown{"No report: load a saved report.", "Sin informe: cargue un informe guardado."};
inline constexpr Text kSavedReportFilter{"Saved reports (*.qrp)", "Informes guardados (*.qrp)"};
inline constexpr Text kPdfFilter{"PDF files (*.pdf)", "Ficheros PDF (*.pdf)"};
// Saved reports: why a file is refused or cannot be written (%1 the file).
inline constexpr Text kQrpCannotOpen{"Unable to open report file %1", "No se puede abrir el fichero de informe %1"};
inline constexpr Text kQrpForeign{"%1 is not a saved report", "%1 no es un informe guardado"};
inline constexpr Text kQrpVersion{"%1 is a saved report of a version this program cannot read",
                                  "%1 es un informe guardado de una versión que este programa no puede leer"};
inline constexpr Text kQrpDamaged{"The saved report %1 is damaged or incomplete",
                                  "El informe guardado %1 está dañado o incompleto"};
inline constexpr Text kQrpPageDamaged{"Page %2 of the saved report %1 is damaged",
                                      "La página %2 del informe guardado %1 está dañada"};
inline constexpr Text kQrpCannotWrite{"Unable to save report file %1", "No se puede guardar el fichero de informe %1"};
inline constexpr Text kReportTableReplaced{"The table %1 was replaced after the report was prepared",
                                          "La tabla %1 se reemplazó después de preparar el informe"};
inline constexpr Text kPdfCannotWrite{"Unable to save PDF file %1", "No se puede guardar el fichero PDF %1"};

// ---- Report data, CSV export and the report table ---------------------------------
inline constexpr Text kReportTablesMismatch{"The report table and test points do not match",
                                            "La tabla de informe y puntos de test no coinciden"};
inline constexpr Text kMinimumAcquisitionsMissing{"Not completed minium acquisitions",
                                                  "Adquisiciones mínimas no completadas"};
inline constexpr Text kNoReportTable{"Error: no report table", "Error: no existe tabla de informes"};
inline constexpr Text kCsvFilter{"Text(*.csv)", "Text(*.csv)"};

// ---- Mail: settings window and delivery -------------------------------------------
// Results of a sending. The error's kind and text follow "Exception class: "
// and "\nMessage: " in both languages.
inline constexpr Text kMessageSent{"Message sent", "Mensaje enviado"};
inline constexpr Text kMailExceptionClass{"Exception class: ", "Exception class: "};
inline constexpr Text kMailExceptionMessage{"\nMessage: ", "\nMessage: "};
inline constexpr Text kUnableToSendMessage{"Error: Unable to send the message", "Error: No se puede enviar el mensaje"};
// Subjects: the same words whatever the language.
inline constexpr Text kReportMailSubject{"Report of measures of the Vigilo", "Report of measures of the Vigilo"};
inline constexpr Text kTestMailSubject{"Test message from Vigilo", "Test message from Vigilo"};
// Mail settings window TConfigMails. The language commands leave its title,
// buttons, authentication entries and hints as they are.
inline constexpr Text kConfigMailsTitle{"Email", "Email"};
inline constexpr Text kConfigMailsLabel10{"Email Data :", "Datos de Correo :"};
inline constexpr Text kConfigMailsLabel6{"Sending Mail :", "Envío de Correo :"};
inline constexpr Text kSinGestorMail{"Do not use my email client", "No usar mi cliente de correo electrónico"};
inline constexpr Text kConGestorMail{"Use my email client", "Usar mi cliente de correo electrónico"};
inline constexpr Text kFRAddLabel{"From Address :", "Dirección del Remitente :"};
inline constexpr Text kUsNameLabel{"Username :", "Usuario :"};
inline constexpr Text kPassLabel{"Password :", "Contraseña :"};
inline constexpr Text kHostLabel{"Host :", "Servidor :"};
inline constexpr Text kAuthTypeLabel{"Authentication Type :", "Tipo de Autenticación :"};
inline constexpr Text kLabelDestinyAddress{"First Recipient :", "Primer Destinatario :"};
inline constexpr Text kLabelDestiny2Address{"Second Recipient :", "Segundo Destinatario :"};
inline constexpr Text kLabelDestiny3Address{"Third Recipient :", "Tercer Destinatario :"};
inline constexpr Text kMailActivate{"Activate", "Activar"};
inline constexpr Text kFromAddressHint{"e.g.: station@example.org", "e.g.: station@example.org"};
inline constexpr Text kUsernameHint{"e.g.: station", "e.g.: station"};
inline constexpr Text kPasswordHint{"e.g.: s3cret", "e.g.: s3cret"};
inline constexpr Text kHostHint{"e.g.: smtp.example.org or smtp.example.org:587", "e.g.: smtp.example.org or smtp.example.org:587"};
inline constexpr Text kDestinyAddressHint{"e.g.: operator@example.org", "e.g.: operator@example.org"};

// ---- Scheduled stop, shutdown and periodic reports --------------------------------
// Shutdown window TShutDown (its title is the Config menu item's text).
inline constexpr const Text& kCheckActiveProg = kMailActivate;
inline constexpr Text kShutdownLabel26{"Date / Time", "Fecha / Hora"};
inline constexpr Text kCheckPCoff{"PC Shutdown", "Apagar el PC"};
inline constexpr Text kShutdownLabel41{"Send by Mail ->", "Enviar por Correo ->"};

// ---- Reliability: the link that recovers, bad table files ---------------------------
// Status panel while a run goes on without its instrument: the device went
// away and is tried again before every visit.
inline constexpr Text kAnalyserLost{"ANALYSER LOST", "ANALIZADOR PERDIDO"};
inline constexpr Text kGpsLost{"GPS RECEIVER LOST", "RECEPTOR GPS PERDIDO"};
// Table files that cannot be used as they are; nothing was changed.
inline constexpr Text kTableLacksFields{"The table %1 lacks the fields: %2", "A la tabla %1 le faltan los campos: %2"};
inline constexpr Text kTableDamaged{"The table %1 is damaged (cut short or overwritten)",
                                    "La tabla %1 está dañada (cortada o sobrescrita)"};
// A row could not be written: the run stops, the rows stored before stay.
inline constexpr Text kDiskFull{"The disk is full: %1 cannot grow", "El disco está lleno: %1 no puede crecer"};

// ---- GPS ---------------------------------------------------------------------------
inline constexpr Text kGpsCaption{"GPS", "GPS"};
inline constexpr Text kGpsComPortLabel{"GPS COM Port", "Puerto COM del GPS"};
inline constexpr Text kGpsBaudRateLabel{"Baud Rate", "Baud Rate"};
inline constexpr Text kActiveGPS{"Enable the GPS reception", "Activar la recepción GPS"};
inline constexpr Text kFindGPS{"Search signal", "Buscar señal"};
inline constexpr Text kCancelFindGPS{"Cancel", "CANCEL"};
inline constexpr Text kLookingForGpsSignal{"looking for gps signal", "Buscando señal GPS"};
inline constexpr Text kGpsSignalCaptured{"GPS signal captured", "señal GPS enganchada"};
inline constexpr Text kUnableToOpenPort{"Unable to open port", "No se puede abrir el puerto"};

}  // namespace texts
