// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/date_formats.h"
#include "platform/decimal_point.h"
#include "platform/errors.h"
#include "sim/virtual_clock.h"
#include "support/recording_dialogs.h"

#include <QLoggingCategory>
#include <clocale>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(DecimalPoint, ReplacesOnlyTheFirstComma)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12,5", "12.5"},
        {"1,2E-05", "1.2E-05"},
        {"57.3", "57.3"},
        {"", ""},
        {"1,2,3", "1.2,3"},
    };
    for (const auto& [in, out] : cases) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%s", in);
        FixDecimalPoint(buffer);
        EXPECT_STREQ(buffer, out);
        std::string text = in;
        FixDecimalPoint(text);
        EXPECT_EQ(text, out);
        EXPECT_EQ(FixDecimalPoint(QString::fromLatin1(in)), QString::fromLatin1(out));
    }
}

TEST(DecimalPoint, FormattedNumbersCarryAPoint)
{
    // Under a decimal-comma C locale (when the machine has one) the C library
    // writes "57,2"; the fix-up must bring the point back.
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const bool commaLocale = std::setlocale(LC_NUMERIC, "es_ES.UTF-8") != nullptr;
    if (commaLocale) {
        char raw[16];
        std::snprintf(raw, sizeof raw, "%.1f", 57.25);
        EXPECT_STREQ(raw, "57,2") << "the locale really writes a comma";
    }
    EXPECT_EQ(FormatNumber("%.1f", 57.25), QStringLiteral("57.2"));
    EXPECT_EQ(FormatNumber("%.1E", 0.000012), QStringLiteral("1.2E-05"));
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ErrorHandler, ShowsTheTextOfAnEscapingErrorAndGoesOn)
{
    RecordingDialogs dialogs;
    EXPECT_FALSE(RunReportingErrors(dialogs, [] { throw VigiloError(QStringLiteral("Table is busy")); }));
    EXPECT_FALSE(RunReportingErrors(dialogs, [] { throw std::runtime_error("bad value"); }));
    bool ran = false;
    EXPECT_TRUE(RunReportingErrors(dialogs, [&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_EQ(dialogs.messages, (QStringList{QStringLiteral("Table is busy"), QStringLiteral("bad value")}));
}

Q_LOGGING_CATEGORY(lcTimerWork, "vigilo.test.timerwork")

QStringList g_logged;
void RecordWarning(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && QLatin1String(context.category) == QLatin1String("vigilo.test.timerwork"))
        g_logged << text;
}

TEST(ErrorHandler, TimerWorkLogsAnEscapingErrorAsAWarningAndAsksNobody)
{
    g_logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(RecordWarning);
    EXPECT_FALSE(RunLoggingErrors(lcTimerWork(), [] { throw VigiloError(QStringLiteral("Unable to save file")); }));
    EXPECT_FALSE(RunLoggingErrors(lcTimerWork(), [] { throw std::runtime_error("disk full"); }));
    bool ran = false;
    EXPECT_TRUE(RunLoggingErrors(lcTimerWork(), [&] { ran = true; }));
    qInstallMessageHandler(previous);
    EXPECT_TRUE(ran);
    EXPECT_EQ(g_logged, (QStringList{QStringLiteral("Unable to save file"), QStringLiteral("disk full")}));
}

TEST(VirtualClock, SleepFiresScheduledCallbacksInTimeOrderAtTheirOwnTime)
{
    VirtualClock clock;
    QList<qint64> fired;
    clock.At(2300, [&] { fired.append(clock.ElapsedMs()); });
    clock.At(500, [&] { fired.append(clock.ElapsedMs()); });
    clock.Sleep(1000);
    EXPECT_EQ(fired, QList<qint64>{500});
    clock.Sleep(5000);
    EXPECT_EQ(fired, (QList<qint64>{500, 2300}));
    EXPECT_EQ(clock.ElapsedMs(), 6000);
}

TEST(VirtualClock, EveryRepeatsUntilItsCallbackDeclines)
{
    VirtualClock clock;
    int ticks = 0;
    clock.Every(1000, [&] { return ++ticks < 5; });
    clock.Sleep(60000);
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(clock.ElapsedMs(), 60000);
}

TEST(VirtualClock, PostRunsAtTheNextProcessMessages)
{
    VirtualClock clock;
    bool ran = false;
    clock.Post([&] { ran = true; });
    EXPECT_FALSE(ran);
    clock.ProcessMessages();
    EXPECT_TRUE(ran);
    EXPECT_EQ(clock.ElapsedMs(), 0);
}

TEST(DateFormats, FitTheMeasurementsFieldWidths)
{
    const QDate date(2026, 12, 31);
    const QTime time(23, 59, 58);
    EXPECT_LE(SystemShortDate(date).size(), 12);
    EXPECT_LE(SystemLongTime(time).size(), 10);
    EXPECT_TRUE(SystemLongTime(time).contains(QStringLiteral("59")));
    EXPECT_FALSE(SystemLongTime(time).contains(QStringLiteral("UTC")));
}

}  // namespace
