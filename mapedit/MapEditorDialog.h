#pragma once
// The map editor: a modal dialog that edits one map of the definition store
// in place. It is filled by loadIntoDialog (an existing map) or prepareNewMap
// (a new one), shown modally, and writes the map only on "Apply && Close".
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include <wx/dialog.h>

#include "definitions/map_form.h"

class wxButton;
class wxChoice;
class wxComboBox;
class wxGrid;
class wxNotebook;
class wxPanel;
class wxSizer;
class wxStaticText;
class wxTextCtrl;
struct Workspace;

class MapEditorDialog : public wxDialog {
public:
    explicit MapEditorDialog(wxWindow* parent);

    // Shows the map of `slot` (Source before Count, then the labels by Source).
    void loadIntoDialog(std::uint16_t slot, Workspace& workspace);
    // Shows the defaults of a new map that Apply will store into the store's
    // newMap, apart from the list.
    void prepareNewMap(Workspace& workspace);

    // True once "Apply && Close" has written the map.
    bool applied() const { return m_applied; }

private:
    // The controls of one axis page; the Z page has no Count, Source or
    // label grid of its own that anything reads, X and Y no Data Order.
    struct AxisControls {
        wxTextCtrl* count = nullptr;
        wxComboBox* units = nullptr;
        wxChoice* type = nullptr;
        wxChoice* decimals = nullptr;
        wxTextCtrl* offset = nullptr;
        wxTextCtrl* factor = nullptr;
        wxChoice* source = nullptr;
        wxTextCtrl* address = nullptr;
        wxChoice* sign = nullptr;
        wxChoice* bits = nullptr;
        wxChoice* byteOrder = nullptr;
        wxChoice* dataOrder = nullptr;
        wxGrid* grid = nullptr;
        bool minMaxRows = false;   // the grid holds "Min" and "Max" rather than numbered rows
        // The label texts as the Count last left them: rows that a shorter
        // count took away come back with their texts when it grows again.
        std::vector<std::string> countedLabels;
    };

    void buildSettingsPage();
    void buildZPage();
    void buildLabelAxisPage(int axis, const char* panel, const char* firstPanel, const char* secondPanel,
                            const char* grid, const std::array<const char*, 11>& names);
    wxGrid* addLabelGrid(wxPanel* page, wxSizer* sizer, const char* name);
    wxStaticText* addLabel(wxWindow* parent, wxSizer* sizer, const char* text);
    wxTextCtrl* addText(wxWindow* parent, wxSizer* sizer, const char* label, const char* name);
    wxChoice* addChoice(wxWindow* parent, wxSizer* sizer, const char* label, const char* name,
                        const std::vector<const char*>& items);
    wxComboBox* addUnits(wxWindow* parent, wxSizer* sizer, const char* name);
    void bindAxis(int axis);

    AxisForm readAxis(int axis, bool withLabels = false) const;
    MapForm readForm() const;
    void showForm(const MapForm& form);
    void setLabelRows(int axis, const LabelRows& rows);
    void setLabelTexts(int axis, const std::vector<std::string>& texts);
    // keepTexts: a Count change keeps what was typed into the rows that remain.
    void rebuildLabelRows(int axis, bool keepTexts = false);
    void previewEmbeddedLabels(int axis);
    void showUnitsLabel(int axis);
    // The image of the selected ROM buffer, or null and 0 when it is empty.
    std::pair<const std::uint8_t*, std::size_t> selectedImage() const;

    // Tab and Shift+Tab in a label grid, Ctrl+Page Up / Down anywhere in the
    // form (main keys or keypad); false for other keys.
    bool moveThroughForm(const wxKeyEvent& event);
    void applyDialog();
    void finish(int returnCode);

    Workspace* m_workspace = nullptr;
    int m_slot = 0;   // kNewMap: the store's newMap
    static constexpr int kNewMap = -1;
    bool m_applied = false;
    int m_staticTexts = 0;   // numbers the labels' window names

    wxNotebook* m_notebook = nullptr;
    wxTextCtrl* m_title = nullptr;
    wxTextCtrl* m_description = nullptr;
    std::array<AxisControls, 3> m_axes{};   // X, Y, Z
    wxButton* m_apply = nullptr;
    wxButton* m_cancel = nullptr;
};
