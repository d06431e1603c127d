// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings.h"
#include "platform/texts.h"
#include "reports/acquired_report.h"
#include "reports/qrp_file.h"
#include "reports/report_preview_window.h"
#include "support/recording_dialogs.h"
#include "support/temp_folder.h"
#include "unit/reports/report_tables.h"
#include "workspace/report_kind.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

// The preview window over a 75-row "by Time" report: 4 pages (10, 24, 24, 17 rows).
class ReportPreviewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<Settings> settings;
    RecordingDialogs dialogs;
    ReportMailSwitches switches;
    std::unique_ptr<TAcquiredQReport> report;
    std::unique_ptr<TReportPreview> preview;

    QString PageOneFirstRow() const
    {
        return preview->Report()->ReadPage(preview->CurrentPage()).rows.at(0).join(QLatin1Char('|'));
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        settings = std::make_unique<Settings>(folder->Path());
        settings->Replace(0, QStringLiteral("english"));
        const QString table = folder->File(QStringLiteral("m.db"));
        WriteMeasurements(table, 75);
        report = std::make_unique<TAcquiredQReport>(switches);
        report->SetTable(table);
        report->SetFieldEnabled(QStringLiteral("QRDBTextReference"), false);
        preview = std::make_unique<TReportPreview>(*settings, dialogs);
        preview->resize(1200, 900);
        preview->show();
        preview->ShowReport(report->Prepare());
        dialogs = RecordingDialogs();
    }

    void cleanup()
    {
        preview.reset();
        report.reset();
        settings.reset();
        folder.reset();
    }

    void OpensAtTheFirstPageAt110Percent()
    {
        QCOMPARE(preview->CurrentPage(), 0LL);
        QCOMPARE(preview->Zoom(), 110.0);
        QCOMPARE(preview->PageEdit->text(), QStringLiteral("1"));
        QCOMPARE(preview->PageCountLabel->text(), QStringLiteral("of 4"));
        // 297 mm at 96 dpi and 110 %.
        QCOMPARE(preview->PageView->pixmap().width(), qRound(297.0 / 25.4 * 96.0 * 1.1));
        QVERIFY(!preview->FirstPageBtn->isEnabled());
        QVERIFY(!preview->PrevPageBtn->isEnabled());
        QVERIFY(preview->NextPageBtn->isEnabled());
    }

    void NavigationMovesThroughThePages_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<long long>("page");
        QTest::newRow("next") << QStringList{"NextPageBtn"} << 1LL;
        QTest::newRow("last") << QStringList{"LastPageBtn"} << 3LL;
        QTest::newRow("last, previous") << QStringList{"LastPageBtn", "PrevPageBtn"} << 2LL;
        QTest::newRow("last, first") << QStringList{"LastPageBtn", "FirstPageBtn"} << 0LL;
        QTest::newRow("next at the end stays") << QStringList{"LastPageBtn", "NextPageBtn"} << 3LL;
    }
    void NavigationMovesThroughThePages()
    {
        QFETCH(QStringList, clicks);
        QFETCH(long long, page);
        for (const QString& name : clicks)
            preview->findChild<QToolButton*>(name)->click();
        QCOMPARE(preview->CurrentPage(), page);
        QCOMPARE(preview->PageEdit->text(), QString::number(page + 1));
        QCOMPARE(preview->NextPageBtn->isEnabled(), page < 3);
        QCOMPARE(preview->PrevPageBtn->isEnabled(), page > 0);
        // The page shown is the page read: its first row is row 10 + 24 (page - 1).
        const long long firstRow = page == 0 ? 0 : 10 + 24 * (page - 1);
        QVERIFY(PageOneFirstRow().startsWith(QStringLiteral("C%1|").arg(firstRow)));
    }

    void GoToPageTakesTheTypedNumberWithinTheReport_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<long long>("page");
        QTest::newRow("third") << "3" << 2LL;
        QTest::newRow("beyond the end") << "99" << 3LL;
    }
    void GoToPageTakesTheTypedNumberWithinTheReport()
    {
        QFETCH(QString, typed);
        QFETCH(long long, page);
        preview->PageEdit->setText(typed);
        QTest::keyClick(preview->PageEdit, Qt::Key_Return);
        QCOMPARE(preview->CurrentPage(), page);
        QCOMPARE(preview->PageEdit->text(), QString::number(page + 1));
    }

    void ZoomCommandsSizeThePage()
    {
        preview->Zoom100Btn->click();
        QCOMPARE(preview->Zoom(), 100.0);
        QCOMPARE(preview->PageView->pixmap().width(), qRound(297.0 / 25.4 * 96.0));
        const QSize viewport = preview->PageArea->viewport()->size();
        preview->ZoomWidthBtn->click();
        QVERIFY(qAbs(preview->PageView->pixmap().width() - (viewport.width() - 24)) <= 2);
        preview->ZoomFitBtn->click();
        const QSize fitted = preview->PageView->pixmap().size();
        QVERIFY(fitted.width() <= viewport.width() && fitted.height() <= viewport.height());
        QVERIFY(fitted.width() >= viewport.width() - 30 || fitted.height() >= viewport.height() - 30);
    }

    void SaveThenLoadShowsTheSameReport()
    {
        const QString path = folder->File(QStringLiteral("saved.qrp"));
        dialogs.saveAnswers.push_back(path);
        preview->SaveReportBtn->click();
        QVERIFY(QFile::exists(path));
        QCOMPARE(dialogs.saveRequests.at(0).defaultExtension, QStringLiteral("qrp"));
        QVERIFY(!preview->WorkProgress->isVisible());

        TReportPreview empty(*settings, dialogs);
        empty.ShowReport(nullptr);
        QVERIFY(!empty.NextPageBtn->isEnabled());
        QVERIFY(!empty.PrintBtn->isEnabled());
        QVERIFY(empty.LoadReportBtn->isEnabled());
        dialogs.openAnswers.push_back(path);
        empty.LoadReportBtn->click();
        QVERIFY(empty.Report());
        QCOMPARE(empty.Report()->PageCount(), 4LL);
        empty.LastPageBtn->click();
        QCOMPARE(empty.Report()->ReadPage(3), preview->Report()->ReadPage(3));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void RefusedFileIsReportedAndTheShownReportStays()
    {
        const QString path = folder->File(QStringLiteral("bad.qrp"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a report");
        file.close();
        const auto shown = preview->Report();
        dialogs.openAnswers.push_back(path);
        preview->LoadReportBtn->click();
        QCOMPARE(dialogs.messages, QStringList{texts::kQrpForeign.English().arg(QDir::toNativeSeparators(path))});
        QCOMPARE(preview->Report(), shown);
    }

    void PrintsTheChosenRange()
    {
        const QString pdf = folder->File(QStringLiteral("printed.pdf"));
        preview->askPrint = [&pdf](QPrinter& printer, PageRange& range, long long pageCount) {
            [&] { QCOMPARE(pageCount, 4LL); }();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            range = PageRange{1, 2};
            return true;
        };
        preview->PrintBtn->click();
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+2\\n")));
    }

    void CancelStopsLongWorkAndKeepsNoHalfFile()
    {
        const QString path = folder->File(QStringLiteral("cancelled.qrp"));
        dialogs.saveAnswers.push_back(path);
        // Cancel is clicked while the work runs: the work pumps events between pages.
        QTimer::singleShot(0, preview.get(), [this] {
            QVERIFY(preview->WorkProgress->isVisible());
            QVERIFY(!preview->NextPageBtn->isEnabled());
            preview->CancelWorkBtn->click();
        });
        preview->SaveReportBtn->click();
        QVERIFY(!QFile::exists(path));
        QVERIFY(!preview->WorkProgress->isVisible());
        QVERIFY(preview->NextPageBtn->isEnabled());
    }

    void ClosingTheReportsPreviewRunsTheAfterPreviewEvent()
    {
        preview.reset();
        InstallReportPreview(*report, *settings, dialogs, nullptr);
        report->saveFolder = [this] { return folder->Path(); };
        report->SetLabelText(QStringLiteral("QRLabelReportType1"), QStringLiteral("by Time"));
        report->SetLabelText(QStringLiteral("QRLabelReportNumber1"), QStringLiteral("17"));
        switches.Set(ReportKind::ByTime, true);
        QSignalSpy after(report.get(), &TAcquiredQReport::afterPreview);
        report->Preview();
        auto* window = qobject_cast<TReportPreview*>(QApplication::activeWindow());
        if (!window)
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* candidate = qobject_cast<TReportPreview*>(top); candidate && candidate->isVisible())
                    window = candidate;
        QVERIFY(window);
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(window->windowState() & Qt::WindowMaximized);
        QCOMPARE(window->Zoom(), 110.0);
        QCOMPARE(after.count(), 0);
        window->CloseBtn->click();
        QCOMPARE(after.count(), 1);
        QVERIFY(QFile::exists(folder->File(QStringLiteral("17.qrp"))));
    }
};

QTEST_MAIN(ReportPreviewTest)
#include "report_preview_test.moc"
