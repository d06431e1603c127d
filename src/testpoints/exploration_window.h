// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testpoints/exploration_decoder.h"

#include <QDialog>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Workspace;
struct Text;
enum class Language;

// "ADD TEST POINT FROM EXPLORATION": lists the explorations the analyser
// keeps for a band and adds the channels of one of them to the test point
// set, in six numbered steps. Not modal; stays on top of the main window.
class TRepCanals : public QDialog {
    Q_OBJECT

public:
    explicit TRepCanals(Workspace& workspace, QWidget* parent = nullptr);

    QLabel* Label1;  // step numbers "1." to "6."
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QGroupBox* SelTERSAT;  // the band, items "TER" and "SAT"
    QRadioButton* SelTERSATTer;
    QRadioButton* SelTERSATSat;
    QPushButton* AskChan;
    QLabel* Label54;  // "  wait..."
    QLineEdit* waitChannels;
    QLabel* Label50;  // "Channels List"
    QComboBox* ChannelsList;
    QLabel* Label47;  // "Low Osc."
    QLineEdit* LowOsc;
    QLabel* Label48;  // "High Osc."
    QLineEdit* HighOsc;
    QPushButton* ReceiveCha;
    QPushButton* ChannelsCANCEL;

    void OpenAddChFromExploration1Click();
    void SelTERSATClick();
    void AskChanClick();
    void ChannelsListSelect();
    void ReceiveChaClick();
    void ChannelsCANCELClick();
    void LowOscExit();
    void HighOscExit();

    void ApplyLanguage(Language language);

private:
    // The controls whose availability the window's own steps decide, under
    // the availability model's exploration commands.
    enum Control { kAskChan, kChannelsList, kReceiveCha, kChannelsCANCEL, kLowOsc, kHighOsc, kControls };

    void RequestExplorationList();
    void ImportExploration();
    void Offer(Control control, bool offered);
    void OfferBand(bool offered);
    void FollowAvailability();
    void ShowEnabled();
    TerSat ChosenBand() const;
    void Show(const Text& text, const QString& argument1 = QString(), const QString& argument2 = QString());
    void HoldOscillator(QLineEdit* edit, QString& lastValue);

    Workspace& m_workspace;
    std::array<bool, kControls> m_offered{};
    std::array<QWidget*, kControls> m_controls{};
    bool m_transferAllowed = false;
    // A transfer is under way: a second click waits for it instead of
    // starting another one inside its waits.
    bool m_busy = false;
    QString m_lastLowOsc;
    QString m_lastHighOsc;
};
