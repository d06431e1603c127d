#include "workspace/workspace.h"

#include "instrument/analyser_link.h"

Workspace::Workspace(EventPump& pumpIn, UserDialogs& dialogsIn, SystemCommands& systemIn, Settings& settingsIn,
                     SerialDeviceFactory ports)
    : pump(pumpIn), dialogs(dialogsIn), system(systemIn), settings(settingsIn), serialPorts(std::move(ports))
{
    if (serialPorts)
        m_link = std::make_unique<AnalyserLink>(pump, serialPorts, modelCode);
}

Workspace::~Workspace() = default;
