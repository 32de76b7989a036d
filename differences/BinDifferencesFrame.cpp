#include "differences/BinDifferencesFrame.h"

#include <algorithm>
#include <span>

#include <wx/accel.h>
#include <wx/choice.h>
#include <wx/clipbrd.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>

#include "cells/table_display.h"
#include "common/store_text_ui.h"
#include "tableeditor/TableEditorFrame.h"
#include "tableeditor/table_editor_commands_ui.h"
#include "workspace/command_context_ui.h"

namespace {

std::string translated(const std::string& piece)
{
    return wxGetTranslation(wxString::FromUTF8(piece)).utf8_string();
}

wxString composed(const StatusText& text)
{
    return fromStoreText(text.compose(translated));
}

std::span<const std::uint8_t> imageOf(const RomBuffer& buffer)
{
    const std::size_t size = std::min(buffer.data.size(), static_cast<std::size_t>(std::max(buffer.size, 0)));
    return {buffer.data.data(), size};
}

StatusText binText(const char* prefix, int index, const char* suffix)
{
    StatusText text;
    text.fixed(prefix).literal(std::to_string(index + 1)).fixed(suffix);
    return text;
}

// A report list that asks the frame for each text it paints: the rows are
// never copied into the control, however many regions there are.
class DifferenceList : public wxListCtrl {
public:
    DifferenceList(wxWindow* parent, const BinDifferencesFrame& frame)
        : wxListCtrl(parent, wxWindow::NewControlId(), wxDefaultPosition, wxSize(720, 360),
                     wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL, wxDefaultValidator, "ID_LISTCTRL1"),
          m_frame(frame)
    {
    }

protected:
    wxString OnGetItemText(long item, long column) const override { return m_frame.cellText(item, column); }

private:
    const BinDifferencesFrame& m_frame;
};

// Checks a menu item of the editor and sends its command, as a click would.
void clickCheckItem(TableEditorFrame& editor, int id)
{
    editor.GetMenuBar()->Check(id, true);
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(&editor);
    event.SetInt(1);
    editor.GetEventHandler()->ProcessEvent(event);
}

} // namespace

BinDifferencesFrame::BinDifferencesFrame(CommandContext& context)
    : wxFrame(context.window(), wxID_ANY, _("BIN Differences"), wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE),
      m_context(context)
{
    auto* panel = new wxPanel(this, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL,
                              "ID_PANEL1");
    auto* panelSizer = new wxBoxSizer(wxVERTICAL);

    auto* choiceRow = new wxBoxSizer(wxHORIZONTAL);
    m_sourceLabel = new wxStaticText(panel, wxWindow::NewControlId(), wxEmptyString, wxDefaultPosition,
                                     wxDefaultSize, 0, "ID_STATICTEXT1");
    choiceRow->Add(m_sourceLabel, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
    const wxString others[] = {_("BIN #1"), _("BIN #2"), _("BIN #3")};
    m_otherChoice = new wxChoice(panel, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize, 3, others, 0,
                                 wxDefaultValidator, "ID_CHOICE1");
    m_otherChoice->SetToolTip(_("The BIN to compare with"));
    choiceRow->Add(m_otherChoice, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
    panelSizer->Add(choiceRow, 0, wxALL, 5);

    m_list = new DifferenceList(panel, *this);
    const struct {
        const char* title;
        int width;
        wxListColumnFormat format;
    } columns[kDifferenceColumns] = {
        {wxTRANSLATE("Map or address"), 250, wxLIST_FORMAT_LEFT},
        {wxTRANSLATE("Cells or bytes"), 110, wxLIST_FORMAT_RIGHT},
        {wxTRANSLATE("Largest difference"), 140, wxLIST_FORMAT_RIGHT},
        {wxTRANSLATE("Units"), 80, wxLIST_FORMAT_LEFT},
        {wxTRANSLATE("Axis values"), 100, wxLIST_FORMAT_RIGHT},
    };
    for (int column = 0; column < kDifferenceColumns; ++column)
        m_list->AppendColumn(wxGetTranslation(columns[column].title), columns[column].format, columns[column].width);
    panelSizer->Add(m_list, 1, wxALL | wxEXPAND, 5);

    m_summary = new wxStaticText(panel, wxWindow::NewControlId(), wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                 0, "ID_STATICTEXT2");
    panelSizer->Add(m_summary, 0, wxALL | wxEXPAND, 5);
    panel->SetSizer(panelSizer);

    auto* frameSizer = new wxBoxSizer(wxVERTICAL);
    frameSizer->Add(panel, 1, wxEXPAND, 0);
    SetSizer(frameSizer);
    CreateStatusBar(1, wxSTB_DEFAULT_STYLE, wxWindow::NewControlId(), "ID_STATUSBAR1");
    frameSizer->SetSizeHints(this);
    Centre();

    wxAcceleratorEntry copy(wxACCEL_CTRL, 'C', wxID_COPY);
    SetAcceleratorTable(wxAcceleratorTable(1, &copy));
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { copyToClipboard(); }, wxID_COPY);
    // A review window: Escape puts it away, as a dialog would, and Alt-F4
    // closes it even where no window manager takes that key.
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        const int key = event.GetKeyCode();
        if ((key == WXK_ESCAPE && !event.HasAnyModifiers()) || (key == WXK_F4 && event.GetModifiers() == wxMOD_ALT))
            Close();
        else
            event.Skip();
    });
    m_list->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& event) { activateRow(event.GetIndex()); });
    m_otherChoice->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { recompute(); });
    // The BIN selected in the main window meanwhile is the one compared on return.
    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& event) {
        event.Skip();
        if (event.GetActive() && m_context.selectedBuffer() != m_source)
            compareFrom(m_context.selectedBuffer());
    });
    m_bufferToken = context.workspace().bufferListeners.add([this](int) {
        pickOther();
        recompute();
    });
    m_definitionsToken = context.workspace().definitionListeners.add([this](int) { recompute(); });
}

BinDifferencesFrame::~BinDifferencesFrame()
{
    m_context.workspace().bufferListeners.remove(m_bufferToken);
    m_context.workspace().definitionListeners.remove(m_definitionsToken);
}

int BinDifferencesFrame::otherBuffer() const
{
    return std::clamp(m_otherChoice->GetSelection(), 0, kRomBufferCount - 1);
}

void BinDifferencesFrame::compareFrom(int source)
{
    m_source = std::clamp(source, 0, kRomBufferCount - 1);
    m_sourceLabel->SetLabel(composed(binText("BIN #", m_source, " compared with")));
    pickOther();
    recompute();
}

void BinDifferencesFrame::pickOther()
{
    const RomBuffers& buffers = m_context.workspace().buffers;
    const int other = m_otherChoice->GetSelection();
    if (other >= 0 && other != m_source && !buffers[other].empty())
        return;
    for (int k = 0; k < kRomBufferCount; ++k) {
        if (k != m_source && !buffers[k].empty()) {
            m_otherChoice->SetSelection(k);
            return;
        }
    }
    if (other < 0 || other == m_source)
        m_otherChoice->SetSelection(m_source == 0 ? 1 : 0);
}

void BinDifferencesFrame::recompute()
{
    const Workspace& workspace = m_context.workspace();
    const int other = otherBuffer();
    StatusText summary;
    if (other == m_source) {
        // Not "the same": nothing was compared.
        m_differences = {};
        summary = binText("Choose a BIN other than BIN #", m_source, ".");
    } else if (workspace.buffers[m_source].empty()) {
        m_differences = {};
        summary = binText("BIN #", m_source, " is empty.");
    } else if (workspace.buffers[other].empty()) {
        m_differences = {};
        summary = binText("BIN #", other, " is empty.");
    } else {
        m_differences = compareImages(imageOf(workspace.buffers[m_source]), imageOf(workspace.buffers[other]),
                                      workspace.definitions);
        summary = differencesSummary(m_differences);
    }
    m_list->SetItemCount(static_cast<long>(m_differences.rowCount()));
    // The keys work on the list from the start: its first line is current.
    if (m_list->GetItemCount() > 0
        && m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED) < 0)
        m_list->SetItemState(0, wxLIST_STATE_FOCUSED | wxLIST_STATE_SELECTED,
                             wxLIST_STATE_FOCUSED | wxLIST_STATE_SELECTED);
    m_list->Refresh();
    m_summary->SetLabel(composed(summary));
    SetStatusText(wxEmptyString, 0);   // a message about the list as it was
}

wxString BinDifferencesFrame::cellText(long row, long column) const
{
    if (row < 0 || column < 0)
        return wxString();
    return composed(differenceCellText(m_differences, static_cast<std::size_t>(row), static_cast<int>(column)));
}

void BinDifferencesFrame::activateRow(long row)
{
    if (row < 0)
        return;
    const int map = differenceRowMap(m_differences, static_cast<std::size_t>(row));
    const Workspace& workspace = m_context.workspace();
    if (map < 0 || map >= workspace.definitions.mapCount)
        return;
    TableEditorFrame* editor = openTableEditor(m_context, m_context.window(), m_source, map);
    if (!editor) {
        const MapFit fit =
            checkMapFits(workspace.definitions.maps[map], imageOf(workspace.buffers[m_source]).size());
        showMessage(StatusText(mapFitMessage(fit)));
        return;
    }
    SetStatusText(wxEmptyString, 0);   // a refusal of an earlier line no longer holds
    // The differing cells stand out among the zeros of the difference view.
    // An image the map does not fit is refused, and the editor says so.
    clickCheckItem(*editor, editor->commandIds().compareBin[otherBuffer()]);
    if (editor->compareBuffer() != otherBuffer())
        return;
    clickCheckItem(*editor, editor->commandIds().showDifferences);
    clickCheckItem(*editor, editor->commandIds().highlightDifferences);
}

void BinDifferencesFrame::copyToClipboard()
{
    if (m_differences.same()) {
        showMessage(StatusText("The list is empty."));
        return;
    }
    if (!wxTheClipboard->Open())
        return;
    wxTheClipboard->SetData(new wxTextDataObject(fromStoreText(differencesText(m_differences, translated))));
    wxTheClipboard->Close();
    showMessage(StatusText("List copied to clipboard."));
}

void BinDifferencesFrame::showMessage(const StatusText& text)
{
    SetStatusText(composed(text), 0);
}
