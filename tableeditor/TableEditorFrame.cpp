#include "tableeditor/TableEditorFrame.h"

#include <algorithm>

#include <wx/artprov.h>
#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/grid.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include "cells/clipboard_text.h"
#include "cells/plot_export.h"
#include "cells/spreadsheet_text.h"
#include "cells/table_display.h"
#include "cells/touched_cells.h"
#include "chart/simpleChart.h"
#include "common/status_text.h"
#include "common/store_text_ui.h"
#include "tableeditor/clipboard_ui.h"
#include "tableeditor/plot_process_ui.h"
#include "tableeditor/table_editor_keys_ui.h"
#include "tableeditor/table_grid_ui.h"
#include "workspace/workspace.h"

namespace {

wxString numbered(const char* kind, int number)
{
    return wxString::Format("%s%d", kind, number);
}

const wxSize kGridMinSize(300, 200);

std::size_t usableSize(const RomBuffer& buffer)
{
    return std::min(buffer.data.size(), static_cast<std::size_t>(std::max(buffer.size, 0)));
}

wxString doesNotFitText(int buffer)
{
    return _("The map does not fit in BIN #") + wxString::Format("%d", buffer + 1) + _("!");
}

} // namespace

TableEditorFrame::TableEditorFrame(wxWindow* parent, Workspace& workspace, int sourceBuffer, int mapIndex)
    : wxFrame(parent, wxID_ANY, _("Table Editor"), wxDefaultPosition, wxDefaultSize, wxDEFAULT_FRAME_STYLE),
      m_workspace(workspace),
      m_sourceBuffer(std::clamp(sourceBuffer, 0, kRomBufferCount - 1)),
      m_mapIndex(std::clamp(mapIndex, 0, kMaxMaps - 1)),
      m_map(workspace.definitions.maps[m_mapIndex]),
      m_history(workspace.historyBudget)
{
    m_cells.map = &m_map;
    m_selection.resize(m_cells.rows(), m_cells.columns());
    m_model = std::make_unique<TableGridModel>(m_cells);

    SetClientSize(wxSize(778, 469));
    allocateIds();
    buildMenuBar();
    buildPanels();

    auto* statusBar = new wxStatusBar(this, wxWindow::NewControlId(), wxSTB_DEFAULT_STYLE, "ID_STATUSBAR1");
    const int widths[2] = {300, -1};
    statusBar->SetFieldsCount(2, widths);
    SetStatusBar(statusBar);
    buildToolBar();

    GetSizer()->SetSizeHints(this);
    // Room for the whole table while it is small (its columns as wide as
    // its values need), and never less than the editor's usual size.
    fitColumns();
    const wxSize least = GetClientSize();
    const int tableWidth = m_grid->GetRowLabelSize() + m_cells.columns() * m_grid->GetDefaultColSize() + 24;
    const int tableHeight = m_grid->GetColLabelSize() + m_cells.rows() * m_grid->GetDefaultRowSize() + 24;
    // A table that fits the screen whole gets all the room it needs; a larger
    // one a window of a usual size, to scroll in.
    const wxRect screen = wxDisplay(this).GetClientArea();
    const auto room = [](int table, int least, int minimum, int usual, int available) {
        const int whole = std::max(table, minimum);
        return (least - minimum + whole <= available ? whole : std::clamp(table, minimum, usual)) - minimum;
    };
    const int frameWidth = GetSize().x - GetClientSize().x;
    const int frameHeight = GetSize().y - GetClientSize().y + 40;   // and room for a title bar
    const int extraWidth = room(tableWidth, least.x, kGridMinSize.x, 800, screen.width - frameWidth);
    const int extraHeight = room(tableHeight, least.y, kGridMinSize.y, 500, screen.height - frameHeight);
    SetClientSize(wxSize(std::max(least.x + extraWidth, 778), std::max(least.y + extraHeight, 469)));
    Centre();

    // Initialising.
    const AxisDefinition& x = m_map.axes[AxisX];
    const AxisDefinition& y = m_map.axes[AxisY];
    const AxisDefinition& z = m_map.axes[AxisZ];
    m_xLabel->SetLabelText(x.units.empty() ? _("X Axis") : _("X: ") + fromStoreText(x.units));
    m_yLabel->SetLabelText(y.units.empty() ? _("Y Axis") : _("Y: ") + fromStoreText(y.units));
    m_xChart->setChartSize(x.count);
    m_yChart->setChartSize(y.count);
    for (int k = 0; k < kRomBufferCount; ++k)
        GetMenuBar()->Enable(m_ids.compareBin[k], !m_workspace.buffers[k].empty());
    const RomBuffer& source = m_workspace.buffers[m_sourceBuffer];
    m_cells.workingCopy.assign(CellCodec::blockSize(m_map), 0);
    // The opener has checked that the block fits; copy no byte past the image regardless.
    const std::size_t address = z.address;
    const std::size_t available = usableSize(source) > address ? usableSize(source) - address : 0;
    std::copy_n(source.data.begin() + static_cast<std::ptrdiff_t>(std::min(address, usableSize(source))),
                std::min(available, m_cells.workingCopy.size()), m_cells.workingCopy.begin());
    m_sourceBlock = m_cells.workingCopy;

    // Setting up.
    updateTitle();
    m_titleLabel->SetLabelText(fromStoreText(m_map.title) + " - [ " + fromStoreText(y.units) + " / " +
                               fromStoreText(x.units) + " / " + fromStoreText(z.units) + " ]");
    setupGrid();
    connectEvents();
    m_bufferListener = m_workspace.bufferListeners.add([this](int index) { onBufferChanged(index); });
    m_definitionListener = m_workspace.definitionListeners.add([this](int) { onDefinitionsChanged(); });
    fillGrid();
    // The grid puts its cursor on the first cell once it has the focus; the
    // charts show that cell's row and column from the start.
    showCharts(0, 0);
}

TableEditorFrame::~TableEditorFrame()
{
    m_workspace.bufferListeners.remove(m_bufferListener);
    m_workspace.definitionListeners.remove(m_definitionListener);
    // The grid and its table refer to the model and the selection: let the
    // windows go before the members do.
    DestroyChildren();
}

// ---------------------------------------------------------------- construction

void TableEditorFrame::allocateIds()
{
    auto newId = [] { return static_cast<int>(wxWindow::NewControlId()); };
    for (int* id :
         {&m_ids.openAbsolute, &m_ids.openDifference, &m_ids.saveAbsolute, &m_ids.saveDifference, &m_ids.apply,
          &m_ids.cancel, &m_ids.copy, &m_ids.paste, &m_ids.incRaw, &m_ids.decRaw, &m_ids.incPerc, &m_ids.decPerc,
          &m_ids.incEng, &m_ids.decEng, &m_ids.fill, &m_ids.showDifferences, &m_ids.showRaw,
          &m_ids.highlightDifferences, &m_ids.selectAll, &m_ids.invertSelection, &m_ids.clearSelection,
          &m_ids.selectByValue, &m_ids.selectGreaterOrEqual, &m_ids.moveUp, &m_ids.moveDown, &m_ids.moveLeft,
          &m_ids.moveRight, &m_ids.viewGraphs, &m_ids.viewControls, &m_ids.editor2d, &m_ids.viewer3d,
          &m_ids.toolEditor, &m_ids.toolApply, &m_ids.toolCancel, &m_ids.toolCopy, &m_ids.toolPaste,
          &m_ids.toolShowDifferences, &m_ids.toolHighlightDifferences, &m_ids.toolEdit2d, &m_ids.toolView3d})
        *id = newId();
    for (int& id : m_ids.copyFromBin)
        id = newId();
    for (int& id : m_ids.compareBin)
        id = newId();
}

void TableEditorFrame::buildMenuBar()
{
    auto* menuBar = new wxMenuBar();

    auto* file = new wxMenu();
    file->Append(m_ids.openAbsolute, _("Open absolute data"), _("Function not available!"));
    file->Append(m_ids.openDifference, _("Open difference data"), _("Function not available!"));
    file->AppendSeparator();
    file->Append(m_ids.saveAbsolute, _("Save absolute data"), _("Function not available!"));
    file->Append(m_ids.saveDifference, _("Save difference data"), _("Function not available!"));
    file->AppendSeparator();
    file->Append(m_ids.apply, _("Apply\tAlt-F4"), _("Apply modifications to BIN"));
    file->Append(m_ids.cancel, _("Cancel"), _("Close without saving modifications"));
    menuBar->Append(file, _("&File"));

    auto* modify = new wxMenu();
    modify->Append(m_ids.copy, _("Copy to clipboard"), _("Copy selected data to clipboard"));
    modify->Append(m_ids.paste, _("Paste from clipboard"), _("Paste data from clipboard"));
    modify->AppendSeparator();
    modify->Append(m_ids.incRaw, _("Inc. raw value"), _("Increment raw value"));
    modify->Append(m_ids.decRaw, _("Dec. raw value"), _("Decrement raw value"));
    modify->Append(m_ids.incPerc, _("Inc. perc. value"), _("Increment by percentage"));
    modify->Append(m_ids.decPerc, _("Dec. perc. value"), _("Decrement by percentage"));
    modify->Append(m_ids.incEng, _("Inc. eng. value"), _("Increment engineering value"));
    modify->Append(m_ids.decEng, _("Dec. eng. value"), _("Decrement engineering value"));
    modify->Append(m_ids.fill, _("Fill with value"), _("Fill selected cells with a value"));
    modify->AppendSeparator();
    const char* const copyLabels[3] = {wxTRANSLATE("Copy from BIN #1"), wxTRANSLATE("Copy from BIN #2"),
                                       wxTRANSLATE("Copy from BIN #3")};
    for (int k = 0; k < 3; ++k)
        modify->Append(m_ids.copyFromBin[k], wxGetTranslation(copyLabels[k]), _("Function not available!"));
    menuBar->Append(modify, _("&Modify"));

    auto* compare = new wxMenu();
    const char* const compareLabels[3] = {wxTRANSLATE("Compare BIN #1"), wxTRANSLATE("Compare BIN #2"),
                                          wxTRANSLATE("Compare BIN #3")};
    const char* const compareHelps[3] = {wxTRANSLATE("Compare current BIN to BIN #1"),
                                         wxTRANSLATE("Compare current BIN to BIN #2"),
                                         wxTRANSLATE("Compare current BIN to BIN #3")};
    for (int k = 0; k < 3; ++k)
        compare->AppendCheckItem(m_ids.compareBin[k], wxGetTranslation(compareLabels[k]),
                                 wxGetTranslation(compareHelps[k]));
    compare->AppendSeparator();
    compare->AppendCheckItem(m_ids.showDifferences, _("Show differences"),
                             _("Show difference between current BIN and selected compare BIN"));
    compare->AppendCheckItem(m_ids.showRaw, _("Show raw values"), _("Show raw values on grid"));
    compare->AppendSeparator();
    compare->AppendCheckItem(
        m_ids.highlightDifferences, _("Highlight differences"),
        _("Highlight the cells that are different between the current BIN and the compare BIN"));
    menuBar->Append(compare, _("&Compare"));

    auto* select = new wxMenu();
    select->Append(m_ids.selectAll, _("Select all"), _("Select all cells"));
    select->Append(m_ids.invertSelection, _("Invert selections"), _("Invert cell selections"));
    select->Append(m_ids.clearSelection, _("Clear selections"), _("Clear all cell selections"));
    select->Append(m_ids.selectByValue, _("Select by value"), _("Select cells by value"));
    select->Append(m_ids.selectGreaterOrEqual, _("Select >= value"),
                   _("Select cells which are greater then or equal to by value"));
    select->AppendSeparator();
    select->Append(m_ids.moveUp, _("Move selection up"), _("Function not available!"));
    select->Append(m_ids.moveDown, _("Move selection down"), _("Function not available!"));
    select->Append(m_ids.moveLeft, _("Move selection left"), _("Function not available!"));
    select->Append(m_ids.moveRight, _("Move selection right"), _("Function not available!"));
    menuBar->Append(select, _("&Select"));

    auto* view = new wxMenu();
    view->AppendCheckItem(m_ids.viewGraphs, _("View Graphs"), _("Show 2D graphs side panel"));
    view->AppendCheckItem(m_ids.viewControls, _("View Controls"), _("Show controls panel"));
    menuBar->Append(view, _("&View"));

    auto* windows = new wxMenu();
    windows->Append(m_ids.editor2d, _("2D Map Editor"), _("Function not available!"));
    windows->Append(m_ids.viewer3d, _("3D Map Viewer"), _("Show 3D view of the map"));
    menuBar->Append(windows, _("&Windows"));

    auto* tools = new wxMenu();
    tools->Append(m_ids.toolEditor, _("Tool Editor\tAlt-T"), _("Function not available!"));
    tools->AppendSeparator();
    menuBar->Append(tools, _("&Tools"));

    menuBar->Append(new wxMenu(), _("&Plugins"));

    SetMenuBar(menuBar);
    menuBar->Check(m_ids.viewGraphs, true);
    menuBar->Check(m_ids.viewControls, true);
}

void TableEditorFrame::buildToolBar()
{
    struct Tool {
        int id;
        const wxArtID art;
        const char* label;
        const char* help;
    };
    const Tool tools[] = {
        {m_ids.toolApply, wxART_TICK_MARK, wxTRANSLATE("Apply"), wxTRANSLATE("Apply modifications to BIN")},
        {m_ids.toolCancel, wxART_CROSS_MARK, wxTRANSLATE("Cancel"), wxTRANSLATE("Close table editor")},
        {m_ids.toolCopy, wxART_COPY, wxTRANSLATE("Copy to clipboard"), wxTRANSLATE("Copy selection to clipboard")},
        {m_ids.toolPaste, wxART_PASTE, wxTRANSLATE("Paste from clipboard"),
         wxTRANSLATE("Paste selection from clipboard")},
        {m_ids.toolShowDifferences, wxART_FIND, wxTRANSLATE("Show Differences"), nullptr},
        {m_ids.toolHighlightDifferences, wxART_FIND_AND_REPLACE, wxTRANSLATE("Highlight Differences"), nullptr},
        {m_ids.toolEdit2d, wxART_EDIT, wxTRANSLATE("Edit in 2D"), wxTRANSLATE("Edit map in 2D")},
        {m_ids.toolView3d, wxART_REPORT_VIEW, wxTRANSLATE("View 3D"), wxTRANSLATE("View map in 3D")},
    };
    auto* toolBar = new wxToolBar(this, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize,
                                  wxTB_HORIZONTAL | wxNO_BORDER, "ID_TOOLBAR1");
    for (const Tool& tool : tools) {
        const wxString help = tool.help ? wxGetTranslation(tool.help) : wxString();
        toolBar->AddTool(tool.id, wxGetTranslation(tool.label), wxArtProvider::GetBitmap(tool.art, wxART_TOOLBAR),
                         wxNullBitmap, wxITEM_NORMAL, help, help);
    }
    toolBar->Realize();
    SetToolBar(toolBar);
}

void TableEditorFrame::buildPanels()
{
    auto* frameSizer = new wxBoxSizer(wxHORIZONTAL);

    // Side panel: the charts of the row and the column through the current cell.
    m_sidePanel = new wxPanel(this, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL,
                              "ID_PANEL1");
    auto* sideSizer = new wxBoxSizer(wxVERTICAL);
    m_xLabel = new wxStaticText(m_sidePanel, wxWindow::NewControlId(), _("X Axis"), wxDefaultPosition,
                                wxDefaultSize, 0, numbered("ID_STATICTEXT", 1));
    m_xChart = new simpleChart(m_sidePanel);
    m_xChart->SetMinSize(wxSize(200, 150));
    m_yLabel = new wxStaticText(m_sidePanel, wxWindow::NewControlId(), _("Y Axis"), wxDefaultPosition,
                                wxDefaultSize, 0, numbered("ID_STATICTEXT", 2));
    m_yChart = new simpleChart(m_sidePanel);
    m_yChart->SetMinSize(wxSize(200, 150));
    sideSizer->Add(m_xLabel, 0, wxALL | wxALIGN_CENTER_HORIZONTAL, 5);
    sideSizer->Add(m_xChart, 1, wxALL | wxEXPAND, 5);
    sideSizer->Add(m_yLabel, 0, wxALL | wxALIGN_CENTER_HORIZONTAL, 5);
    sideSizer->Add(m_yChart, 1, wxALL | wxEXPAND, 5);
    m_sidePanel->SetSizer(sideSizer);

    // Table panel: the title and the grid.
    m_tablePanel = new wxPanel(this, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL,
                               "ID_PANEL2");
    auto* tableSizer = new wxBoxSizer(wxVERTICAL);
    m_titleLabel = new wxStaticText(m_tablePanel, wxWindow::NewControlId(), _("Chart Title"), wxDefaultPosition,
                                    wxDefaultSize, 0, numbered("ID_STATICTEXT", 3));
    // Sized from the table's extent (at most about 800 x 500) with a small
    // minimum: the grid's own best size would measure every cell.
    m_grid = new wxGrid(m_tablePanel, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize,
                        wxWANTS_CHARS, "ID_GRID1");
    m_grid->SetMinSize(kGridMinSize);
    tableSizer->Add(m_titleLabel, 0, wxALL | wxALIGN_CENTER_HORIZONTAL, 5);
    tableSizer->Add(m_grid, 1, wxALL | wxEXPAND, 5);
    m_tablePanel->SetSizer(tableSizer);

    m_controlsPanel = buildControlsPanel(this);

    frameSizer->Add(m_sidePanel, 0, wxEXPAND, 0);
    frameSizer->Add(m_tablePanel, 1, wxEXPAND, 0);
    frameSizer->Add(m_controlsPanel, 0, wxEXPAND, 0);
    SetSizer(frameSizer);
}

wxPanel* TableEditorFrame::buildControlsPanel(wxWindow* parent)
{
    auto* panel = new wxPanel(parent, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL,
                              "ID_PANEL3");
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    int bitmapButtons = 0;
    auto bitmapButton = [&](const wxArtID& art, const char* tip) {
        auto* button = new wxBitmapButton(panel, wxWindow::NewControlId(), wxArtProvider::GetBitmap(art, wxART_BUTTON),
                                          wxDefaultPosition, wxDefaultSize, wxBU_AUTODRAW, wxDefaultValidator,
                                          numbered("ID_BITMAPBUTTON", ++bitmapButtons));
        button->SetToolTip(wxGetTranslation(tip));
        return button;
    };
    int buttons = 0;
    auto button = [&](const char* label, const char* tip) {
        auto* b = new wxButton(panel, wxWindow::NewControlId(), wxGetTranslation(label), wxDefaultPosition,
                               wxDefaultSize, 0, wxDefaultValidator, numbered("ID_BUTTON", ++buttons));
        if (tip)
            b->SetToolTip(wxGetTranslation(tip));
        return b;
    };
    int textCtrls = 0;
    auto textCtrl = [&](const wxSize& size) {
        return new wxTextCtrl(panel, wxWindow::NewControlId(), wxEmptyString, wxDefaultPosition, size, 0,
                              wxDefaultValidator, numbered("ID_TEXTCTRL", ++textCtrls));
    };

    // The three number kinds: a radio, the input, up and down.
    auto* inputs = new wxFlexGridSizer(3, 4, 0, 0);
    inputs->AddGrowableCol(1);
    m_rawMode = new wxRadioButton(panel, wxWindow::NewControlId(), _("Raw"), wxDefaultPosition, wxDefaultSize,
                                  wxRB_GROUP, wxDefaultValidator, "ID_RADIOBUTTON1");
    m_rawValue = new wxSpinCtrl(panel, wxWindow::NewControlId(), "0", wxDefaultPosition, wxDefaultSize,
                                wxSP_ARROW_KEYS, -2147483647, 2147483646, 0, "ID_SPINCTRL1");
    m_stepButtons[0] = bitmapButton(wxART_GO_UP, wxTRANSLATE("Increment raw value"));
    m_stepButtons[1] = bitmapButton(wxART_GO_DOWN, wxTRANSLATE("Decrement raw value"));
    m_percentageMode = new wxRadioButton(panel, wxWindow::NewControlId(), _("Perc."), wxDefaultPosition,
                                         wxDefaultSize, 0, wxDefaultValidator, "ID_RADIOBUTTON2");
    m_percentage = textCtrl(wxDefaultSize);
    m_stepButtons[2] = bitmapButton(wxART_GO_UP, wxTRANSLATE("Increment percentage value"));
    m_stepButtons[3] = bitmapButton(wxART_GO_DOWN, wxTRANSLATE("Decrement percentage value"));
    m_engineeringMode = new wxRadioButton(panel, wxWindow::NewControlId(), _("Eng."), wxDefaultPosition,
                                          wxDefaultSize, 0, wxDefaultValidator, "ID_RADIOBUTTON3");
    m_engineering = textCtrl(wxDefaultSize);
    m_stepButtons[4] = bitmapButton(wxART_GO_UP, wxTRANSLATE("Increment engineering value"));
    m_stepButtons[5] = bitmapButton(wxART_GO_DOWN, wxTRANSLATE("Decrement engineering value"));
    m_rawMode->SetValue(true);
    const std::array<wxWindow*, 3> modes = {m_rawMode, m_percentageMode, m_engineeringMode};
    const std::array<wxWindow*, 3> fields = {m_rawValue, m_percentage, m_engineering};
    for (int kind = 0; kind < 3; ++kind) {
        inputs->Add(modes[kind], 0, wxALL | wxALIGN_CENTER_VERTICAL, 3);
        inputs->Add(fields[kind], 1, wxALL | wxEXPAND | wxALIGN_CENTER_VERTICAL, 3);
        inputs->Add(m_stepButtons[2 * kind], 0, wxALL | wxALIGN_CENTER_VERTICAL, 1);
        inputs->Add(m_stepButtons[2 * kind + 1], 0, wxALL | wxALIGN_CENTER_VERTICAL, 1);
    }
    sizer->Add(inputs, 0, wxALL | wxEXPAND, 5);

    m_fillButton = button(wxTRANSLATE("Fill with value"), wxTRANSLATE("Fill cells with fixed value"));
    sizer->Add(m_fillButton, 0, wxALL | wxEXPAND, 3);
    auto* selectRow = new wxBoxSizer(wxHORIZONTAL);
    m_selectByValueButton = button(wxTRANSLATE("Select by value"), wxTRANSLATE("Select cells by value"));
    m_selectGreaterButton = button(wxTRANSLATE("Select >="), nullptr);
    selectRow->Add(m_selectByValueButton, 1, wxALL | wxEXPAND, 3);
    selectRow->Add(m_selectGreaterButton, 1, wxALL | wxEXPAND, 3);
    sizer->Add(selectRow, 0, wxEXPAND, 0);

    auto* arrows = new wxBoxSizer(wxHORIZONTAL);
    const wxArtID arrowArt[5] = {wxART_GO_UP, wxART_GO_BACK, wxART_GO_HOME, wxART_GO_FORWARD, wxART_GO_DOWN};
    for (int i = 0; i < 5; ++i) {
        m_arrowButtons[i] = bitmapButton(arrowArt[i], i == 2 ? wxTRANSLATE("Show statistics of selected cells")
                                                              : wxTRANSLATE("Function not available!"));
        arrows->Add(m_arrowButtons[i], 0, wxALL, 1);
    }
    sizer->Add(arrows, 0, wxALL | wxALIGN_CENTER_HORIZONTAL, 5);

    // Interpolation corners: top-left, top-right / bottom-left, bottom-right.
    auto* corners = new wxGridSizer(2, 2, 0, 0);
    for (wxTextCtrl*& corner : m_corners) {
        corner = textCtrl(wxSize(90, -1));
        corners->Add(corner, 1, wxALL | wxEXPAND, 3);
    }
    sizer->Add(corners, 0, wxALL | wxEXPAND, 5);
    m_interpolationButton = button(wxTRANSLATE("Interpolation"), nullptr);
    sizer->Add(m_interpolationButton, 0, wxALL | wxEXPAND, 3);

    panel->SetSizer(sizer);
    return panel;
}

void TableEditorFrame::setupGrid()
{
    m_table = new TableGridTable(*m_model, m_selection, {}, {});
    readHeaders();
    m_table->setSelectionColours(m_grid->GetSelectionBackground(), m_grid->GetSelectionForeground());
    // The selection lives in the mask; the grid's own selection stays unused.
    m_grid->SetTable(m_table, true, wxGrid::wxGridSelectNone);
    m_grid->EnableEditing(true);
    m_grid->EnableGridLines(true);
    m_grid->EnableDragRowSize(false);
    m_grid->EnableDragColSize(false);
    m_grid->EnableDragGridSize(false);
    m_grid->SetDefaultCellFont(m_grid->GetFont());
    m_grid->SetDefaultCellTextColour(m_grid->GetForegroundColour());
    m_grid->SetDefaultCellAlignment(wxALIGN_RIGHT, wxALIGN_CENTRE);
    m_selectionInput = std::make_unique<GridSelectionInput>(m_grid, m_gesture, [this] {
        // A click that leaves nothing selected where nothing was changes no
        // cell's look: the grid redraws the cursor's two cells itself.
        if (!m_paintedSelectionEmpty || m_selection.any())
            repaintGrid();
        showSelectionSize();
    });
    guardDeleteKeys(m_grid);
    keepScrollBarsStill(m_grid);
}

void TableEditorFrame::connectEvents()
{
    auto on = [this](int id, auto handler) {
        Bind(wxEVT_MENU, [this, handler](wxCommandEvent&) { (this->*handler)(); }, id);
    };
    auto onButton = [](wxWindow* button, auto handler, TableEditorFrame* self) {
        button->Bind(wxEVT_BUTTON, [self, handler](wxCommandEvent&) { (self->*handler)(); });
    };

    // File.
    for (int id : {m_ids.apply, m_ids.toolApply})
        on(id, &TableEditorFrame::apply);
    for (int id : {m_ids.cancel, m_ids.toolCancel})
        Bind(wxEVT_MENU, [this](wxCommandEvent&) { Close(true); }, id);   // discards without asking

    // Cell operations.
    on(m_ids.copy, &TableEditorFrame::onCopyToClipboard);
    on(m_ids.toolCopy, &TableEditorFrame::onCopyToClipboard);
    on(m_ids.paste, &TableEditorFrame::onPasteFromClipboard);
    on(m_ids.toolPaste, &TableEditorFrame::onPasteFromClipboard);
    on(m_ids.incRaw, &TableEditorFrame::onIncrementRaw);
    on(m_ids.decRaw, &TableEditorFrame::onDecrementRaw);
    on(m_ids.incPerc, &TableEditorFrame::onIncrementPercentage);
    on(m_ids.decPerc, &TableEditorFrame::onDecrementPercentage);
    on(m_ids.incEng, &TableEditorFrame::onIncrementEngineering);
    on(m_ids.decEng, &TableEditorFrame::onDecrementEngineering);
    on(m_ids.fill, &TableEditorFrame::onFillWithValue);
    on(m_ids.selectByValue, &TableEditorFrame::onSelectByValue);
    on(m_ids.selectGreaterOrEqual, &TableEditorFrame::onSelectGreaterOrEqual);
    on(m_ids.viewer3d, &TableEditorFrame::onView3D);
    on(m_ids.toolView3d, &TableEditorFrame::onView3D);
    onButton(m_stepButtons[0], &TableEditorFrame::onIncrementRaw, this);
    onButton(m_stepButtons[1], &TableEditorFrame::onDecrementRaw, this);
    onButton(m_stepButtons[2], &TableEditorFrame::onIncrementPercentage, this);
    onButton(m_stepButtons[3], &TableEditorFrame::onDecrementPercentage, this);
    onButton(m_stepButtons[4], &TableEditorFrame::onIncrementEngineering, this);
    onButton(m_stepButtons[5], &TableEditorFrame::onDecrementEngineering, this);
    onButton(m_fillButton, &TableEditorFrame::onFillWithValue, this);
    onButton(m_selectByValueButton, &TableEditorFrame::onSelectByValue, this);
    onButton(m_selectGreaterButton, &TableEditorFrame::onSelectGreaterOrEqual, this);
    onButton(m_interpolationButton, &TableEditorFrame::onInterpolation, this);
    onButton(m_arrowButtons[2], &TableEditorFrame::onStatistics, this);

    // Selection.
    on(m_ids.selectAll, &TableEditorFrame::onSelectAll);
    on(m_ids.invertSelection, &TableEditorFrame::onInvertSelections);
    on(m_ids.clearSelection, &TableEditorFrame::onClearSelections);

    // View switches.
    for (int k = 0; k < kRomBufferCount; ++k)
        Bind(wxEVT_MENU, [this, k](wxCommandEvent&) { onCompareItem(k); }, m_ids.compareBin[k]);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { differenceSwitch(); }, m_ids.showDifferences);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        toggle(m_ids.showDifferences);
        differenceSwitch();
    }, m_ids.toolShowDifferences);
    on(m_ids.showRaw, &TableEditorFrame::redrawSwitch);
    on(m_ids.highlightDifferences, &TableEditorFrame::redrawSwitch);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        toggle(m_ids.highlightDifferences);
        redrawSwitch();
    }, m_ids.toolHighlightDifferences);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        m_sidePanel->Show(isChecked(m_ids.viewGraphs));
        Layout();
    }, m_ids.viewGraphs);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        // A hidden control keeps no focus: the keys go to the grid.
        wxWindow* focus = wxWindow::FindFocus();
        const bool hadFocus = focus && (focus == m_controlsPanel || m_controlsPanel->IsDescendant(focus));
        m_controlsPanel->Show(isChecked(m_ids.viewControls));
        Layout();
        if (hadFocus && !m_controlsPanel->IsShown())
            m_grid->SetFocus();
    }, m_ids.viewControls);

    // The grid.
    m_grid->Bind(wxEVT_GRID_CELL_CHANGED, &TableEditorFrame::onCellChanged, this);
    m_grid->Bind(wxEVT_GRID_SELECT_CELL, &TableEditorFrame::onCurrentCellMoved, this);
    Bind(wxEVT_SIZE, &TableEditorFrame::onSize, this);
    // Undo and redo are keys only: the menus stay as they are.
    Bind(wxEVT_CHAR_HOOK, &TableEditorFrame::onCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &TableEditorFrame::onClose, this);
    m_keys = std::make_unique<TableEditorKeys>(*this);
}

// ---------------------------------------------------------------- view switches

bool TableEditorFrame::isChecked(int id) const
{
    return GetMenuBar()->IsChecked(id);
}

void TableEditorFrame::toggle(int id)
{
    GetMenuBar()->Check(id, !isChecked(id));
}

int TableEditorFrame::compareBuffer() const
{
    for (int k = 0; k < kRomBufferCount; ++k)
        if (isChecked(m_ids.compareBin[k]))
            return k;
    return -1;
}

bool TableEditorFrame::showDifferencesChecked() const
{
    return isChecked(m_ids.showDifferences);
}

bool TableEditorFrame::rawView() const
{
    return isChecked(m_ids.showRaw);
}

bool TableEditorFrame::differenceView() const
{
    return showDifferencesChecked() && compareBuffer() >= 0;
}

bool TableEditorFrame::highlightChecked() const
{
    return isChecked(m_ids.highlightDifferences);
}

void TableEditorFrame::fillGrid()
{
    const int compare = compareBuffer();
    m_cells.compareBuffer = compare >= 0 ? &m_workspace.buffers[compare] : nullptr;
    m_model->fill({rawView(), differenceView(), highlightChecked()});
    fitColumns();
    forgetCellLook();
    m_grid->ForceRefresh();
}

void TableEditorFrame::updateTitle()
{
    wxString title = _("[Source BIN #") + wxString::Format("%d", m_sourceBuffer + 1);
    const int compare = compareBuffer();
    if (compare >= 0)
        title += _(" : Compare BIN #") + wxString::Format("%d", compare + 1);
    SetTitle(title + _("]"));
}

void TableEditorFrame::onCompareItem(int index)
{
    if (isChecked(m_ids.compareBin[index])) {
        // An image too short for the map has no comparison to show; the
        // previous choice is still checked.
        if (!CellCodec::blockFits(m_map, usableSize(m_workspace.buffers[index]))) {
            GetMenuBar()->Check(m_ids.compareBin[index], false);
            SetStatusText(doesNotFitText(index), 1);
            return;
        }
        for (int k = 0; k < kRomBufferCount; ++k)
            if (k != index)
                GetMenuBar()->Check(m_ids.compareBin[k], false);
    }
    updateTitle();
    differenceSwitch();
}

void TableEditorFrame::readHeaders()
{
    const RomBuffer& source = m_workspace.buffers[m_sourceBuffer];
    const std::uint8_t* image = source.data.data();
    const std::size_t size = usableSize(source);
    m_table->setLabels(axisHeaderTexts(m_map.axes[AxisX], image, size), axisHeaderTexts(m_map.axes[AxisY], image, size));
}

void TableEditorFrame::takeUpSource()
{
    // Applying would otherwise write this editor's copy of every other cell
    // over what a load, a copy or another editor's Apply put there.
    // Undo and redo must then put back the new image's cells, not the old one's.
    std::vector<std::uint8_t> before, oldBase;
    if (m_history.canUndo() || m_history.canRedo()) {
        before = m_cells.workingCopy;
        oldBase = m_sourceBlock;
    }
    const std::size_t kept = m_cells.takeUpSource(m_sourceBlock, m_workspace.buffers[m_sourceBuffer]);
    if (!before.empty())
        m_history.rebase(before, oldBase, m_sourceBlock,
                         static_cast<std::size_t>(std::max(CellCodec::cellSize(m_cells.z()), 0)));
    readHeaders();
    fillGrid();
    refreshCharts();
    StatusText message;
    message.fixed("BIN #").literal(std::to_string(m_sourceBuffer + 1)).fixed(" changed: the table shows it anew");
    if (kept)
        message.fixed(", with the ").literal(std::to_string(kept)).fixed(kept == 1 ? " cell" : " cells")
            .fixed(" changed here kept");
    if (!CellCodec::blockFits(m_map, usableSize(m_workspace.buffers[m_sourceBuffer])))
        message.fixed("; the map no longer fits in it");
    showMessage(message.fixed("."));
}

void TableEditorFrame::onBufferChanged(int index)
{
    // A BIN loaded after the editor opened can be compared with too.
    GetMenuBar()->Enable(m_ids.compareBin[index], !m_workspace.buffers[index].empty());
    if (index == m_sourceBuffer && !m_writingSource)
        takeUpSource();
    if (index != compareBuffer())
        return;
    if (!CellCodec::blockFits(m_map, usableSize(m_workspace.buffers[index]))) {
        GetMenuBar()->Check(m_ids.compareBin[index], false);
        GetMenuBar()->Check(m_ids.showDifferences, false);
        updateTitle();
        redrawSwitch();
        SetStatusText(doesNotFitText(index), 1);
        return;
    }
    fillGrid();
}

void TableEditorFrame::differenceSwitch()
{
    clearMessage();
    if (showDifferencesChecked() && compareBuffer() < 0) {
        showMessage(wxTRANSLATE("Please select a BIN file for comparison."));
        GetMenuBar()->Check(m_ids.showDifferences, false);
    }
    fillGrid();
    m_sidePanel->Layout();
}

void TableEditorFrame::redrawSwitch()
{
    fillGrid();
    m_sidePanel->Layout();
}

// ---------------------------------------------------------------- grid

void TableEditorFrame::selectionChanged()
{
    m_gesture.restart();
    repaintGrid();
    showSelectionSize();
}

void TableEditorFrame::showSelectionSize()
{
    const std::string text = selectionSizeText(m_selection).compose(
        [](const std::string& piece) { return wxGetTranslation(wxString::FromUTF8(piece)).utf8_string(); });
    SetStatusText(wxString::FromUTF8(text), 0);
}

void TableEditorFrame::fitColumns()
{
    // A cut-off number reads as another number: the columns are as wide as
    // the widest value a cell can show in this view, whatever is typed later.
    if (m_usualColumnWidth == 0)
        m_usualColumnWidth = m_grid->GetDefaultColSize();
    int width = m_usualColumnWidth;
    wxClientDC dc(m_grid->GetGridWindow());
    dc.SetFont(m_grid->GetDefaultCellFont());
    for (const std::string& text : extremeCellTexts(m_cells.z(), rawView(), differenceView()))
        width = std::max(width, dc.GetTextExtent(wxString::FromUTF8(text)).x + 12);
    if (width != m_grid->GetDefaultColSize())
        m_grid->SetDefaultColSize(width, true);
}

void TableEditorFrame::forgetCellLook()
{
    // The grid keeps the look of the last cell it asked about (usually the
    // cursor's) and would paint that cell's old colour after a change: make
    // it keep a known cell, then forget that one.
    if (m_cells.rows() <= 0 || m_cells.columns() <= 0)
        return;
    m_grid->GetCellBackgroundColour(0, 0);
    m_grid->RefreshAttr(0, 0);
}

void TableEditorFrame::repaintGrid()
{
    forgetCellLook();
    m_grid->GetGridWindow()->Refresh(false);
    m_paintedSelectionEmpty = !m_selection.any();
}

void TableEditorFrame::refreshCell(int row, int col)
{
    forgetCellLook();
    m_grid->RefreshBlock(row, col, row, col);
}

void TableEditorFrame::redrawCell(int row, int col)
{
    if (row < 0 || col < 0 || row >= m_cells.rows() || col >= m_cells.columns())
        return;
    m_model->redrawCell(row, col);
    refreshCell(row, col);
}

void TableEditorFrame::redrawCells(const CellSelection& cells)
{
    m_model->redrawCells(cells);
    repaintGrid();
}

wxString TableEditorFrame::cellText(int row, int col) const
{
    return m_table->GetValue(row, col);
}

wxString TableEditorFrame::columnHeader(int col) const
{
    return m_table->GetColLabelValue(col);
}

wxString TableEditorFrame::rowHeader(int row) const
{
    return m_table->GetRowLabelValue(row);
}

void TableEditorFrame::showMessage(const wxString& text)
{
    SetStatusText(wxGetTranslation(text), 1);
}

void TableEditorFrame::clearMessage()
{
    SetStatusText(wxEmptyString, 1);
}

void TableEditorFrame::showMessage(const StatusText& text)
{
    const std::string composed = text.compose(
        [](const std::string& piece) { return wxGetTranslation(wxString::FromUTF8(piece)).utf8_string(); });
    SetStatusText(wxString::FromUTF8(composed), 1);
}

void TableEditorFrame::onCellChanged(wxGridEvent& event)
{
    event.Skip();
    const int row = event.GetRow();
    const int col = event.GetCol();
    m_history.begin(m_cells.workingCopy, m_selection);
    bool held = false, adjusted = false;
    const bool accepted = m_model->commitTypedText(row, col, &held, &adjusted);
    m_history.commit(m_cells.workingCopy, m_selection, {wxTRANSLATE("Value typed into a cell.")});
    m_editRejected = !accepted;
    if (!accepted)
        showMessage(wxTRANSLATE("This is not a valid number!"));
    else if (held) {
        StatusText message;
        appendHeldCount(message, 1);
        showMessage(message);
    } else if (adjusted)
        showMessage(StatusText("Stored as ").literal(m_model->text(row, col)).fixed("."));
    else
        clearMessage();
    refreshCell(row, col);
    refreshCharts();
}

void TableEditorFrame::onCurrentCellMoved(wxGridEvent& event)
{
    event.Skip();
    m_editRejected = false;   // moving on from a refused value: the tuner has seen its message
    showCharts(event.GetRow(), event.GetCol());
}

void TableEditorFrame::showCharts(int row, int col)
{
    if (row < 0 || col < 0 || row >= m_cells.rows() || col >= m_cells.columns())
        return;
    double* xs = m_xChart->values();
    for (int i = 0; i < m_xChart->count(); ++i)
        xs[i] = m_cells.eng(row, i);
    m_xChart->setHighlightIndex(col);
    double* ys = m_yChart->values();
    for (int j = 0; j < m_yChart->count(); ++j)
        ys[j] = m_cells.eng(j, col);
    m_yChart->setHighlightIndex(row);
    m_xChart->Refresh();
    m_yChart->Refresh();
}

void TableEditorFrame::refreshCharts()
{
    // Written cells may lie on the shown row or column; the charts must not lag behind the grid.
    // Until the grid has a cursor the charts show the first cell, as at opening.
    showCharts(std::max(m_grid->GetGridCursorRow(), 0), std::max(m_grid->GetGridCursorCol(), 0));
}

void TableEditorFrame::onSize(wxSizeEvent& event)
{
    event.Skip();
    if (m_xChart)
        m_xChart->Refresh();
    if (m_yChart)
        m_yChart->Refresh();
}

OperationMode TableEditorFrame::operationMode() const
{
    if (m_percentageMode->GetValue())
        return OperationMode::Percent;
    if (m_engineeringMode->GetValue())
        return OperationMode::Engineering;
    return OperationMode::Raw;
}

// ---------------------------------------------------------------- Apply

void TableEditorFrame::apply()
{
    if (!takeInTypedValue())
        showMessage(wxTRANSLATE("This is not a valid number!"));
    else if (writeToSource())
        Close(true);
}

bool TableEditorFrame::takeInTypedValue()
{
    // Clicking a tool or another window may have taken the value in already,
    // as the cell editor lost the focus; a refusal then still stops once.
    if (m_grid->IsCellEditControlEnabled()) {
        m_editRejected = false;
        commitCellEdit();
    }
    const bool taken = !m_editRejected;
    m_editRejected = false;
    return taken;
}

bool TableEditorFrame::writeToSource()
{
    if (m_definitionChanged) {
        showMessage(wxTRANSLATE("The map definition has changed: copy the cells, then open the map again."));
        return false;
    }
    RomBuffer& source = m_workspace.buffers[m_sourceBuffer];
    if (!CellCodec::blockFits(m_map, usableSize(source))) {
        // The editor's own BIN, whichever is selected in the main window now.
        SetStatusText(doesNotFitText(m_sourceBuffer), 1);
        return false;
    }
    const auto target = source.data.begin() + static_cast<std::ptrdiff_t>(m_map.axes[AxisZ].address);
    m_sourceBlock = m_cells.workingCopy;
    // Bytes the image already holds are no change to save.
    if (std::equal(m_cells.workingCopy.begin(), m_cells.workingCopy.end(), target))
        return true;
    std::copy(m_cells.workingCopy.begin(), m_cells.workingCopy.end(), target);
    m_writingSource = true;
    m_workspace.bufferListeners.notify(m_sourceBuffer);
    m_writingSource = false;
    return true;
}

bool TableEditorFrame::TryBefore(wxEvent& event)
{
    // A refused value stops Apply there; other commands go on.
    if (event.GetEventType() == wxEVT_MENU && m_grid && m_grid->IsCellEditControlEnabled()) {
        commitCellEdit();
        const bool applying = event.GetId() == m_ids.apply || event.GetId() == m_ids.toolApply;
        if (!applying)
            m_editRejected = false;   // its message shows; the command goes on
        else if (!takeInTypedValue())
            return true;
    }
    return wxFrame::TryBefore(event);
}

void TableEditorFrame::commitCellEdit()
{
    // Ends the edit as Enter would: the grid then reports the changed cell.
    m_grid->DisableCellEditControl();
}

void TableEditorFrame::onDefinitionsChanged()
{
    // The map may have moved in the list (a Delete or an Add before it);
    // its cells stand while any map still describes them so.
    const DefinitionStore& store = m_workspace.definitions;
    const auto describes = [&](int slot) { return CellCodec::sameCells(store.maps[slot], m_map); };
    bool changed = m_mapIndex >= store.mapCount || !describes(m_mapIndex);
    for (int slot = 0; changed && slot < store.mapCount; ++slot)
        changed = !describes(slot);
    if (changed && !m_definitionChanged)
        showMessage(wxTRANSLATE("The map definition has changed: copy the cells, then open the map again."));
    else if (!changed && m_definitionChanged)
        showMessage(wxTRANSLATE("The map definition is as before: Apply writes these cells again."));
    m_definitionChanged = changed;
}

void TableEditorFrame::onClose(wxCloseEvent& event)
{
    // A forced close (Apply, "Cancel", the program ending) does not ask.
    if (event.CanVeto() && !m_askingToClose && !takeInTypedValue()) {
        showMessage(wxTRANSLATE("This is not a valid number!"));
        Raise();   // asked to close from elsewhere (quitting), it says why it stays
        event.Veto();
        return;
    }
    if (event.CanVeto() && (m_askingToClose || !confirmClose())) {
        event.Veto();
        return;
    }
    event.Skip();
}

bool TableEditorFrame::holdsUnappliedChanges() const
{
    // Something typed or operated here that Apply would write, or a value
    // just refused, which stops the close once.
    return m_editRejected || m_grid->IsCellEditControlEnabled() ||
           (m_cells.workingCopy != m_sourceBlock && m_cells.differsFrom(m_workspace.buffers[m_sourceBuffer]));
}

bool TableEditorFrame::confirmClose()
{
    if (!holdsUnappliedChanges())
        return true;
    const wxString bin = wxString::Format("%d", m_sourceBuffer + 1);
    wxMessageDialog question(this, _("The table has changes that are not applied to BIN #") + bin + _("."),
                             _("Table Editor"), wxYES_NO | wxCANCEL | wxYES_DEFAULT | wxICON_QUESTION);
    question.SetYesNoCancelLabels(_("Apply"), _("Discard"), _("Keep editing"));
    m_askingToClose = true;
    const int answer = question.ShowModal();
    m_askingToClose = false;
    const bool closes = answer == wxID_YES ? writeToSource() : answer == wxID_NO;
    // Staying open, the keys go to the grid: the focus would otherwise go
    // back to the cell editor that the value was just taken from.
    if (!closes)
        m_grid->SetFocus();
    return closes;
}

// ---------------------------------------------------------------- selection commands

void TableEditorFrame::onSelectAll() { runOperation(CellOperation::SelectAll); }
void TableEditorFrame::onInvertSelections() { runOperation(CellOperation::InvertSelection); }
void TableEditorFrame::onClearSelections() { runOperation(CellOperation::ClearSelection); }

// ---------------------------------------------------------------- cell operations

namespace {

// The operations that write cells: each is one step of the history.
bool writesCells(CellOperation operation)
{
    switch (operation) {
    case CellOperation::IncrementRaw:
    case CellOperation::DecrementRaw:
    case CellOperation::IncrementPercent:
    case CellOperation::DecrementPercent:
    case CellOperation::IncrementEngineering:
    case CellOperation::DecrementEngineering:
    case CellOperation::Fill:
    case CellOperation::Interpolate:
        return true;
    default:
        return false;
    }
}

} // namespace

CellInputs TableEditorFrame::readInputs() const
{
    CellInputs inputs;
    inputs.rawValue = m_rawValue->GetValue();
    inputs.percentText = m_percentage->GetValue().utf8_string();
    inputs.engineeringText = m_engineering->GetValue().utf8_string();
    for (std::size_t i = 0; i < m_corners.size(); ++i)
        inputs.cornerTexts[i] = m_corners[i]->GetValue().utf8_string();
    inputs.mode = operationMode();
    inputs.cursorRow = m_grid->GetGridCursorRow();
    inputs.cursorColumn = m_grid->GetGridCursorCol();
    return inputs;
}

void TableEditorFrame::colourFields(unsigned accepted, unsigned rejected)
{
    const std::pair<unsigned, wxTextCtrl*> fields[] = {
        {FieldPercent, m_percentage},    {FieldEngineering, m_engineering}, {FieldTopLeft, m_corners[0]},
        {FieldTopRight, m_corners[1]},   {FieldBottomLeft, m_corners[2]},   {FieldBottomRight, m_corners[3]},
    };
    for (const auto& [bit, field] : fields) {
        if (!((accepted | rejected) & bit))
            continue;
        field->SetForegroundColour((rejected & bit) ? wxColour(255, 0, 0) : wxColour(0, 0, 0));
        field->Refresh();
    }
}

void TableEditorFrame::runOperation(CellOperation operation)
{
    const bool writes = writesCells(operation);
    if (writes)
        m_history.begin(m_cells.workingCopy, m_selection);
    const CellOperationResult result = runCellOperation(operation, m_cells, m_selection, readInputs());
    if (writes)
        m_history.commit(m_cells.workingCopy, m_selection, result.note);
    colourFields(result.acceptedFields, result.rejectedFields);
    if (result.cellsWritten) {
        if (result.onCursorCell)
            redrawCell(m_grid->GetGridCursorRow(), m_grid->GetGridCursorCol());
        else
            redrawCells(m_selection);
        refreshCharts();
    }
    if (result.selectionChanged)
        selectionChanged();
    if (!result.message.empty())
        showMessage(result.message);
}

void TableEditorFrame::onIncrementRaw() { runOperation(CellOperation::IncrementRaw); }
void TableEditorFrame::onDecrementRaw() { runOperation(CellOperation::DecrementRaw); }
void TableEditorFrame::onIncrementPercentage() { runOperation(CellOperation::IncrementPercent); }
void TableEditorFrame::onDecrementPercentage() { runOperation(CellOperation::DecrementPercent); }
void TableEditorFrame::onIncrementEngineering() { runOperation(CellOperation::IncrementEngineering); }
void TableEditorFrame::onDecrementEngineering() { runOperation(CellOperation::DecrementEngineering); }
void TableEditorFrame::onFillWithValue() { runOperation(CellOperation::Fill); }
void TableEditorFrame::onSelectByValue() { runOperation(CellOperation::SelectEqual); }
void TableEditorFrame::onSelectGreaterOrEqual() { runOperation(CellOperation::SelectGreaterOrEqual); }
void TableEditorFrame::onInterpolation() { runOperation(CellOperation::Interpolate); }
void TableEditorFrame::onStatistics() { runOperation(CellOperation::Statistics); }

// ---------------------------------------------------------------- clipboard

void TableEditorFrame::onCopyToClipboard()
{
    CellSelection single;
    const CellSelection& cells =
        cellsToActOn(m_selection, m_grid->GetGridCursorRow(), m_grid->GetGridCursorCol(), single);
    std::string text = encodeClipboardText(rawView(), differenceView(), cells,
                                                 [this](int row, int col) { return m_model->text(row, col); });
    if (writeClipboardText(std::move(text)))
        showMessage(wxTRANSLATE("Data copied to clipboard."));
}

void TableEditorFrame::onPasteFromClipboard()
{
    std::string text;
    if (!readClipboardText(text))
        return;
    // Text of another program (a spreadsheet's block) lands at the cursor.
    const int top = std::max(m_grid->GetGridCursorRow(), 0);
    const int left = std::max(m_grid->GetGridCursorCol(), 0);
    m_history.begin(m_cells.workingCopy, m_selection);
    const PasteResult result = pasteAnyText(text, *m_model, top, left);
    m_history.commit(m_cells.workingCopy, m_selection, result.note);
    if (result.writtenCount > 0) {
        redrawCells(result.written);
        refreshCharts();
    }
    if (!result.message.empty())
        showMessage(result.message);
}

// ---------------------------------------------------------------- 3D view

void TableEditorFrame::onView3D()
{
    const std::string data = plotData(
        m_cells.rows(), m_cells.columns(), [this](int col) { return columnHeader(col).utf8_string(); },
        [this](int row) { return rowHeader(row).utf8_string(); },
        [this](int row, int col) { return m_model->text(row, col); });
    const PlotStatus status = writePlotFiles(plotScript(m_map), data);
    if (status != PlotStatus::Written) {
        showMessage(plotStatusMessage(status));
        return;
    }
    // Whether gnuplot is there and draws is its own affair.
    clearMessage();
    showPlot(this);
}

// ---------------------------------------------------------------- undo and redo

void TableEditorFrame::onCharHook(wxKeyEvent& event)
{
    event.Skip();
    const int key = event.GetKeyCode();
    const int modifiers = event.GetModifiers();
    const bool z = key == 'Z' || key == 'z';
    const bool undoKey = modifiers == wxMOD_CONTROL && z;
    const bool redoKey =
        (modifiers == wxMOD_CONTROL && (key == 'Y' || key == 'y')) || (modifiers == (wxMOD_CONTROL | wxMOD_SHIFT) && z);
    if (!undoKey && !redoKey)
        return;
    // A text being typed (into a cell or a field) keeps its own keys.
    wxWindow* focus = FindFocus();
    if (m_grid->IsCellEditControlShown() || dynamic_cast<wxTextCtrl*>(focus) || dynamic_cast<wxSpinCtrl*>(focus))
        return;
    event.Skip(false);
    if (undoKey)
        undo();
    else
        redo();
}

bool TableEditorFrame::undo()
{
    const EditNote note = m_history.undoNote();
    std::vector<ByteRange> touched;
    if (!m_history.undo(m_cells.workingCopy, m_selection, touched)) {
        showMessage(wxTRANSLATE("Nothing to undo."));
        return false;
    }
    showRestored(touched);
    showMessage(editNoteMessage(false, note));
    return true;
}

bool TableEditorFrame::redo()
{
    const EditNote note = m_history.redoNote();
    std::vector<ByteRange> touched;
    if (!m_history.redo(m_cells.workingCopy, m_selection, touched)) {
        showMessage(wxTRANSLATE("Nothing to redo."));
        return false;
    }
    showRestored(touched);
    showMessage(editNoteMessage(true, note));
    return true;
}

void TableEditorFrame::showRestored(const std::vector<ByteRange>& touched)
{
    m_model->redrawCells(touchedCells(m_cells, touched));
    selectionChanged();
    refreshCharts();
}
