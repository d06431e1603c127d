// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/port_search_command.h"

#include "instrument/analyser_link.h"
#include "instrument/port_search.h"
#include "platform/texts.h"
#include "platform/user_dialogs.h"
#include "workspace/workspace.h"

namespace {
// Ends the search's hold on the link however the search ends.
class SearchScope {
public:
    explicit SearchScope(Availability& availability) : m_availability(availability)
    {
        m_availability.PortSearchBegun();
    }
    ~SearchScope()
    {
        if (!m_ended)
            m_availability.PortSearchEnded(false, false);
    }
    void End(bool found, bool testPointSetOpen)
    {
        m_ended = true;
        m_availability.PortSearchEnded(found, testPointSetOpen);
    }
    SearchScope(const SearchScope&) = delete;
    SearchScope& operator=(const SearchScope&) = delete;

private:
    Availability& m_availability;
    bool m_ended = false;
};
}  // namespace

void RunPortSearch(Workspace& workspace, const PortSearchView& view)
{
    AnalyserLink* link = workspace.Link();
    if (!link || workspace.availability.PortSearchInProgress())
        return;
    if (view.showSearching)
        view.showSearching(true);
    if (view.showPortIndex)
        view.showPortIndex(0);

    SearchScope scope(workspace.availability);
    const PortSearchResult result = SearchAnalyserPort(*link, [&](int index) {
        if (view.showPortIndex)
            view.showPortIndex(index);
    });

    if (view.showSearching)
        view.showSearching(false);
    if (result.found) {
        if (view.reportModelName)
            view.reportModelName(result.modelName);
        if (auto detectedIn = Pick(workspace.settings, texts::kAnalyserDetectedIn))
            workspace.dialogs.ShowMessage(result.modelName + *detectedIn +
                                          (view.portName ? view.portName() : QString()));
        scope.End(true, workspace.AcquiredTable.IsOpen());
        return;
    }
    ShowText(workspace.dialogs, workspace.settings, texts::kAnalyserNotDetected);
    scope.End(false, workspace.AcquiredTable.IsOpen());
}
