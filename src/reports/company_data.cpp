// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/company_data.h"

#include "platform/settings.h"
#include "platform/settings_loader.h"
#include "reports/acquired_report.h"

namespace {
struct ItemPlace {
    int line;
    const char* label;
    int maxLength;
};

// In the order of CompanyData::Item.
constexpr ItemPlace kPlaces[CompanyData::kItemCount] = {
    {1, "QRLabelName1", 43},       {2, "QRLabelAddress1", 43},   {3, "QRLabelPostcode1", 43},
    {4, "QRLabelTown1", 43},       {5, "QRLabelProvince1", 43},  {6, "QRLabelCountry1", 43},
    {7, "QRLabelTelephone1", 43},  {8, "QRLabelFax1", 43},       {9, "QRLabelEMail1", 43},
    {10, "QRLabelWebsite1", 43},   {11, "QRLabelTechName1", 40}, {-1, "QRLabelReportNumber1", 40},
    {14, "QRLabelMeasurePoint1", 40}, {12, "QRLabelSerial1", 40},
};
}  // namespace

int CompanyData::SettingsLine(Item item)
{
    return kPlaces[item].line;
}

QString CompanyData::HeaderLabel(Item item)
{
    return QString::fromLatin1(kPlaces[item].label);
}

int CompanyData::MaxLength(Item item)
{
    return kPlaces[item].maxLength;
}

CompanyData CompanyData::FromSettings(const Settings& settings)
{
    CompanyData data;
    for (int i = 0; i < kItemCount; ++i) {
        const auto item = static_cast<Item>(i);
        if (SettingsLine(item) >= 0)
            data.texts[i] = settings.Line(SettingsLine(item)).left(MaxLength(item));
    }
    return data;
}

bool AcceptCompanyData(const CompanyData& data, TAcquiredQReport& report, Settings& settings, UserDialogs& dialogs)
{
    std::vector<std::pair<int, QString>> lines;
    for (int i = 0; i < CompanyData::kItemCount; ++i) {
        const auto item = static_cast<CompanyData::Item>(i);
        report.SetLabelText(CompanyData::HeaderLabel(item), data.texts[i]);
        if (CompanyData::SettingsLine(item) >= 0)
            lines.emplace_back(CompanyData::SettingsLine(item), data.texts[i]);
    }
    // Lines 1 to 12, then 14.
    return WriteSettingsLines(settings, dialogs, std::move(lines));
}
