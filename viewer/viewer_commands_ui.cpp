// The main window's side of the map viewer: creating it on first need and
// keeping its list in step with the store.
#include <algorithm>

#include "app/TorvaneStudioFrame.h"
#include "app/hex_format.h"
#include "viewer/MapViewerFrame.h"

namespace {

// One line per map of the store, in slot order; the number of lines added.
int appendAllMaps(MapViewerFrame& viewer, const DefinitionStore& store)
{
    const int count = std::min<int>(store.mapCount, kMaxMaps);
    int added = 0;
    for (int slot = 0; slot < count; ++slot) {
        const MapDefinition& map = store.maps[slot];
        if (!viewer.appendMapItem(map.title, map.axes[AxisX].count, map.axes[AxisY].count,
                                  formatHex(map.axes[AxisZ].address)))
            break;
        ++added;
    }
    return added;
}

} // namespace

void TorvaneStudioFrame::showMapViewer()
{
    if (m_viewer) {
        m_viewer->Show();
        m_viewer->Raise();
        return;
    }
    m_viewer = new MapViewerFrame(this);
    m_viewer->setWorkspace(*m_workspace);
    if (appendAllMaps(*m_viewer, m_workspace->definitions) > 0)
        m_viewer->expandAll();
    m_viewer->Show();
}

void TorvaneStudioFrame::rebuildMapList()
{
    if (!m_viewer)
        return;
    m_viewer->clearMapList();
    appendAllMaps(*m_viewer, m_workspace->definitions);
    m_viewer->expandAll();
}
