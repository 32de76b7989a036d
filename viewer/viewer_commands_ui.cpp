// The main window's side of the map viewer: creating it on first need and
// keeping its list in step with the store.
#include "app/TorvaneStudioFrame.h"
#include "viewer/MapViewerFrame.h"

void TorvaneStudioFrame::showMapViewer()
{
    if (m_viewer) {
        m_viewer->Show();
        m_viewer->Raise();
        return;
    }
    m_viewer = new MapViewerFrame(this);
    m_viewer->setWorkspace(*m_workspace);
    if (m_viewer->appendMaps(m_workspace->definitions) > 0)
        m_viewer->expandAll();
    m_viewer->Show();
}

void TorvaneStudioFrame::rebuildMapList()
{
    if (!m_viewer)
        return;
    m_viewer->clearMapList();
    m_viewer->appendMaps(m_workspace->definitions);
    m_viewer->expandAll();
}
