// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/auto_alarm.h"

#include <gtest/gtest.h>

#include <map>

namespace {
using Written = std::map<QString, double>;

ThresholdWriter Into(Written& written)
{
    return [&written](const QString& field, double value) { written[field] = value; };
}

TEST(DeriveThresholds, CentresTheBandOnTheMeasuredValue)
{
    AutoAlarmValues autoAlarm;
    autoAlarm.level = true;
    Written written;
    DeriveThresholds(autoAlarm, true, Quantity::Level, 57.3, Into(written));
    ASSERT_EQ(written.size(), 2u);
    EXPECT_DOUBLE_EQ(written[QStringLiteral("minLV")], 55.3);
    EXPECT_DOUBLE_EQ(written[QStringLiteral("maxLV")], 59.3);
}

TEST(DeriveThresholds, EachQuantityWritesItsOwnFields)
{
    AutoAlarmValues autoAlarm;
    autoAlarm.Set(Quantity::CN, true, QStringLiteral("3"));
    autoAlarm.Set(Quantity::VA, true, QStringLiteral("1"));
    autoAlarm.Set(Quantity::MER, true, QStringLiteral("10"));
    Written written;
    DeriveThresholds(autoAlarm, true, Quantity::CN, 30.0, Into(written));
    DeriveThresholds(autoAlarm, true, Quantity::VA, 12.5, Into(written));
    DeriveThresholds(autoAlarm, true, Quantity::MER, 32.0, Into(written));
    EXPECT_EQ(written, (Written{{QStringLiteral("minC/N"), 27.0}, {QStringLiteral("maxC/N"), 33.0},
                                {QStringLiteral("minV/A"), 11.5}, {QStringLiteral("maxV/A"), 13.5},
                                {QStringLiteral("minMER"), 22.0}, {QStringLiteral("maxMER"), 42.0}}));
}

TEST(DeriveThresholds, WritesNothingOutsideThePassOrWithTheBoxUnticked)
{
    AutoAlarmValues autoAlarm;
    autoAlarm.level = false;
    autoAlarm.cn = true;
    Written written;
    DeriveThresholds(autoAlarm, true, Quantity::Level, 50.0, Into(written));
    DeriveThresholds(autoAlarm, false, Quantity::CN, 30.0, Into(written));
    EXPECT_TRUE(written.empty());
}

TEST(DeriveThresholds, ClearedToleranceCountsAsZero)
{
    AutoAlarmValues autoAlarm;
    autoAlarm.Set(Quantity::Level, true, QString());
    Written written;
    DeriveThresholds(autoAlarm, true, Quantity::Level, 48.1, Into(written));
    EXPECT_DOUBLE_EQ(written[QStringLiteral("minLV")], 48.1);
    EXPECT_DOUBLE_EQ(written[QStringLiteral("maxLV")], 48.1);
}

struct ToleranceCase {
    Quantity quantity;
    const char* typed;
    const char* expected;
};

class ToleranceValidation : public ::testing::TestWithParam<ToleranceCase> {};

TEST_P(ToleranceValidation, ExitCheck)
{
    const ToleranceCase& c = GetParam();
    EXPECT_EQ(ValidateTolerance(c.quantity, QString::fromLatin1(c.typed)), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Edits, ToleranceValidation,
                         ::testing::Values(ToleranceCase{Quantity::Level, "35", "20"},
                                           ToleranceCase{Quantity::Level, "20", "20"},
                                           ToleranceCase{Quantity::CN, "", "0"},
                                           ToleranceCase{Quantity::VA, "21", "20"},
                                           ToleranceCase{Quantity::MER, "12", "10"},
                                           ToleranceCase{Quantity::MER, "10", "10"},
                                           ToleranceCase{Quantity::MER, "", "0"}));
}  // namespace
