// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gps/gga_reader.h"
#include "platform/serial_device.h"

#include <QDialog>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TSerialGPS;
class Workspace;
enum class Language;

// The GPS window (Config > GPS): port and speed of the receiver, the switch
// for reception and a search for a valid signal. Nothing of it is saved:
// after every start the GPS is off until it is set up again.
class TGPS : public QDialog, public GpsReader {
    Q_OBJECT

public:
    TGPS(Workspace& workspace, SerialDeviceFactory ports, QWidget* parent = nullptr);
    ~TGPS() override;

    QComboBox* baudRateGPS;
    QComboBox* CBGPSCom;
    QCheckBox* ActiveGPS;
    QPushButton* FindGPS;
    QPushButton* CancelFindGPS;
    QLabel* Label2;
    QLabel* Label1;
    QLabel* Label3;

    void GPS1Click();
    void baudRateGPSChange();
    void CBGPSComChange();
    void ActiveGPSClick();
    void FindGPSClick();
    void FormDestroy();
    void ApplyLanguage(Language language);

    // GpsReader, for the run.
    bool ReceptionEnabled() const override;
    bool ReadGpsFix(GpsFix& fix) override;
    bool ReceiverLost() const override;

    TSerialGPS* Port() const { return m_port.get(); }

    // Closing the window cancels a signal search, which could not be
    // cancelled any more once the window is gone.
    void done(int result) override;

private:
    Workspace& m_workspace;
    SerialDeviceFactory m_ports;
    std::unique_ptr<TSerialGPS> m_port;
    QButtonGroup* m_searchGroup = nullptr;
};
