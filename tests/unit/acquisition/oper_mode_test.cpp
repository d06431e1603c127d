// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/oper_mode.h"

#include <gtest/gtest.h>

namespace {
struct ValidationCase {
    OperModeEdit edit;
    const char* typed;
    const char* expected;
};

class OperModeValidation : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(OperModeValidation, LeavingTheEditKeepsItInRange)
{
    const ValidationCase& c = GetParam();
    EXPECT_EQ(ValidateOperModeEdit(c.edit, QString::fromLatin1(c.typed)), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Edits, OperModeValidation,
    ::testing::Values(ValidationCase{OperModeEdit::TimeForMeasure, "", "0"},
                      ValidationCase{OperModeEdit::TimeForMeasure, "75", "60"},
                      ValidationCase{OperModeEdit::TimeForMeasure, "60", "60"},
                      ValidationCase{OperModeEdit::TimeForMeasure, "0", "0"},
                      ValidationCase{OperModeEdit::TimeBetweenTP, "", "0"},
                      ValidationCase{OperModeEdit::TimeBetweenTP, "43201", "43200"},
                      ValidationCase{OperModeEdit::TimeBetweenTP, "99999", "43200"},
                      ValidationCase{OperModeEdit::TimeBetweenTable, "", "0"},
                      ValidationCase{OperModeEdit::TimeBetweenTable, "86400", "86400"},
                      ValidationCase{OperModeEdit::TimeBetweenTable, "99999", "86400"},
                      ValidationCase{OperModeEdit::TimeEvery, "", "1"},
                      ValidationCase{OperModeEdit::TimeEvery, "0", "1"},
                      ValidationCase{OperModeEdit::TimeEvery, "2881", "2880"},
                      ValidationCase{OperModeEdit::TimeEvery, "15", "15"},
                      ValidationCase{OperModeEdit::BucleRepeticiones, "", "1"},
                      ValidationCase{OperModeEdit::BucleRepeticiones, "0", "1"},
                      ValidationCase{OperModeEdit::BucleRepeticiones, "99999", "99999"},
                      ValidationCase{OperModeEdit::BucleRepeticiones, "3", "3"}));

TEST(OperModeRead, HalfTypedEditsReadAsTheirValidatedValue)
{
    EXPECT_EQ(ReadOperModeEdit(OperModeEdit::TimeForMeasure, QString()), 0);
    EXPECT_EQ(ReadOperModeEdit(OperModeEdit::TimeForMeasure, QStringLiteral("75")), 60);
    EXPECT_EQ(ReadOperModeEdit(OperModeEdit::TimeEvery, QStringLiteral("0")), 1);
    EXPECT_EQ(ReadOperModeEdit(OperModeEdit::TimeBetweenTP, QStringLiteral("007")), 7);
}

TEST(OperModeDuration, FormatsAndParsesHoursMinutesSeconds)
{
    EXPECT_EQ(FormatDuration(QTime(1, 2, 3)), QStringLiteral("01:02:03"));
    EXPECT_EQ(ParseDuration(QStringLiteral("00:00:05")), QTime(0, 0, 5));
    EXPECT_EQ(ParseDuration(QStringLiteral("rubbish")), QTime(0, 0, 0));
}
}  // namespace
