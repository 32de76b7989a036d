#pragma once
// The map viewer: one line per map definition under a root item "Maps". The
// line the user selects is the current map of the map list commands, and
// activating a line opens the table editor on it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <wx/frame.h>
#include <wx/treebase.h>

#include "definitions/map_definition.h"

class wxCloseEvent;
class wxPanel;
class wxTreeCtrl;
class wxTreeEvent;
struct Workspace;

class MapViewerFrame : public wxFrame {
public:
    explicit MapViewerFrame(wxWindow* parent, wxWindowID id = wxID_ANY);

    void setWorkspace(Workspace& workspace) { m_workspace = &workspace; }

    // The shortcuts of `window` (the main window's Alt-T, Alt-I, F1 and the
    // rest) work here too and run there: a map just picked is edited or
    // opened without going back. Alt-F4 stays this window's own.
    void passShortcutsTo(wxWindow* window);

    // Empties the tree and adds a new, collapsed root. The selected map index
    // stays: after a rebuild it names whatever map now sits in that slot.
    void clearMapList();
    // Appends a line as the last child of the root and records it as the item
    // of the next slot. Refused (false) once kMaxMaps lines are listed. Texts are UTF-8.
    bool appendMapItem(const std::string& title, unsigned xCount, unsigned yCount,
                       const std::string& addressText);
    // Appends one line per map of the store, in slot order; the number added.
    int appendMaps(const DefinitionStore& store);
    // Replaces the text of the line that shows `slot`; ignored for slots not listed.
    void updateMapItem(int slot, const std::string& title, unsigned xCount, unsigned yCount,
                       const std::string& addressText);
    void expandAll();
    // Shows the line of the selected map index as selected, or no line when
    // the index names none. The tree itself selects its new root quietly
    // after a clear, which would leave the display and the index apart.
    // Selecting expands the line's parent.
    void showSelectedMap();
    // No map selected: after the list was replaced, the old index would name
    // whatever map now sits in that slot.
    void forgetSelection();

    int selectedMapIndex() const { return m_selectedMapIndex; }
    int itemCount() const { return m_itemCount; }
    wxTreeItemId rootItem() const { return m_rootItem; }
    wxTreeItemId mapItem(int slot) const;
    wxTreeCtrl* tree() const { return m_tree; }

    // Whether activating a line now would open the table editor: lines are
    // listed, the selected ROM buffer holds an image and a map that still
    // exists is selected.
    bool activationOpensEditor() const;

    // What activating a line does when it opens the editor: called with the
    // workspace's selected buffer and the selected map.
    using ActivationHandler = std::function<void(int buffer, int map)>;
    void setActivationHandler(ActivationHandler handler) { m_activationHandler = std::move(handler); }

private:
    void onSelectionChanged(wxTreeEvent& event);
    void onItemActivated(wxTreeEvent& event);
    void onClose(wxCloseEvent& event);

    Workspace* m_workspace = nullptr;
    ActivationHandler m_activationHandler;
    wxPanel* m_panel = nullptr;
    wxTreeCtrl* m_tree = nullptr;

    std::vector<wxTreeItemId> m_itemTable;   // the line of each listed slot
    int m_itemCount = 0;
    wxTreeItemId m_rootItem;
    int m_selectedMapIndex = -1;
    // Set while the tree is emptied or its selection is set from the index:
    // the toolkit reports those selection changes, which must not change the
    // selected map index.
    bool m_keepIndex = false;
};
