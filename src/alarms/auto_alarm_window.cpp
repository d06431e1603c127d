// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/auto_alarm_window.h"

#include "workspace/workspace.h"
#include "platform/texts.h"
#include "platform/captions_ui.h"
#include "platform/digit_edit_ui.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kToleranceLength = 2;  // whole dB, at most 20

constexpr CaptionRow kCaptions[] = {
    {"TAutoAlarm", &texts::kAutoAlarmTitle},
    {"Label1", &texts::kAutoAlarmLabel1},
    {"Label2", &texts::kAutoAlarmLabel2},
    {"CBoxLevel", &texts::kCBoxLevel},
    {"CBoxCN", &texts::kCBoxCN},
    {"CBoxVA", &texts::kCBoxVA},
    {"CBoxMER", &texts::kCBoxMER},
};

template <typename T>
T* Named(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}
}  // namespace

TAutoAlarm::TAutoAlarm(Workspace& workspace, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TAutoAlarm"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setFixedSize(260, 190);

    Label1 = Named(new QLabel(this), "Label1");
    Label1->setGeometry(16, 10, 110, 20);
    Label2 = Named(new QLabel(this), "Label2");
    Label2->setGeometry(140, 10, 110, 20);

    const auto row = [this](const char* boxName, const char* editName, const char* unitName, int y,
                            QCheckBox*& box, QLineEdit*& edit) {
        box = Named(new QCheckBox(this), boxName);
        box->setGeometry(16, y, 110, 22);
        edit = Named(new QLineEdit(QStringLiteral("2"), this), editName);
        edit->setGeometry(140, y, 40, 22);
        auto* unit = Named(new QLabel(QStringLiteral("dB"), this), unitName);
        unit->setGeometry(186, y, 30, 22);
    };
    row("CBoxLevel", "LevelTOL", "Label3", 40, CBoxLevel, LevelTOL);
    row("CBoxCN", "CNTOL", "Label4", 72, CBoxCN, CNTOL);
    row("CBoxVA", "VATOL", "Label5", 104, CBoxVA, VATOL);
    row("CBoxMER", "MERTOL", "Label6", 136, CBoxMER, MERTOL);

    DigitEdit::Install(LevelTOL, kToleranceLength, [this] { LevelTOLExit(); }, true);
    DigitEdit::Install(CNTOL, kToleranceLength, [this] { CNTOLExit(); }, true);
    DigitEdit::Install(VATOL, kToleranceLength, [this] { VATOLExit(); }, true);
    DigitEdit::Install(MERTOL, kToleranceLength, [this] { MERTOLExit(); }, true);

    ApplyLanguage(Language::English);
    connect(&workspace, &Workspace::languageChanged, this, &TAutoAlarm::ApplyLanguage);
}

void TAutoAlarm::ApplyLanguage(Language language)
{
    ApplyCaptions(*this, kCaptions, language);
}

QCheckBox* TAutoAlarm::BoxOf(Quantity quantity) const
{
    switch (quantity) {
    case Quantity::Level: return CBoxLevel;
    case Quantity::CN: return CBoxCN;
    case Quantity::VA: return CBoxVA;
    case Quantity::MER: return CBoxMER;
    }
    return CBoxLevel;
}

QLineEdit* TAutoAlarm::EditOf(Quantity quantity) const
{
    switch (quantity) {
    case Quantity::Level: return LevelTOL;
    case Quantity::CN: return CNTOL;
    case Quantity::VA: return VATOL;
    case Quantity::MER: return MERTOL;
    }
    return LevelTOL;
}

void TAutoAlarm::ValidateEdit(Quantity quantity)
{
    QLineEdit* edit = EditOf(quantity);
    const QString valid = ValidateTolerance(quantity, edit->text());
    if (valid != edit->text())
        edit->setText(valid);
}

void TAutoAlarm::LevelTOLExit() { ValidateEdit(Quantity::Level); }
void TAutoAlarm::CNTOLExit() { ValidateEdit(Quantity::CN); }
void TAutoAlarm::VATOLExit() { ValidateEdit(Quantity::VA); }
void TAutoAlarm::MERTOLExit() { ValidateEdit(Quantity::MER); }

bool TAutoAlarm::Enabled(Quantity quantity) const { return BoxOf(quantity)->isChecked(); }
QString TAutoAlarm::ToleranceText(Quantity quantity) const { return EditOf(quantity)->text(); }
