// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

class Settings;
class TAcquiredQReport;
class UserDialogs;

// The company, technician, report and meter data of the report header, as
// the company data window holds them. Headless tools keep one of these in
// place of the window.
struct CompanyData {
    enum Item {
        Name, Address, Postcode, Town, Province, Country, Telephone, Fax, EMail, Website,
        TechnicianName, ReportNumber, MeasurePoint, SerialNumber, kItemCount
    };
    std::array<QString, kItemCount> texts;

    // The settings line of an item (1-12, 14), or -1 for the report number,
    // which is never stored.
    static int SettingsLine(Item item);
    // The header value label an item feeds ("QRLabelName1", ...).
    static QString HeaderLabel(Item item);
    // The most characters an item holds (43 for the company's, 40 for the others).
    static int MaxLength(Item item);

    // Fills the stored items from their settings lines, cut to their length;
    // the report number starts empty.
    static CompanyData FromSettings(const Settings& settings);
};

// The accept action: copies the texts into the header values, writes
// settings lines 1 to 12 and 14 in that order and saves the settings file;
// a failed save shows "Unable to save file " and the path in the current
// language and returns false (the header is set all the same).
bool AcceptCompanyData(const CompanyData& data, TAcquiredQReport& report, Settings& settings, UserDialogs& dialogs);
