// The main window's maps file commands: New, Load and Save Map Definitions,
// and the menu and tool connections of the definitions and viewer commands.
#include <string>

#include <wx/filedlg.h>
#include <wx/intl.h>
#include <wx/menu.h>

#include "app/TorvaneStudioFrame.h"
#include "app/file_dialog_ui.h"
#include "definitions/maps_file.h"
#include "viewer/MapViewerFrame.h"

namespace {

const char* const kMapsWildcard = "XTS files (*.xts)|*.xts|All files (*.*)|*.*";

// Paths travel as UTF-8, like the ROM buffers' paths.
std::string toFileName(const wxString& path)
{
    return path.utf8_string();
}

} // namespace

wxString TorvaneStudioFrame::mapsFileLoadedMessage() const
{
    return m_lastMapsLoadDroppedMaps ? mapsFileStatusMessage(MapsFileStatus::LoadedFirst256)
                                     : wxTRANSLATE("Maps file loaded.");
}

bool TorvaneStudioFrame::loadMapsFile(const wxString& path)
{
    DefinitionStore& store = m_workspace->definitions;
    const MapsFileStatus status = ::loadMapsFile(store, toFileName(path));
    if (!mapsFileLoaded(status)) {
        showStatus(mapsFileStatusMessage(status));
        return false;
    }
    m_lastMapsLoadDroppedMaps = status == MapsFileStatus::LoadedFirst256;

    // An open viewer is refilled but left collapsed; a new one is filled and
    // expanded by showMapViewer.
    if (m_viewer) {
        m_viewer->clearMapList();
        m_viewer->appendMaps(store);
    }
    showMapViewer();
    return true;
}

void TorvaneStudioFrame::loadMapsCommand()
{
    wxString path;
    if (!askForFile(this, _("Select maps file to load"), kMapsWildcard, wxFD_OPEN, path) || !loadMapsFile(path))
        return;
    rememberMapsFile(path);
    showStatus(mapsFileLoadedMessage());
}

void TorvaneStudioFrame::saveMapsFile()
{
    wxString path;
    if (!askForFile(this, _("Select maps file to save"), kMapsWildcard, wxFD_SAVE | wxFD_OVERWRITE_PROMPT, path))
        return;
    const MapsFileStatus status = ::saveMapsFile(m_workspace->definitions, toFileName(path));
    showStatus(status == MapsFileStatus::Saved ? wxTRANSLATE("Maps file saved.")
                                               : wxTRANSLATE("Unable to save maps file!"));
}

void TorvaneStudioFrame::clearDefinitions()
{
    ::clearDefinitions(m_workspace->definitions);
    if (m_viewer)
        m_viewer->clearMapList();
}

void TorvaneStudioFrame::connectDefinitionCommands()
{
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { clearDefinitions(); }, m_ids.newMaps);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { loadMapsCommand(); }, m_ids.loadMaps);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { saveMapsFile(); }, m_ids.saveMaps);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { showMapViewer(); }, m_ids.definitionsViewer);
    // Tool clicks arrive as menu commands too.
    Bind(wxEVT_TOOL, [this](wxCommandEvent&) { loadMapsCommand(); }, m_ids.toolLoadMap);
    Bind(wxEVT_TOOL, [this](wxCommandEvent&) { showMapViewer(); }, m_ids.toolMapViewer);
}
