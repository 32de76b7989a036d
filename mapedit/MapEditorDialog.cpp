#include "mapedit/MapEditorDialog.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/grid.h>
#include <wx/intl.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "common/store_text_ui.h"
#include "workspace/workspace.h"

namespace {

const std::vector<const char*> kTypeItems = {wxTRANSLATE("Integer"), wxTRANSLATE("Float")};
const std::vector<const char*> kDecimalsItems = {wxTRANSLATE("0"), wxTRANSLATE("1"), wxTRANSLATE("2"),
                                                 wxTRANSLATE("3"), wxTRANSLATE("4"), wxTRANSLATE("5"),
                                                 wxTRANSLATE("6")};
const std::vector<const char*> kBitsItems = {wxTRANSLATE("8"), wxTRANSLATE("16"), wxTRANSLATE("32")};
const std::vector<const char*> kSignItems = {wxTRANSLATE("Unsigned"), wxTRANSLATE("Signed")};
const std::vector<const char*> kByteOrderItems = {wxTRANSLATE("MSB First"), wxTRANSLATE("LSB First")};
const std::vector<const char*> kDataOrderItems = {wxTRANSLATE("Y / X"), wxTRANSLATE("X / Y")};
const std::vector<const char*> kSourceItems = {wxTRANSLATE("Manual"), wxTRANSLATE("Embedded"),
                                               wxTRANSLATE("Scaled")};

// Units are data that go into the maps file as chosen: not translated.
const char* const kUnitPresets[] = {"RPM", "mg/s", "Load", "Throttle", "Absolute Pressure", "Differential Pressure",
                                    "MAF", "Intake Air Flow", "MAP", "Intake Air Pressure", "IAT",
                                    "Intake Air Temperature"};

// Field controls of the axis pages are kept narrow: the label grid sits beside them.
constexpr int kFieldWidth = 150;

wxFlexGridSizer* fieldSizer()
{
    auto* sizer = new wxFlexGridSizer(0, 2, 0, 0);
    sizer->AddGrowableCol(1);
    return sizer;
}

// The controls the keyboard reaches in a window, in their order of creation
// (which is the layout's order): panels count by their controls.
void collectControls(wxWindow* window, std::vector<wxWindow*>& controls)
{
    for (wxWindow* child : window->GetChildren()) {
        if (child->IsTopLevel() || !child->IsShown() || !child->IsEnabled())
            continue;
        if (dynamic_cast<wxPanel*>(child))
            collectControls(child, controls);
        else if (child->AcceptsFocusFromKeyboard() || dynamic_cast<wxGrid*>(child))   // a grid: by its inner window
            controls.push_back(child);
    }
}

bool isPageKey(const wxKeyEvent& event, bool& forward)
{
    const int key = event.GetKeyCode();
    forward = key == WXK_PAGEDOWN || key == WXK_NUMPAD_PAGEDOWN;
    return event.GetModifiers() == wxMOD_CONTROL
           && (forward || key == WXK_PAGEUP || key == WXK_NUMPAD_PAGEUP);
}

} // namespace

MapEditorDialog::MapEditorDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, _("Map Editor"), wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    m_notebook = new wxNotebook(this, wxWindow::NewControlId(), wxDefaultPosition, wxSize(442, 490), 0,
                                "ID_NOTEBOOK1");
    buildSettingsPage();
    buildZPage();
    buildLabelAxisPage(AxisX, "ID_PANEL1", "ID_PANEL8", "ID_PANEL5", "ID_GRID1",
                       {"ID_TEXTCTRL8", "ID_COMBOBOX1", "ID_CHOICE7", "ID_CHOICE8", "ID_TEXTCTRL10", "ID_TEXTCTRL11",
                        "ID_CHOICE9", "ID_TEXTCTRL4", "ID_CHOICE11", "ID_CHOICE10", "ID_CHOICE12"});
    buildLabelAxisPage(AxisY, "ID_PANEL2", "ID_PANEL9", "ID_PANEL10", "ID_GRID2",
                       {"ID_TEXTCTRL12", "ID_COMBOBOX2", "ID_CHOICE13", "ID_CHOICE14", "ID_TEXTCTRL14",
                        "ID_TEXTCTRL15", "ID_CHOICE15", "ID_TEXTCTRL16", "ID_CHOICE16", "ID_CHOICE17",
                        "ID_CHOICE18"});
    sizer->Add(m_notebook, 1, wxALL | wxEXPAND, 5);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    m_apply = new wxButton(this, wxWindow::NewControlId(), _("Apply && Close"), wxDefaultPosition, wxDefaultSize, 0,
                           wxDefaultValidator, "ID_BUTTON1");
    m_cancel = new wxButton(this, wxWindow::NewControlId(), _("Cancel"), wxDefaultPosition, wxDefaultSize, 0,
                            wxDefaultValidator, "ID_BUTTON3");
    buttons->Add(m_apply, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
    buttons->Add(m_cancel, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
    // Enter applies and Escape cancels, as in any dialog; the buttons'
    // identifiers are allocated at run time.
    m_apply->SetDefault();
    SetEscapeId(m_cancel->GetId());
    // Escape while a label is being typed drops that label only, as in any
    // grid, instead of the whole form.
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE)
            for (const AxisControls& axis : m_axes)
                if (wxGrid* grid = axis.grid; grid && grid->IsCellEditControlShown()) {
                    wxGridCellEditor* editor = grid->GetCellEditor(grid->GetGridCursorRow(), grid->GetGridCursorCol());
                    editor->Reset();   // the text as it was: ending the edit changes nothing
                    editor->DecRef();
                    grid->DisableCellEditControl();
                    return;
                }
        if (!moveThroughForm(event))
            event.Skip();
    });
    sizer->Add(buttons, 0, wxALL | wxALIGN_CENTER_HORIZONTAL, 5);
    SetSizer(sizer);
    sizer->Fit(this);
    sizer->SetSizeHints(this);
    CentreOnScreen();

    bindAxis(AxisX);
    bindAxis(AxisY);
    m_apply->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { applyDialog(); });
    m_cancel->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        m_applied = false;
        finish(wxID_CANCEL);
    });
}

bool MapEditorDialog::moveThroughForm(const wxKeyEvent& event)
{
    // A label grid takes Tab for its own rows and the page keys for
    // scrolling, and the notebook turns its pages only while it holds the
    // focus (not from the buttons): from the keyboard the whole form must be
    // reachable. The label being typed is taken.
    wxWindow* focus = wxWindow::FindFocus();
    wxGrid* grid = nullptr;
    for (const AxisControls& axis : m_axes)
        if (axis.grid && focus && (focus == axis.grid || axis.grid->IsDescendant(focus)))
            grid = axis.grid;
    bool forward = false;
    const bool tab = grid && event.GetKeyCode() == WXK_TAB && (event.GetModifiers() & ~wxMOD_SHIFT) == 0;
    const bool page = isPageKey(event, forward);
    if (!tab && !page)
        return false;
    if (grid)
        grid->DisableCellEditControl();
    std::vector<wxWindow*> controls;
    if (page) {
        m_notebook->AdvanceSelection(forward);
        collectControls(m_notebook->GetCurrentPage(), controls);
        if (!controls.empty())
            controls.front()->SetFocus();
        return true;
    }
    if (!event.ShiftDown()) {   // the page's last control: next come the buttons
        m_apply->SetFocus();
        return true;
    }
    collectControls(m_notebook->GetCurrentPage(), controls);
    const auto at = std::find(controls.begin(), controls.end(), grid);
    if (at != controls.begin() && at != controls.end())
        (*std::prev(at))->SetFocus();
    return true;
}

wxStaticText* MapEditorDialog::addLabel(wxWindow* parent, wxSizer* sizer, const char* text)
{
    auto* label = new wxStaticText(parent, wxWindow::NewControlId(), wxGetTranslation(text), wxDefaultPosition,
                                   wxDefaultSize, 0, wxString::Format("ID_STATICTEXT%d", ++m_staticTexts));
    sizer->Add(label, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
    return label;
}

wxTextCtrl* MapEditorDialog::addText(wxWindow* parent, wxSizer* sizer, const char* label, const char* name)
{
    addLabel(parent, sizer, label);
    auto* text = new wxTextCtrl(parent, wxWindow::NewControlId(), wxEmptyString, wxDefaultPosition,
                                wxSize(kFieldWidth, -1), 0, wxDefaultValidator, name);
    sizer->Add(text, 1, wxALL | wxEXPAND | wxALIGN_CENTER_VERTICAL, 5);
    return text;
}

wxChoice* MapEditorDialog::addChoice(wxWindow* parent, wxSizer* sizer, const char* label, const char* name,
                                     const std::vector<const char*>& items)
{
    addLabel(parent, sizer, label);
    wxArrayString texts;
    for (const char* item : items)
        texts.Add(wxGetTranslation(item));
    auto* choice = new wxChoice(parent, wxWindow::NewControlId(), wxDefaultPosition, wxSize(kFieldWidth, -1),
                                texts, 0, wxDefaultValidator, name);
    choice->SetSelection(0);
    sizer->Add(choice, 1, wxALL | wxEXPAND | wxALIGN_CENTER_VERTICAL, 5);
    return choice;
}

wxComboBox* MapEditorDialog::addUnits(wxWindow* parent, wxSizer* sizer, const char* name)
{
    addLabel(parent, sizer, wxTRANSLATE("Units"));
    wxArrayString presets;
    for (const char* unit : kUnitPresets)
        presets.Add(unit);
    auto* units = new wxComboBox(parent, wxWindow::NewControlId(), wxEmptyString, wxDefaultPosition,
                                 wxSize(kFieldWidth, -1), presets, wxTE_PROCESS_ENTER, wxDefaultValidator, name);
    // Enter applies the form here too, as in the text fields.
    units->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { applyDialog(); });
    sizer->Add(units, 1, wxALL | wxEXPAND | wxALIGN_CENTER_VERTICAL, 5);
    return units;
}

wxGrid* MapEditorDialog::addLabelGrid(wxPanel* page, wxSizer* sizer, const char* name)
{
    auto* grid = new wxGrid(page, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize, wxWANTS_CHARS, name);
    grid->CreateGrid(1, 1);
    grid->EnableEditing(true);
    grid->EnableGridLines(true);
    grid->SetDefaultCellFont(grid->GetFont());
    grid->SetDefaultCellTextColour(grid->GetForegroundColour());
    grid->SetDefaultCellAlignment(wxALIGN_RIGHT, wxALIGN_CENTRE);
    grid->SetRowLabelSize(44);
    grid->SetDefaultColSize(100, true);
    // One column: Tab leaves the grid for the next control, as in the rest of the form.
    grid->SetTabBehaviour(wxGrid::Tab_Leave);
    sizer->Add(grid, 1, wxALL | wxEXPAND, 5);
    return grid;
}

void MapEditorDialog::buildSettingsPage()
{
    auto* page = new wxPanel(m_notebook, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize,
                             wxTAB_TRAVERSAL, "ID_PANEL4");
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* names = fieldSizer();
    m_title = addText(page, names, wxTRANSLATE("Display Name"), "ID_TEXTCTRL1");
    m_description = addText(page, names, wxTRANSLATE("Description"), "ID_TEXTCTRL2");
    sizer->Add(names, 0, wxALL | wxEXPAND, 5);

    // Shown for the definition set's sake; the dialog neither fills nor reads them.
    auto* authorship = new wxFlexGridSizer(2, 2, 0, 0);
    authorship->AddGrowableCol(0);
    authorship->AddGrowableCol(1);
    addLabel(page, authorship, wxTRANSLATE("Author"));
    addLabel(page, authorship, wxTRANSLATE("Version"));
    for (const char* name : {"ID_TEXTCTRL5", "ID_TEXTCTRL9"})
        authorship->Add(new wxTextCtrl(page, wxWindow::NewControlId(), wxEmptyString, wxDefaultPosition,
                                       wxDefaultSize, 0, wxDefaultValidator, name),
                        1, wxALL | wxEXPAND, 5);
    sizer->Add(authorship, 0, wxALL | wxEXPAND, 5);

    auto* checksum = fieldSizer();
    addChoice(page, checksum, wxTRANSLATE("Checksum Plugin"), "ID_CHOICE19", {wxTRANSLATE("0 - Automatic")});
    sizer->Add(checksum, 0, wxALL | wxEXPAND, 5);

    page->SetSizer(sizer);
    m_notebook->AddPage(page, _("Settings"));
}

void MapEditorDialog::buildZPage()
{
    auto* page = new wxPanel(m_notebook, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize,
                             wxTAB_TRAVERSAL, "ID_PANEL3");
    AxisControls& z = m_axes[AxisZ];
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    auto* fields = new wxBoxSizer(wxVERTICAL);

    auto* scaling = new wxPanel(page, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL,
                                "ID_PANEL11");
    auto* scalingSizer = fieldSizer();
    z.units = addUnits(scaling, scalingSizer, "ID_COMBOBOX3");
    z.type = addChoice(scaling, scalingSizer, wxTRANSLATE("Type"), "ID_CHOICE1", kTypeItems);
    z.decimals = addChoice(scaling, scalingSizer, wxTRANSLATE("Decimals"), "ID_CHOICE6", kDecimalsItems);
    z.offset = addText(scaling, scalingSizer, wxTRANSLATE("Offset"), "ID_TEXTCTRL6");
    z.factor = addText(scaling, scalingSizer, wxTRANSLATE("Factor"), "ID_TEXTCTRL7");
    scaling->SetSizer(scalingSizer);
    fields->Add(scaling, 0, wxALL | wxEXPAND, 0);

    auto* storage = new wxPanel(page, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL,
                                "ID_PANEL6");
    auto* storageSizer = fieldSizer();
    z.address = addText(storage, storageSizer, wxTRANSLATE("Address"), "ID_TEXTCTRL3");
    z.bits = addChoice(storage, storageSizer, wxTRANSLATE("Bits"), "ID_CHOICE2", kBitsItems);
    z.sign = addChoice(storage, storageSizer, wxTRANSLATE("Sign"), "ID_CHOICE3", kSignItems);
    z.byteOrder = addChoice(storage, storageSizer, wxTRANSLATE("Byte Order"), "ID_CHOICE4", kByteOrderItems);
    z.dataOrder = addChoice(storage, storageSizer, wxTRANSLATE("Data Order"), "ID_CHOICE5", kDataOrderItems);
    storage->SetSizer(storageSizer);
    fields->Add(storage, 0, wxALL | wxEXPAND, 0);

    columns->Add(fields, 0, wxALL | wxEXPAND, 0);
    z.grid = addLabelGrid(page, columns, "ID_GRID3");
    page->SetSizer(columns);
    m_notebook->AddPage(page, _("Z Axis"));
}

void MapEditorDialog::buildLabelAxisPage(int axis, const char* panel, const char* firstPanel,
                                         const char* secondPanel, const char* grid,
                                         const std::array<const char*, 11>& names)
{
    auto* page = new wxPanel(m_notebook, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize,
                             wxTAB_TRAVERSAL, panel);
    AxisControls& a = m_axes[axis];
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    auto* fields = new wxBoxSizer(wxVERTICAL);

    auto* scaling = new wxPanel(page, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL,
                                firstPanel);
    auto* scalingSizer = fieldSizer();
    a.count = addText(scaling, scalingSizer, wxTRANSLATE("Count"), names[0]);
    a.units = addUnits(scaling, scalingSizer, names[1]);
    a.type = addChoice(scaling, scalingSizer, wxTRANSLATE("Type"), names[2], kTypeItems);
    a.decimals = addChoice(scaling, scalingSizer, wxTRANSLATE("Decimals"), names[3], kDecimalsItems);
    a.offset = addText(scaling, scalingSizer, wxTRANSLATE("Offset"), names[4]);
    a.factor = addText(scaling, scalingSizer, wxTRANSLATE("Factor"), names[5]);
    scaling->SetSizer(scalingSizer);
    fields->Add(scaling, 0, wxALL | wxEXPAND, 0);

    auto* storage = new wxPanel(page, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL,
                                secondPanel);
    auto* storageSizer = fieldSizer();
    a.source = addChoice(storage, storageSizer, wxTRANSLATE("Source"), names[6], kSourceItems);
    a.address = addText(storage, storageSizer, wxTRANSLATE("Address"), names[7]);
    a.sign = addChoice(storage, storageSizer, wxTRANSLATE("Sign"), names[8], kSignItems);
    a.bits = addChoice(storage, storageSizer, wxTRANSLATE("Bits"), names[9], kBitsItems);
    a.byteOrder = addChoice(storage, storageSizer, wxTRANSLATE("Byte Order"), names[10], kByteOrderItems);
    storage->SetSizer(storageSizer);
    fields->Add(storage, 0, wxALL | wxEXPAND, 0);

    columns->Add(fields, 0, wxALL | wxEXPAND, 0);
    a.grid = addLabelGrid(page, columns, grid);
    page->SetSizer(columns);
    m_notebook->AddPage(page, axis == AxisX ? _("X Axis") : _("Y Axis"));
}

void MapEditorDialog::bindAxis(int axis)
{
    const AxisControls& a = m_axes[axis];
    auto rebuild = [this, axis](wxCommandEvent&) { rebuildLabelRows(axis); };
    auto recount = [this, axis](wxCommandEvent&) { rebuildLabelRows(axis, true); };
    auto preview = [this, axis](wxCommandEvent&) { previewEmbeddedLabels(axis); };
    a.source->Bind(wxEVT_CHOICE, rebuild);
    a.count->Bind(wxEVT_TEXT, recount);
    for (wxChoice* choice : {a.type, a.decimals, a.sign, a.bits, a.byteOrder})
        choice->Bind(wxEVT_CHOICE, preview);
    for (wxTextCtrl* text : {a.offset, a.factor, a.address})
        text->Bind(wxEVT_TEXT, preview);
    a.units->Bind(wxEVT_TEXT, [this, axis](wxCommandEvent&) { showUnitsLabel(axis); });
    a.units->Bind(wxEVT_COMBOBOX, [this, axis](wxCommandEvent&) { showUnitsLabel(axis); });
}

AxisForm MapEditorDialog::readAxis(int axis, bool withLabels) const
{
    const AxisControls& a = m_axes[axis];
    AxisForm form;
    if (a.count)
        form.count = toStoreText(a.count->GetValue());
    form.units = toStoreText(a.units->GetValue());
    form.type = a.type->GetSelection();
    form.decimals = a.decimals->GetSelection();
    form.offset = toStoreText(a.offset->GetValue());
    form.factor = toStoreText(a.factor->GetValue());
    if (a.source)
        form.source = a.source->GetSelection();
    form.address = toStoreText(a.address->GetValue());
    form.sign = a.sign->GetSelection();
    form.bits = a.bits->GetSelection();
    form.byteOrder = a.byteOrder->GetSelection();
    if (a.dataOrder)
        form.dataOrder = a.dataOrder->GetSelection();
    if (withLabels && axis != AxisZ) {
        const int rows = a.grid->GetNumberRows();
        form.labels.reserve(static_cast<std::size_t>(rows));
        for (int row = 0; row < rows; ++row)
            form.labels.push_back(toStoreText(a.grid->GetCellValue(row, 0)));
    }
    return form;
}

MapForm MapEditorDialog::readForm() const
{
    MapForm form;
    form.title = toStoreText(m_title->GetValue());
    form.description = toStoreText(m_description->GetValue());
    for (int axis = AxisX; axis <= AxisZ; ++axis)
        form.axes[axis] = readAxis(axis, true);
    return form;
}

void MapEditorDialog::showForm(const MapForm& form)
{
    // ChangeValue and SetSelection send no events: the label grids are set
    // up once every control holds its value.
    m_title->ChangeValue(fromStoreText(form.title));
    m_description->ChangeValue(fromStoreText(form.description));
    for (int axis = AxisX; axis <= AxisZ; ++axis) {
        const AxisForm& f = form.axes[axis];
        AxisControls& a = m_axes[axis];
        if (a.source)
            a.source->SetSelection(f.source);
        if (a.count)
            a.count->ChangeValue(fromStoreText(f.count));
        a.units->ChangeValue(fromStoreText(f.units));
        a.type->SetSelection(f.type);
        a.decimals->SetSelection(f.decimals);
        a.offset->ChangeValue(fromStoreText(f.offset));
        a.factor->ChangeValue(fromStoreText(f.factor));
        a.address->ChangeValue(fromStoreText(f.address));
        a.sign->SetSelection(f.sign);
        a.bits->SetSelection(f.bits);
        a.byteOrder->SetSelection(f.byteOrder);
        if (a.dataOrder)
            a.dataOrder->SetSelection(f.dataOrder);
        if (axis == AxisZ)
            continue;
        showUnitsLabel(axis);
        if (const std::optional<LabelRows> rows = labelRowsFor(f))
            setLabelRows(axis, *rows);
        setLabelTexts(axis, f.labels);
        a.countedLabels = f.labels;
    }
}

void MapEditorDialog::setLabelRows(int axis, const LabelRows& rows)
{
    wxGrid* grid = m_axes[axis].grid;
    grid->BeginBatch();
    if (grid->GetNumberRows() > 0)
        grid->DeleteRows(0, grid->GetNumberRows());
    if (rows.count > 0)
        grid->AppendRows(rows.count);
    // Relabelling rows 0 and 1 also removes an earlier "Min" and "Max"; the
    // other rows keep the grid's own numbering.
    if (rows.minMax) {
        grid->SetRowLabelValue(0, _("Min"));
        grid->SetRowLabelValue(1, _("Max"));
    } else {
        if (rows.count > 0)
            grid->SetRowLabelValue(0, "1");
        if (rows.count > 1)
            grid->SetRowLabelValue(1, "2");
    }
    grid->EndBatch();
    m_axes[axis].minMaxRows = rows.minMax;
}

void MapEditorDialog::setLabelTexts(int axis, const std::vector<std::string>& texts)
{
    wxGrid* grid = m_axes[axis].grid;
    const int rows = std::min<int>(grid->GetNumberRows(), static_cast<int>(texts.size()));
    grid->BeginBatch();
    for (int row = 0; row < rows; ++row)
        grid->SetCellValue(row, 0, fromStoreText(texts[static_cast<std::size_t>(row)]));
    grid->EndBatch();
}

void MapEditorDialog::rebuildLabelRows(int axis, bool keepTexts)
{
    const std::optional<LabelRows> rows = labelRowsFor(readAxis(axis));
    if (!rows)
        return;
    // Typing a Count digit by digit must not wipe the labels (or the Min and
    // Max of a scaled axis) entered before it, even when a digit on the way
    // makes it shorter (12 corrected to 16 passes through 1).
    std::vector<std::string> kept;
    AxisControls& a = m_axes[axis];
    if (keepTexts && rows->minMax == a.minMaxRows) {
        for (int row = 0; row < a.grid->GetNumberRows(); ++row)
            kept.push_back(toStoreText(a.grid->GetCellValue(row, 0)));
        if (kept.size() < a.countedLabels.size())
            kept.insert(kept.end(), a.countedLabels.begin() + std::ptrdiff_t(kept.size()), a.countedLabels.end());
    }
    a.countedLabels = kept;
    setLabelRows(axis, *rows);
    setLabelTexts(axis, kept);
    previewEmbeddedLabels(axis);
}

void MapEditorDialog::previewEmbeddedLabels(int axis)
{
    const auto [image, size] = selectedImage();
    if (const auto texts = previewLabels(readAxis(axis), image, size))
        setLabelTexts(axis, *texts);
}

std::pair<const std::uint8_t*, std::size_t> MapEditorDialog::selectedImage() const
{
    if (!m_workspace || m_workspace->selectedBuffer >= kRomBufferCount)
        return {nullptr, 0};
    const RomBuffer& buffer = m_workspace->buffers[m_workspace->selectedBuffer];
    if (buffer.empty())
        return {nullptr, 0};
    return {buffer.data.data(), std::min<std::size_t>(static_cast<std::size_t>(buffer.size), buffer.data.size())};
}

void MapEditorDialog::showUnitsLabel(int axis)
{
    const AxisControls& a = m_axes[axis];
    a.grid->SetColLabelValue(0, a.units->GetValue());
}

void MapEditorDialog::loadIntoDialog(std::uint16_t slot, Workspace& workspace)
{
    m_workspace = &workspace;
    m_slot = slot;
    if (slot >= kMaxMaps)
        return;
    const auto [image, size] = selectedImage();
    showForm(formFromMap(workspace.definitions.maps[slot], image, size));
}

void MapEditorDialog::prepareNewMap(Workspace& workspace)
{
    m_workspace = &workspace;
    m_slot = kNewMap;
    MapForm form;
    form.title = toStoreText(_("New Map"));
    showForm(form);
    // A new map's axes start as "Embedded" at address 0: show what lies there.
    previewEmbeddedLabels(AxisX);
    previewEmbeddedLabels(AxisY);
}

void MapEditorDialog::applyDialog()
{
    if (!m_workspace || m_slot >= kMaxMaps)
        return;
    // A label still being typed is part of the form.
    for (const AxisControls& axis : m_axes)
        if (axis.grid && axis.grid->IsCellEditControlShown())
            axis.grid->DisableCellEditControl();
    DefinitionStore& store = m_workspace->definitions;
    applyForm(readForm(), m_slot == kNewMap ? store.newMap : store.maps[m_slot]);
    m_applied = true;
    finish(wxID_OK);
}

void MapEditorDialog::finish(int returnCode)
{
    if (IsModal()) {
        EndModal(returnCode);
    } else {
        SetReturnCode(returnCode);
        Hide();
    }
}
