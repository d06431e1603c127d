// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/prepared_report.h"
#include "reports/report_definition.h"

#include <QObject>
#include <functional>
#include <memory>

class ReportMailSwitches;
class Settings;
class UserDialogs;
enum class Language;

// The report page of the four Measurements reports: A4 landscape with the
// company and measures header, the column titles and one row per record.
// One for the program's life; the report commands bind it, set its texts and
// preview or save it. Labels and fields are reached by their names
// ("QRLabelName1", "QRDBTextFreq", ...).
class TAcquiredQReport : public QObject {
    Q_OBJECT

public:
    // The value every header value shows until its source sets it.
    static QString NoData() { return QStringLiteral("<NO DATA>"); }

    // The mail switches drive the saving rule after a preview.
    explicit TAcquiredQReport(const ReportMailSwitches& switches);
    ~TAcquiredQReport() override;

    // ---- The definition at run time ---------------------------------------------
    // Label captions by name; an unknown name raises VigiloError.
    QString LabelText(const QString& name) const;
    void SetLabelText(const QString& name, const QString& text);

    // The table file whose records are the rows (the Measurements table, the
    // Filter table); every field not bound elsewhere reads it.
    void SetTable(const QString& tableFile);
    QString Table() const;
    // Binds a row field (by its name, e.g. "QRDBTextLatitude") to a table
    // file of its own, or back to the report's table with an empty one.
    void BindField(const QString& name, const QString& tableFile);
    // A disabled field prints nothing; its column title still prints.
    void SetFieldEnabled(const QString& name, bool enabled);
    bool FieldEnabled(const QString& name) const;
    // The names of the row fields, in column order, and the table field each reads.
    QStringList FieldNames() const;
    QString DataFieldOf(const QString& name) const;

    // Sets the captions of the header, its column titles included, in
    // `language`; with Other they keep their texts.
    void SetHeaderCaptions(Language language);
    // The model the port search found, for the equipment model value.
    void SetModelName(const QString& model);

    const ReportDefinition& Definition() const { return m_definition; }

    // ---- Preparing, saving, printing ----------------------------------------------
    // Freezes the current texts and bindings and counts the rows; becomes the
    // last preparation. Raises VigiloError for a missing table or field.
    std::shared_ptr<PreparedReport> Prepare();
    // The last preparation, or null.
    std::shared_ptr<PreparedReport> LastPrepared() const { return m_prepared; }
    // Saves the last preparation (preparing first when there is none) as a
    // ".qrp" at `path`, replacing an existing file. Raises VigiloError.
    OutputResult SaveReport(const QString& path, Language language, const ReportProgress& progress = {});
    // Exports the last preparation (preparing first when there is none) to PDF.
    OutputResult ExportPdf(const QString& path, const ReportProgress& progress = {});

    // ---- Preview --------------------------------------------------------------------
    // Prepares and opens the preview window. Without windows (headless
    // tools, core tests) it only prepares. When the preview window closes,
    // QuickRepAfterPreview runs, then afterPreview is emitted.
    void Preview();
    // Set by the windows: shows a prepared report and calls `closed` once
    // its window has closed.
    std::function<void(std::shared_ptr<PreparedReport> report, std::function<void()> closed)> showPreview;

    // After the preview closed: saves the last preparation as
    // <save folder>/<report number>.qrp when the report type shown is one of
    // "Min/Max/Avg", "by Time", "by Alarm", "by Test Point" whose mail switch
    // is on. A failure raises VigiloError in the current language.
    void QuickRepAfterPreview();

    // The language of messages (the station follows settings line 0;
    // English when unset) and the folder of saved reports (Database/SaveReports).
    std::function<Language()> currentLanguage;
    std::function<QString()> saveFolder;

signals:
    void afterPreview();

private:
    Language MessageLanguage() const;

    const ReportMailSwitches& m_switches;
    ReportDefinition m_definition;
    std::shared_ptr<PreparedReport> m_prepared;
};

// The empty report whose only use is to open the preview, from which the
// user loads a saved report: A4 portrait, 10 mm margins, no bands.
ReportDefinition TLoadReport();
