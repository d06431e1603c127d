// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/report_preview_window.h"

#include "platform/errors.h"
#include "platform/settings.h"
#include "platform/texts.h"
#include "platform/user_dialogs.h"
#include "reports/acquired_report.h"
#include "reports/qrp_file.h"
#include "reports/report_output.h"
#include "testpoints/table_layouts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The zoom of 100 %: the page at its real size on a 96-dpi screen.
constexpr double kScreenDpi = 96.0;
constexpr double kOpeningZoom = 110.0;

QToolButton* Tool(QWidget* parent, const char* name)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(false);
    return button;
}

Language Shown(const Settings& settings)
{
    const Language language = CurrentLanguage(settings);
    return language == Language::Other ? Language::English : language;
}
}  // namespace

TReportPreview::TReportPreview(Settings& settings, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_settings(settings), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TReportPreview"));
    ZoomFitBtn = Tool(this, "ZoomFitBtn");
    Zoom100Btn = Tool(this, "Zoom100Btn");
    ZoomWidthBtn = Tool(this, "ZoomWidthBtn");
    FirstPageBtn = Tool(this, "FirstPageBtn");
    PrevPageBtn = Tool(this, "PrevPageBtn");
    NextPageBtn = Tool(this, "NextPageBtn");
    LastPageBtn = Tool(this, "LastPageBtn");
    PageEdit = new QLineEdit(this);
    PageEdit->setObjectName(QStringLiteral("PageEdit"));
    PageEdit->setValidator(new QIntValidator(1, std::numeric_limits<int>::max(), PageEdit));
    PageEdit->setFixedWidth(PageEdit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    PageEdit->setAlignment(Qt::AlignRight);
    PageCountLabel = new QLabel(this);
    PageCountLabel->setObjectName(QStringLiteral("PageCountLabel"));
    PrinterSetupBtn = Tool(this, "PrinterSetupBtn");
    PrintBtn = Tool(this, "PrintBtn");
    SaveReportBtn = Tool(this, "SaveReportBtn");
    LoadReportBtn = Tool(this, "LoadReportBtn");
    ExportPdfBtn = Tool(this, "ExportPdfBtn");
    CloseBtn = Tool(this, "CloseBtn");

    PageArea = new QScrollArea(this);
    PageArea->setObjectName(QStringLiteral("PageArea"));
    PageArea->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PageArea->setBackgroundRole(QPalette::Dark);
    PageView = new QLabel;
    PageView->setObjectName(QStringLiteral("PageView"));
    PageView->setAlignment(Qt::AlignCenter);
    PageArea->setWidget(PageView);
    PageArea->setWidgetResizable(false);

    WorkProgress = new QProgressBar(this);
    WorkProgress->setObjectName(QStringLiteral("WorkProgress"));
    WorkProgress->setRange(0, 1000);
    CancelWorkBtn = new QPushButton(this);
    CancelWorkBtn->setObjectName(QStringLiteral("CancelWorkBtn"));

    auto* tools = new QHBoxLayout;
    tools->setSpacing(4);
    for (QWidget* w : std::initializer_list<QWidget*>{ZoomFitBtn, Zoom100Btn, ZoomWidthBtn})
        tools->addWidget(w);
    tools->addSpacing(16);
    for (QWidget* w : std::initializer_list<QWidget*>{FirstPageBtn, PrevPageBtn, PageEdit, PageCountLabel,
                                                      NextPageBtn, LastPageBtn})
        tools->addWidget(w);
    tools->addSpacing(16);
    for (QWidget* w : std::initializer_list<QWidget*>{PrinterSetupBtn, PrintBtn, SaveReportBtn, LoadReportBtn,
                                                      ExportPdfBtn})
        tools->addWidget(w);
    tools->addStretch(1);
    tools->addWidget(CloseBtn);
    auto* work = new QHBoxLayout;
    work->addWidget(WorkProgress, 1);
    work->addWidget(CancelWorkBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(PageArea, 1);
    layout->addLayout(work);
    WorkProgress->hide();
    CancelWorkBtn->hide();

    connect(ZoomFitBtn, &QToolButton::clicked, this, &TReportPreview::ZoomFitClick);
    connect(Zoom100Btn, &QToolButton::clicked, this, &TReportPreview::Zoom100Click);
    connect(ZoomWidthBtn, &QToolButton::clicked, this, &TReportPreview::ZoomWidthClick);
    connect(FirstPageBtn, &QToolButton::clicked, this, &TReportPreview::FirstPageClick);
    connect(PrevPageBtn, &QToolButton::clicked, this, &TReportPreview::PrevPageClick);
    connect(NextPageBtn, &QToolButton::clicked, this, &TReportPreview::NextPageClick);
    connect(LastPageBtn, &QToolButton::clicked, this, &TReportPreview::LastPageClick);
    connect(PageEdit, &QLineEdit::returnPressed, this, &TReportPreview::GoToPageReturn);
    connect(PrinterSetupBtn, &QToolButton::clicked, this, &TReportPreview::PrinterSetupClick);
    connect(PrintBtn, &QToolButton::clicked, this, &TReportPreview::PrintClick);
    connect(SaveReportBtn, &QToolButton::clicked, this, &TReportPreview::SaveReportClick);
    connect(LoadReportBtn, &QToolButton::clicked, this, &TReportPreview::LoadReportClick);
    connect(ExportPdfBtn, &QToolButton::clicked, this, &TReportPreview::ExportPdfClick);
    connect(CloseBtn, &QToolButton::clicked, this, &TReportPreview::CloseClick);
    connect(CancelWorkBtn, &QPushButton::clicked, this, &TReportPreview::CancelWorkClick);

    askPrint = [this](QPrinter& printer, PageRange& range, long long pageCount) {
        QPrintDialog dialog(&printer, this);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange);
        const int last = static_cast<int>(std::min<long long>(pageCount, std::numeric_limits<int>::max()));
        dialog.setMinMax(1, last);
        printer.setFromTo(1, last);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        if (printer.printRange() == QPrinter::PageRange) {
            range.first = printer.fromPage() - 1;
            range.last = printer.toPage() - 1;
        }
        return true;
    };
    askPrinterSetup = [this](QPrinter& printer) {
        QPageSetupDialog dialog(&printer, this);
        dialog.exec();
    };
    ApplyLanguage();
    UpdateControls();
}

TReportPreview::~TReportPreview() = default;

void TReportPreview::ApplyLanguage()
{
    const Language language = Shown(m_settings);
    setWindowTitle(texts::kPreviewCaption.In(language));
    const std::pair<QAbstractButton*, const Text*> captions[] = {
        {ZoomFitBtn, &texts::kZoomFit},           {Zoom100Btn, &texts::kZoom100},
        {ZoomWidthBtn, &texts::kZoomWidth},       {FirstPageBtn, &texts::kFirstPage},
        {PrevPageBtn, &texts::kPrevPage},         {NextPageBtn, &texts::kNextPage},
        {LastPageBtn, &texts::kLastPage},         {PrinterSetupBtn, &texts::kPrinterSetup},
        {PrintBtn, &texts::kPrint},               {SaveReportBtn, &texts::kSaveReport},
        {LoadReportBtn, &texts::kLoadReport},     {ExportPdfBtn, &texts::kExportPdf},
        {CloseBtn, &texts::kClosePreview},        {CancelWorkBtn, &texts::kCancelWork}};
    for (const auto& [button, text] : captions)
        button->setText(text->In(language));
}

void TReportPreview::ShowReport(std::shared_ptr<PreparedReport> report)
{
    m_report = std::move(report);
    m_page = 0;
    m_zoom = kOpeningZoom;
    m_fit = FitMode::None;
    ApplyLanguage();
    Redraw();
    UpdateControls();
}

void TReportPreview::UpdateControls()
{
    const bool has = m_report != nullptr;
    const long long pages = has ? m_report->PageCount() : 0;
    const bool idle = !m_working;
    for (QWidget* w : std::initializer_list<QWidget*>{ZoomFitBtn, Zoom100Btn, ZoomWidthBtn, PrintBtn, SaveReportBtn,
                                                      ExportPdfBtn, PageEdit})
        w->setEnabled(has && idle);
    FirstPageBtn->setEnabled(has && idle && m_page > 0);
    PrevPageBtn->setEnabled(has && idle && m_page > 0);
    NextPageBtn->setEnabled(has && idle && m_page + 1 < pages);
    LastPageBtn->setEnabled(has && idle && m_page + 1 < pages);
    LoadReportBtn->setEnabled(idle);
    PrinterSetupBtn->setEnabled(idle);
    PageEdit->setText(has ? QString::number(m_page + 1) : QString());
    PageCountLabel->setText(has ? texts::kPageOf.In(Shown(m_settings)).arg(pages) : QString());
}

void TReportPreview::Redraw()
{
    if (!m_report) {
        PageView->setPixmap(QPixmap());
        PageView->setText(texts::kNoReportShown.In(Shown(m_settings)));
        PageView->adjustSize();
        return;
    }
    const PageSetup& setup = m_report->Definition().page;
    const QSize viewport = PageArea->viewport()->size();
    // The fit modes follow the window's size; the margin keeps the page off the scroll bars.
    const double pageWidthAt100 = setup.PageWidth() / 25.4 * kScreenDpi;
    const double pageHeightAt100 = setup.PageHeight() / 25.4 * kScreenDpi;
    if (m_fit == FitMode::Width)
        m_zoom = std::max(10.0, (viewport.width() - 24) / pageWidthAt100 * 100.0);
    else if (m_fit == FitMode::Page)
        m_zoom = std::max(10.0, std::min((viewport.width() - 24) / pageWidthAt100,
                                         (viewport.height() - 24) / pageHeightAt100) * 100.0);
    QImage image;
    try {
        image = RenderPageImage(*m_report, m_page, kScreenDpi * m_zoom / 100.0);
    } catch (const VigiloError& error) {
        PageView->setPixmap(QPixmap());
        PageView->setText(error.Text());
        PageView->adjustSize();
        m_dialogs.ShowMessage(error.Text());
        return;
    }
    PageView->setPixmap(QPixmap::fromImage(image));
    PageView->resize(image.size());
}

void TReportPreview::ShowPage(long long page)
{
    if (!m_report)
        return;
    m_page = std::clamp(page, 0LL, m_report->PageCount() - 1);
    Redraw();
    PageArea->verticalScrollBar()->setValue(0);
    UpdateControls();
}

void TReportPreview::SetZoom(double percent, FitMode fit)
{
    m_zoom = percent;
    m_fit = fit;
    Redraw();
    UpdateControls();
}

void TReportPreview::ZoomFitClick() { SetZoom(m_zoom, FitMode::Page); }
void TReportPreview::Zoom100Click() { SetZoom(100.0, FitMode::None); }
void TReportPreview::ZoomWidthClick() { SetZoom(m_zoom, FitMode::Width); }
void TReportPreview::FirstPageClick() { ShowPage(0); }
void TReportPreview::PrevPageClick() { ShowPage(m_page - 1); }
void TReportPreview::NextPageClick() { ShowPage(m_page + 1); }
void TReportPreview::LastPageClick() { ShowPage(m_report ? m_report->PageCount() - 1 : 0); }

void TReportPreview::GoToPageReturn()
{
    bool ok = false;
    const long long page = PageEdit->text().toLongLong(&ok);
    if (ok)
        ShowPage(page - 1);
    else
        UpdateControls();
}

QPrinter& TReportPreview::Printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void TReportPreview::PrinterSetupClick()
{
    if (askPrinterSetup)
        askPrinterSetup(Printer());
}

bool TReportPreview::RunWithProgress(const std::function<OutputResult(const ReportProgress&)>& work)
{
    m_working = true;
    m_cancelRequested = false;
    WorkProgress->setValue(0);
    WorkProgress->show();
    CancelWorkBtn->show();
    UpdateControls();
    const ReportProgress progress = [this](long long done, long long total) {
        WorkProgress->setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 1000);
        // One thread: the Cancel button is clicked while the work pumps events.
        QCoreApplication::processEvents();
        return !m_cancelRequested;
    };
    OutputResult result = OutputResult::Cancelled;
    try {
        result = work(progress);
    } catch (const VigiloError& error) {
        m_dialogs.ShowMessage(error.Text());
    }
    m_working = false;
    WorkProgress->hide();
    CancelWorkBtn->hide();
    UpdateControls();
    return result == OutputResult::Done;
}

void TReportPreview::CancelWorkClick()
{
    m_cancelRequested = true;
}

void TReportPreview::PrintClick()
{
    if (!m_report || !askPrint)
        return;
    QPrinter& printer = Printer();
    PageRange range;
    if (!askPrint(printer, range, m_report->PageCount()))
        return;
    RunWithProgress([&](const ReportProgress& progress) { return PrintPages(*m_report, printer, range, progress); });
}

void TReportPreview::SaveReportClick()
{
    if (!m_report)
        return;
    const Language language = Shown(m_settings);
    FileDialogRequest request;
    request.title = texts::kSaveReport.In(language);
    request.filter = texts::kSavedReportFilter.In(language);
    request.defaultExtension = QStringLiteral("qrp");
    request.initialFolder = SaveReportsFolder();
    const QString path = m_dialogs.AskSaveFile(request);
    if (path.isEmpty())
        return;
    RunWithProgress([&](const ReportProgress& progress) { return SaveQrp(*m_report, path, language, progress); });
}

void TReportPreview::ExportPdfClick()
{
    if (!m_report)
        return;
    const Language language = Shown(m_settings);
    FileDialogRequest request;
    request.title = texts::kExportPdf.In(language);
    request.filter = texts::kPdfFilter.In(language);
    request.defaultExtension = QStringLiteral("pdf");
    request.initialFolder = SaveReportsFolder();
    const QString path = m_dialogs.AskSaveFile(request);
    if (path.isEmpty())
        return;
    RunWithProgress([&](const ReportProgress& progress) { return ExportPdf(*m_report, path, {}, progress); });
}

void TReportPreview::LoadReportClick()
{
    const Language language = Shown(m_settings);
    FileDialogRequest request;
    request.title = texts::kLoadReport.In(language);
    request.filter = texts::kSavedReportFilter.In(language);
    request.defaultExtension = QStringLiteral("qrp");
    request.initialFolder = SaveReportsFolder();
    const QString path = m_dialogs.AskOpenFile(request);
    if (!path.isEmpty())
        LoadReportFile(path);
}

bool TReportPreview::LoadReportFile(const QString& path)
{
    QString error;
    std::unique_ptr<PreparedReport> report = OpenQrp(path, Shown(m_settings), error);
    if (!report) {
        m_dialogs.ShowMessage(error);
        return false;
    }
    ShowReport(std::shared_ptr<PreparedReport>(std::move(report)));
    return true;
}

void TReportPreview::CloseClick()
{
    close();
}

void TReportPreview::closeEvent(QCloseEvent* event)
{
    if (m_working) {
        // Long work ends at its next page; the window closes after it.
        m_cancelRequested = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    emit closed();
}

void TReportPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_fit != FitMode::None)
        Redraw();
}

TReportPreview* OpenReportPreview(std::shared_ptr<PreparedReport> report, Settings& settings, UserDialogs& dialogs,
                                  QWidget* parent)
{
    auto* preview = new TReportPreview(settings, dialogs, parent);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->showMaximized();
    preview->ShowReport(std::move(report));
    return preview;
}

void InstallReportPreview(TAcquiredQReport& report, Settings& settings, UserDialogs& dialogs, QWidget* parent)
{
    report.showPreview = [&settings, &dialogs, parent](std::shared_ptr<PreparedReport> prepared,
                                                       std::function<void()> closed) {
        TReportPreview* preview = OpenReportPreview(std::move(prepared), settings, dialogs, parent);
        QObject::connect(preview, &TReportPreview::closed, preview, std::move(closed));
    };
}
