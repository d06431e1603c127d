#pragma once

#include "platform/serial_device.h"
#include "testpoints/dataset.h"

#include <QObject>
#include <memory>

class AnalyserLink;
class EventPump;
class UserDialogs;
class SystemCommands;
class Settings;
enum class Language;

// What the whole program shares, whichever front end drives it (the windows,
// vigilo-station, the tests): the ports to the operating system, the settings
// list, the three datasets, the analyser link with the model code, and the
// test point set's modified flag. One instance for the program's life.
class Workspace : public QObject {
    Q_OBJECT

public:
    // `serialPorts` opens COM ports for the analyser link; without it there is
    // no link (tests that drive a run through their own analyser).
    Workspace(EventPump& pump, UserDialogs& dialogs, SystemCommands& system, Settings& settings,
              SerialDeviceFactory serialPorts = {});
    ~Workspace() override;

    EventPump& pump;
    UserDialogs& dialogs;
    SystemCommands& system;
    Settings& settings;
    // How COM ports become devices, for the analyser link and the GPS port.
    const SerialDeviceFactory serialPorts;

    // Program-wide model code: -1 none, 0..12 a row of the model table.
    int modelCode = -1;

    // The one connection to the analyser, for the program's life; null
    // without serial ports.
    AnalyserLink* Link() const { return m_link.get(); }

    // The test point set (its working copy), the open Measurements table and
    // the reports' Filter table.
    Dataset AcquiredTable;
    Dataset ReportTable;
    Dataset FilterTable;

    // The test point set changed since it was created, opened or saved; only
    // drives the "Save as" prompt of the test point set commands.
    bool testPointSetModified = false;

    // Tells every window that follows the language commands (each connects
    // with itself as context, so a destroyed window is never called).
    void AnnounceLanguage(Language language) { emit languageChanged(language); }

signals:
    void languageChanged(Language language);

private:
    std::unique_ptr<AnalyserLink> m_link;
};
