#pragma once

class AnalyserLink;
class QComboBox;
class TVigilo;
struct PortSearchHooks;
class Workspace;

// The port search as the main window runs it (SearchComBtnClick): status
// panel, the port display, the messages in the current language and the
// commands it enables or disables.
void RunPortSearch(TVigilo& window, Workspace& workspace, AnalyserLink& link, const PortSearchHooks& hooks);

// The port display only shows what the search tries: key presses are swallowed.
void InstallPortDisplayRules(QComboBox* selPortCB);
