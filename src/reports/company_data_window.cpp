// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/company_data_window.h"

#include "platform/settings.h"
#include "platform/texts.h"
#include "reports/acquired_report.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
// Per item, in the order of CompanyData::Item: the edit, its caption label
// and the caption's text.
struct EditPlace {
    const char* edit;
    const char* label;
    const Text* caption;
};

constexpr EditPlace kEdits[CompanyData::kItemCount] = {
    {"EditName", "Label1", &texts::kCompanyLabel1},
    {"EditAddress", "Label2", &texts::kCompanyLabel2},
    {"EditPostcode", "Label3", &texts::kCompanyLabel3},
    {"EditTown", "Label4", &texts::kCompanyLabel4},
    {"EditProvince", "Label5", &texts::kCompanyLabel5},
    {"EditCountry", "Label6", &texts::kCompanyLabel6},
    {"EditTelephone", "Label15", &texts::kCompanyLabel15},
    {"EditFax", "Label7", &texts::kCompanyLabel7},
    {"EditEMail", "Label8", &texts::kCompanyLabel8},
    {"EditWebsite", "Label9", &texts::kCompanyLabel9},
    {"EditTechnicianName", "Label12", &texts::kCompanyLabel12},
    {"EditReportNumber", "Label14", &texts::kCompanyLabel14},
    {"EditMeasurePoint", "Label18", &texts::kCompanyLabel18},
    {"EditSerialNumber", "Label17", &texts::kCompanyLabel17},
};

struct Heading {
    const char* label;
    const Text* caption;
    CompanyData::Item first;
    CompanyData::Item last;
};

constexpr Heading kHeadings[] = {
    {"Label10", &texts::kCompanyLabel10, CompanyData::Name, CompanyData::Website},
    {"Label11", &texts::kCompanyLabel11, CompanyData::TechnicianName, CompanyData::TechnicianName},
    {"Label13", &texts::kCompanyLabel13, CompanyData::ReportNumber, CompanyData::MeasurePoint},
    {"Label16", &texts::kCompanyLabel16, CompanyData::SerialNumber, CompanyData::SerialNumber},
};
}  // namespace

TDataCompany::TDataCompany(Settings& settings, UserDialogs& dialogs, TAcquiredQReport& report, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_settings(settings),
      m_dialogs(dialogs),
      m_report(report)
{
    setObjectName(QStringLiteral("TDataCompany"));
    QLabel** captionMembers[CompanyData::kItemCount] = {&Label1, &Label2,  &Label3,  &Label4,  &Label5,
                                                        &Label6, &Label15, &Label7,  &Label8,  &Label9,
                                                        &Label12, &Label14, &Label18, &Label17};
    QLineEdit** editMembers[CompanyData::kItemCount] = {
        &EditName,  &EditAddress, &EditPostcode, &EditTown,           &EditProvince,     &EditCountry,
        &EditTelephone, &EditFax, &EditEMail,    &EditWebsite,        &EditTechnicianName, &EditReportNumber,
        &EditMeasurePoint, &EditSerialNumber};
    QLabel** headingMembers[] = {&Label10, &Label11, &Label13, &Label16};

    auto* layout = new QVBoxLayout(this);
    for (size_t h = 0; h < std::size(kHeadings); ++h) {
        const Heading& heading = kHeadings[h];
        auto* title = new QLabel(this);
        title->setObjectName(QString::fromLatin1(heading.label));
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        *headingMembers[h] = title;
        layout->addWidget(title);
        auto* grid = new QGridLayout;
        grid->setContentsMargins(16, 0, 0, 8);
        grid->setColumnStretch(1, 1);
        for (int i = heading.first; i <= heading.last; ++i) {
            auto* caption = new QLabel(this);
            caption->setObjectName(QString::fromLatin1(kEdits[i].label));
            auto* edit = new QLineEdit(this);
            edit->setObjectName(QString::fromLatin1(kEdits[i].edit));
            edit->setMaxLength(CompanyData::MaxLength(static_cast<CompanyData::Item>(i)));
            edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(43, QLatin1Char('M'))) * 2 / 3);
            caption->setBuddy(edit);
            *captionMembers[i] = caption;
            *editMembers[i] = edit;
            m_edits[static_cast<size_t>(i)] = edit;
            grid->addWidget(caption, i - heading.first, 0);
            grid->addWidget(edit, i - heading.first, 1);
        }
        layout->addLayout(grid);
    }
    BitBtnAcceptData = new QPushButton(this);
    BitBtnAcceptData->setObjectName(QStringLiteral("BitBtnAcceptData"));
    BitBtnAcceptData->setDefault(true);
    BitBtn1 = new QPushButton(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtnAcceptData);
    buttons->addWidget(BitBtn1);
    layout->addLayout(buttons);

    connect(BitBtnAcceptData, &QPushButton::clicked, this, &TDataCompany::BitBtnAcceptDataClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TDataCompany::BitBtn1Click);
    // Escape closes as Cancel does; the typed texts stay either way.
    ApplyLanguage(Language::English);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* TDataCompany::Edit(CompanyData::Item item) const
{
    return m_edits[static_cast<size_t>(item)];
}

void TDataCompany::ApplyLanguage(Language language)
{
    if (language == Language::Other)
        return;
    setWindowTitle(texts::kDataCompanyCaption.In(language));
    for (int i = 0; i < CompanyData::kItemCount; ++i)
        findChild<QLabel*>(QString::fromLatin1(kEdits[i].label))->setText(kEdits[i].caption->In(language));
    for (const Heading& heading : kHeadings)
        findChild<QLabel*>(QString::fromLatin1(heading.label))->setText(heading.caption->In(language));
    BitBtnAcceptData->setText(texts::kBitBtnAcceptData.In(language));
    BitBtn1->setText(texts::kBitBtn1.In(language));
}

void TDataCompany::FillFromSettings()
{
    const CompanyData data = CompanyData::FromSettings(m_settings);
    for (int i = 0; i < CompanyData::kItemCount; ++i)
        Edit(static_cast<CompanyData::Item>(i))->setText(data.texts[static_cast<size_t>(i)]);
}

void TDataCompany::CopySettingsLine(int line, const QString& text)
{
    for (int i = 0; i < CompanyData::kItemCount; ++i) {
        const auto item = static_cast<CompanyData::Item>(i);
        if (CompanyData::SettingsLine(item) == line)
            Edit(item)->setText(text);  // the edit's limit cuts a longer line
    }
}

CompanyData TDataCompany::Data() const
{
    CompanyData data;
    for (int i = 0; i < CompanyData::kItemCount; ++i)
        data.texts[static_cast<size_t>(i)] = Edit(static_cast<CompanyData::Item>(i))->text();
    return data;
}

void TDataCompany::DataReport1Click()
{
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
}

void TDataCompany::BitBtnAcceptDataClick()
{
    // A failed save has shown its message; the window closes all the same.
    AcceptCompanyData(Data(), m_report, m_settings, m_dialogs);
    done(QDialog::Accepted);
}

void TDataCompany::BitBtn1Click()
{
    done(QDialog::Rejected);
}
