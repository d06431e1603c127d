// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/company_data.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class Settings;
class TAcquiredQReport;
class UserDialogs;
enum class Language;

// The company data window: the texts of the report header, kept between
// reports and stored in the settings file (all but the report number).
class TDataCompany : public QDialog {
    Q_OBJECT

public:
    TDataCompany(Settings& settings, UserDialogs& dialogs, TAcquiredQReport& report, QWidget* parent = nullptr);

    // Start-up: fills the edits from the settings lines; the report number
    // starts empty.
    void FillFromSettings();
    // One settings line into its edit (the start-up loader's copy step);
    // lines that are not company data are ignored.
    void CopySettingsLine(int line, const QString& text);
    void ApplyLanguage(Language language);

    // The texts as typed.
    CompanyData Data() const;

    // Menu Config ▸ Data Report: shows the window modally.
    void DataReport1Click();
    // Copies to the header, writes the settings lines and closes.
    void BitBtnAcceptDataClick();
    // Closes without copying or saving; the edits keep what was typed.
    void BitBtn1Click();

    // Captions of the edits, and the four group headings (Label10, 11, 13, 16).
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label15;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label12;
    QLabel* Label14;
    QLabel* Label18;
    QLabel* Label17;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label13;
    QLabel* Label16;
    QLineEdit* EditName;
    QLineEdit* EditAddress;
    QLineEdit* EditPostcode;
    QLineEdit* EditTown;
    QLineEdit* EditProvince;
    QLineEdit* EditCountry;
    QLineEdit* EditTelephone;
    QLineEdit* EditFax;
    QLineEdit* EditEMail;
    QLineEdit* EditWebsite;
    QLineEdit* EditTechnicianName;
    QLineEdit* EditReportNumber;
    QLineEdit* EditMeasurePoint;
    QLineEdit* EditSerialNumber;
    QPushButton* BitBtnAcceptData;
    QPushButton* BitBtn1;

private:
    QLineEdit* Edit(CompanyData::Item item) const;

    Settings& m_settings;
    UserDialogs& m_dialogs;
    TAcquiredQReport& m_report;
    std::array<QLineEdit*, CompanyData::kItemCount> m_edits{};
};
