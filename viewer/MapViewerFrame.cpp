#include "viewer/MapViewerFrame.h"

#include <wx/accel.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/treectrl.h>

#include "common/hex_format.h"
#include "common/store_text_ui.h"
#include "definitions/map_item_text.h"
#include "workspace/workspace.h"

MapViewerFrame::MapViewerFrame(wxWindow* parent, wxWindowID id)
    : wxFrame(parent, id, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxDEFAULT_FRAME_STYLE)
{
    auto* frameSizer = new wxBoxSizer(wxHORIZONTAL);
    m_panel = new wxPanel(this, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL,
                          "ID_PANEL1");
    auto* panelSizer = new wxBoxSizer(wxHORIZONTAL);
    m_tree = new wxTreeCtrl(m_panel, wxWindow::NewControlId(), wxDefaultPosition, wxSize(183, 293),
                            wxTR_HAS_BUTTONS | wxTR_NO_LINES | wxTR_FULL_ROW_HIGHLIGHT | wxTR_SINGLE,
                            wxDefaultValidator, "ID_TREECTRL1");
    panelSizer->Add(m_tree, 1, wxEXPAND, 0);
    m_panel->SetSizer(panelSizer);
    panelSizer->Fit(m_panel);
    frameSizer->Add(m_panel, 1, wxEXPAND, 0);
    SetSizer(frameSizer);
    frameSizer->Fit(this);
    Centre();

    m_rootItem = m_tree->AddRoot(_("Maps"));

    m_tree->Bind(wxEVT_TREE_ITEM_ACTIVATED, &MapViewerFrame::onItemActivated, this);
    m_tree->Bind(wxEVT_TREE_SEL_CHANGED, &MapViewerFrame::onSelectionChanged, this);
    Bind(wxEVT_CLOSE_WINDOW, &MapViewerFrame::onClose, this);
}

void MapViewerFrame::passShortcutsTo(wxWindow* window)
{
    const wxAcceleratorTable* shortcuts = window->GetAcceleratorTable();
    if (!shortcuts || !shortcuts->IsOk())
        return;
    SetAcceleratorTable(*shortcuts);
    // The viewer has no menu: every command reaching it came from a shortcut.
    Bind(wxEVT_MENU, [window](wxCommandEvent& event) {
        wxCommandEvent command(wxEVT_MENU, event.GetId());
        command.SetEventObject(window);
        window->GetEventHandler()->ProcessEvent(command);
    });
    // Alt-F4 closes the focused window, as everywhere, not the program.
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_F4 && event.GetModifiers() == wxMOD_ALT)
            Close();
        else
            event.Skip();
    });
}

void MapViewerFrame::clearMapList()
{
    m_keepIndex = true;
    m_tree->DeleteAllItems();
    m_keepIndex = false;
    m_rootItem = m_tree->AddRoot(_("Maps"));
    m_itemTable.clear();
    m_itemCount = 0;
}

bool MapViewerFrame::appendMapItem(const std::string& title, unsigned xCount, unsigned yCount,
                                   const std::string& addressText)
{
    if (m_itemCount >= kMaxMaps)
        return false;
    m_itemTable.push_back(
        m_tree->AppendItem(m_rootItem, fromStoreText(mapItemText(title, xCount, yCount, addressText))));
    ++m_itemCount;
    return true;
}

int MapViewerFrame::appendMaps(const DefinitionStore& store)
{
    int added = 0;
    for (int slot = 0; slot < store.mapCount && slot < kMaxMaps; ++slot) {
        const MapDefinition& map = store.maps[slot];
        if (!appendMapItem(map.title, map.axes[AxisX].count, map.axes[AxisY].count,
                           formatHex(map.axes[AxisZ].address)))
            break;
        ++added;
    }
    return added;
}

void MapViewerFrame::updateMapItem(int slot, const std::string& title, unsigned xCount,
                                   unsigned yCount, const std::string& addressText)
{
    if (slot < 0 || slot >= m_itemCount)
        return;
    m_tree->SetItemText(m_itemTable[slot],
                        fromStoreText(mapItemText(title, xCount, yCount, addressText)));
}

void MapViewerFrame::expandAll()
{
    m_tree->ExpandAll();
}

void MapViewerFrame::showSelectedMap()
{
    m_keepIndex = true;
    if (m_selectedMapIndex >= 0 && m_selectedMapIndex < m_itemCount)
        m_tree->SelectItem(m_itemTable[m_selectedMapIndex]);
    else
        m_tree->Unselect();
    m_keepIndex = false;
}

void MapViewerFrame::forgetSelection()
{
    m_selectedMapIndex = -1;
    showSelectedMap();
}

wxTreeItemId MapViewerFrame::mapItem(int slot) const
{
    if (slot < 0 || slot >= m_itemCount)
        return wxTreeItemId();
    return m_itemTable[slot];
}

bool MapViewerFrame::activationOpensEditor() const
{
    if (m_itemCount == 0 || !m_workspace)
        return false;
    // The stored selection, as the radio buttons last set it.
    const std::uint16_t buffer = m_workspace->selectedBuffer;
    if (buffer >= kRomBufferCount || m_workspace->buffers[buffer].empty())
        return false;
    // After the last map was deleted the selection may name a free slot.
    return m_selectedMapIndex >= 0 && m_selectedMapIndex < m_workspace->definitions.mapCount;
}

void MapViewerFrame::onSelectionChanged(wxTreeEvent& event)
{
    event.Skip();
    if (m_keepIndex)
        return;
    m_selectedMapIndex = -1;
    const wxTreeItemId selection = m_tree->GetSelection();
    if (!selection.IsOk())
        return;
    for (int i = 0; i < m_itemCount; ++i) {
        if (m_itemTable[i] == selection) {
            m_selectedMapIndex = i;
            break;
        }
    }
}

void MapViewerFrame::onItemActivated(wxTreeEvent& event)
{
    event.Skip();
    // The click or key that activated the line has already selected it.
    if (!activationOpensEditor())
        return;
    if (m_activationHandler)
        m_activationHandler(m_workspace->selectedBuffer, m_selectedMapIndex);
}

void MapViewerFrame::onClose(wxCloseEvent& event)
{
    // The main window keeps a reference to this window for the life of the
    // program, so closing only hides it; the main window destroys it.
    if (event.CanVeto())
        event.Veto();
    Hide();
}
