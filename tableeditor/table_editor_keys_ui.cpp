#include "tableeditor/table_editor_keys_ui.h"

#include <wx/grid.h>
#include <wx/panel.h>

#include "cells/cell_operations.h"
#include "cells/spreadsheet_text.h"
#include "tableeditor/TableEditorFrame.h"
#include "tableeditor/clipboard_ui.h"

TableEditorKeys::TableEditorKeys(TableEditorFrame& editor) : m_editor(editor)
{
    editor.grid()->Bind(wxEVT_KEY_DOWN, &TableEditorKeys::onGridKey, this);
    editor.Bind(wxEVT_CHAR_HOOK, &TableEditorKeys::onWindowKey, this);
    editor.controlsPanel()->Bind(wxEVT_CHILD_FOCUS, [this](wxChildFocusEvent& event) {
        m_lastControl = event.GetWindow();
        event.Skip();
    });
}

namespace {

bool isInsert(int key)
{
    return key == WXK_INSERT || key == WXK_NUMPAD_INSERT;
}

// The menu command a step key stands for, or 0.
int stepCommand(const wxKeyEvent& event, const TableEditorIds& ids)
{
    const int key = event.GetKeyCode();
    const int modifiers = event.GetModifiers();
    // "+" takes Shift on many layouts.
    const bool ctrl = modifiers == wxMOD_CONTROL;
    const bool ctrlMaybeShift = ctrl || modifiers == (wxMOD_CONTROL | wxMOD_SHIFT);
    switch (key) {
    case '+': case '=': case WXK_NUMPAD_ADD:
        return ctrlMaybeShift ? ids.incRaw : 0;
    case '-': case WXK_NUMPAD_SUBTRACT:
        return ctrl ? ids.decRaw : 0;
    case WXK_PAGEUP: case WXK_NUMPAD_PAGEUP:
        return ctrl ? ids.incPerc : modifiers == wxMOD_ALT ? ids.incEng : 0;
    case WXK_PAGEDOWN: case WXK_NUMPAD_PAGEDOWN:
        return ctrl ? ids.decPerc : modifiers == wxMOD_ALT ? ids.decEng : 0;
    default:
        return 0;
    }
}

bool isFocusSwitch(const wxKeyEvent& event)
{
    const int modifiers = event.GetModifiers() & ~wxMOD_SHIFT;   // either way: there are two places
    if (event.GetKeyCode() == WXK_F6)
        return modifiers == wxMOD_NONE;
    return event.GetKeyCode() == WXK_TAB && modifiers == wxMOD_CONTROL;
}

} // namespace

void TableEditorKeys::onGridKey(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    const int modifiers = event.GetModifiers();
    const bool copy = (modifiers == wxMOD_CONTROL && (key == 'C' || isInsert(key)));
    const bool paste = (modifiers == wxMOD_CONTROL && key == 'V') || (modifiers == wxMOD_SHIFT && isInsert(key));
    if ((!copy && !paste) || m_editor.grid()->IsCellEditControlShown()) {
        event.Skip();
        return;
    }
    if (copy)
        copyBlock();
    else
        run(m_editor.commandIds().paste);
}

void TableEditorKeys::onWindowKey(wxKeyEvent& event)
{
    if (isFocusSwitch(event)) {
        switchFocus();
        return;
    }
    const int command = stepCommand(event, m_editor.commandIds());
    if (!command || m_editor.grid()->IsCellEditControlShown()) {
        event.Skip();
        return;
    }
    run(command);
}

void TableEditorKeys::run(int commandId)
{
    wxCommandEvent command(wxEVT_MENU, commandId);
    command.SetEventObject(&m_editor);
    m_editor.ProcessWindowEvent(command);
}

void TableEditorKeys::copyBlock()
{
    wxGrid* grid = m_editor.grid();
    CellSelection single;
    const CellSelection& cells =
        cellsToActOn(m_editor.selection(), grid->GetGridCursorRow(), grid->GetGridCursorCol(), single);
    const TableGridModel& model = m_editor.gridModel();
    std::string text = encodeSpreadsheetText(cells, [&model](int row, int col) { return model.text(row, col); });
    if (writeClipboardText(std::move(text)))
        m_editor.showMessage(wxTRANSLATE("Data copied to clipboard."));
}

void TableEditorKeys::switchFocus()
{
    wxGrid* grid = m_editor.grid();
    wxWindow* controls = m_editor.controlsPanel();
    wxWindow* focus = wxWindow::FindFocus();
    if (!focus || (focus != grid && !grid->IsDescendant(focus))) {
        grid->SetFocus();
        return;
    }
    if (!controls->IsShown())
        return;
    // A value being typed goes in, as when the cell is left with the mouse.
    grid->DisableCellEditControl();
    // Back to the control that had the focus last; at first, the first one.
    if (m_lastControl && m_lastControl->IsShown() && m_lastControl->IsEnabled())
        m_lastControl->SetFocus();
    else
        controls->SetFocus();
}
