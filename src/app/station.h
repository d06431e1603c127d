#pragma once

#include <functional>
#include <vector>

class EventPump;
class UserDialogs;
class SystemCommands;
class Settings;
enum class Language;

// The program-wide services every window and command reaches: the ports, the
// settings list and the model code. One instance for the program's life
// (tests build their own with fakes).
struct Station {
    EventPump& pump;
    UserDialogs& dialogs;
    SystemCommands& system;
    Settings& settings;

    // Program-wide model code: -1 none, 0..12 a row of the model table.
    int modelCode = -1;

    // Windows whose captions follow the language commands register here; the
    // main window's English/Spanish commands call each of them.
    std::vector<std::function<void(Language)>> languageListeners;

    // The test point set changed since it was created, opened or saved; only
    // drives the "Save as" prompt of the test point set commands.
    bool testPointSetModified = false;
};
