// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/prepared_report.h"

#include <QWidget>
#include <QImage>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QToolButton;
class QPrinter;
class Settings;
class UserDialogs;

// The preview of a prepared report: opened maximised and kept on top at
// 110 %, one page drawn at a time as it is looked at. It prints, saves,
// loads and exports; long work shows a progress bar with Cancel. Closing it
// emits `closed` (the report form's after-preview event hangs there).
class TReportPreview : public QWidget {
    Q_OBJECT

public:
    TReportPreview(Settings& settings, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TReportPreview() override;

    // Shows `report` from its first page at 110 %, or an empty preview from
    // which a saved report is loaded.
    void ShowReport(std::shared_ptr<PreparedReport> report);
    std::shared_ptr<PreparedReport> Report() const { return m_report; }

    // 0-based page shown, and the zoom in percent.
    long long CurrentPage() const { return m_page; }
    double Zoom() const { return m_zoom; }

    // The commands, as their buttons run them.
    void ZoomFitClick();
    void Zoom100Click();
    void ZoomWidthClick();
    void FirstPageClick();
    void PrevPageClick();
    void NextPageClick();
    void LastPageClick();
    void GoToPageReturn();  // the page number typed in PageEdit
    void PrinterSetupClick();
    void PrintClick();
    void SaveReportClick();
    void LoadReportClick();
    void ExportPdfClick();
    void CloseClick();
    void CancelWorkClick();

    // Opens a saved report from `path` (the file dialog's choice); a refused
    // file is reported and the shown report stays.
    bool LoadReportFile(const QString& path);

    // The printer dialogs, replaceable by tests: print asks for the pages
    // (all or a range, 0-based) and false cancels; set-up edits the printer.
    std::function<bool(QPrinter& printer, PageRange& range, long long pageCount)> askPrint;
    std::function<void(QPrinter& printer)> askPrinterSetup;

    QToolButton* ZoomFitBtn;
    QToolButton* Zoom100Btn;
    QToolButton* ZoomWidthBtn;
    QToolButton* FirstPageBtn;
    QToolButton* PrevPageBtn;
    QToolButton* NextPageBtn;
    QToolButton* LastPageBtn;
    QLineEdit* PageEdit;
    QLabel* PageCountLabel;
    QToolButton* PrinterSetupBtn;
    QToolButton* PrintBtn;
    QToolButton* SaveReportBtn;
    QToolButton* LoadReportBtn;
    QToolButton* ExportPdfBtn;
    QToolButton* CloseBtn;
    QScrollArea* PageArea;
    QLabel* PageView;
    QProgressBar* WorkProgress;
    QPushButton* CancelWorkBtn;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class FitMode { None, Page, Width };
    void ApplyLanguage();
    void ShowPage(long long page);
    void Redraw();
    void SetZoom(double percent, FitMode fit);
    void UpdateControls();
    // Runs long work with the progress bar and Cancel; false when cancelled.
    bool RunWithProgress(const std::function<OutputResult(const ReportProgress&)>& work);

    Settings& m_settings;
    UserDialogs& m_dialogs;
    std::shared_ptr<PreparedReport> m_report;
    long long m_page = 0;
    double m_zoom = 110.0;
    FitMode m_fit = FitMode::None;
    bool m_cancelRequested = false;
    bool m_working = false;
    QPrinter& Printer();

    std::unique_ptr<QPrinter> m_printer;
};

class TAcquiredQReport;

// Opens a preview window of its own for `report` (null: the empty preview of
// TLoadReport), maximised and on top; it deletes itself once closed.
TReportPreview* OpenReportPreview(std::shared_ptr<PreparedReport> report, Settings& settings, UserDialogs& dialogs,
                                  QWidget* parent = nullptr);

// Makes the report form's Preview open the preview window, with its
// after-preview event when the window closes.
void InstallReportPreview(TAcquiredQReport& report, Settings& settings, UserDialogs& dialogs, QWidget* parent);
