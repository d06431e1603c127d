#include "workspace/workspace.h"

#include "instrument/analyser_link.h"
#include "testpoints/engine_texts.h"

Workspace::Workspace(EventPump& pumpIn, UserDialogs& dialogsIn, SystemCommands& systemIn, Settings& settingsIn,
                     SerialDeviceFactory ports)
    : pump(pumpIn), dialogs(dialogsIn), system(systemIn), settings(settingsIn), serialPorts(std::move(ports))
{
    if (serialPorts)
        m_link = std::make_unique<AnalyserLink>(pump, serialPorts, modelCode);
    // Table errors reach the user through the general error handler.
    FollowLanguageOf(&settings);
}

Workspace::~Workspace()
{
    StopFollowingLanguageOf(&settings);
}
