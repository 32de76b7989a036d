#pragma once
// The table editor's keys beyond the grid's own cursor and selection keys
// (GridSelectionInput) and undo and redo (the frame):
// - in the grid: Ctrl+C or Ctrl+Insert copies the selected block (or the
//   cursor cell) as spreadsheets do, tab-separated rows; Ctrl+V or
//   Shift+Insert pastes, as "Paste from clipboard" does;
// - anywhere in the window: Ctrl and + or - steps by the raw value, Ctrl and
//   Page Up or Page Down by the percentage, Alt and Page Up or Page Down by
//   the engineering value (main keys or keypad; none of them types into a
//   cell); F6 or Ctrl+Tab moves between the grid and the controls panel.
// While a value is being typed into a cell, the steps and the clipboard keys
// are the text's own; F6 and Ctrl+Tab take the value in first.
#include <wx/window.h>
#include <wx/weakref.h>

class TableEditorFrame;
class wxKeyEvent;

class TableEditorKeys {
public:
    explicit TableEditorKeys(TableEditorFrame& editor);

private:
    void onGridKey(wxKeyEvent& event);
    void onWindowKey(wxKeyEvent& event);
    void copyBlock();
    void switchFocus();
    void run(int commandId);

    TableEditorFrame& m_editor;
    wxWeakRef<wxWindow> m_lastControl;   // of the controls panel, to come back to
};
