#include "app/TorvaneStudioFrame.h"

#include <clocale>
#include <memory>
#include <set>
#include <vector>

#include <wx/accel.h>
#include <wx/button.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/stdpaths.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include "about/AboutBoxDialog.h"
#include "app/session_ui.h"
#include "commands/file_dialog_ui.h"
#include "commands/import_commands_ui.h"
#include "commands/maps_commands_ui.h"
#include "commands/rom_commands_ui.h"
#include "commands/unsaved_work_ui.h"
#include "common/hex_format.h"
#include "differences/differences_commands_ui.h"
#include "mapedit/map_list_commands_ui.h"
#include "resources/resource_bitmaps_ui.h"
#include "rom/checksums.h"
#include "tableeditor/table_editor_commands_ui.h"
#include "viewer/viewer_commands_ui.h"

namespace {

// Per BIN panel (index 0 = BIN #1): texts and window names. The text boxes and
// "..." buttons are numbered against the panel order.
struct BinPanelTexts {
    const char* radioLabel;
    const char* radioTip;
    const char* buttonTip;
    const char* fileNameBox;
    const char* loadButton;
    int sizeLabelNumber;   // "Size" label; its value is one below
    int firstRowNumber;    // label of "ECU"; rows follow as label/value pairs
};

const BinPanelTexts kBinPanelTexts[kRomBufferCount] = {
    {wxTRANSLATE("Select BIN #1"), wxTRANSLATE("Select BIN #1 as the default for edit operations"),
     wxTRANSLATE("Load BIN #1 from your hard drive"), "ID_TEXTCTRL4", "ID_BUTTON3", 47, 1},
    {wxTRANSLATE("Select BIN #2"), wxTRANSLATE("Select BIN #2 as the default for edit operations"),
     wxTRANSLATE("Load BIN #2 from your hard drive"), "ID_TEXTCTRL3", "ID_BUTTON2", 49, 15},
    {wxTRANSLATE("Select BIN #3"), wxTRANSLATE("Select BIN #3 as the default for edit operations"),
     wxTRANSLATE("Load BIN #3 from your hard drive"), "ID_TEXTCTRL2", "ID_BUTTON1", 51, 29},
};

// Summary rows after "Size", in display order.
const char* const kSummaryRows[] = {
    wxTRANSLATE("ECU"),    wxTRANSLATE("HW"),      wxTRANSLATE("SW"),      wxTRANSLATE("Chk. Type"),
    wxTRANSLATE("Chk. 8"), wxTRANSLATE("Chk. 16"), wxTRANSLATE("Chk. 32"),
};

wxString staticTextName(int number)
{
    return wxString::Format("ID_STATICTEXT%d", number);
}

const wxString kNoValue = "---";

// The shortcut printed on each menu item that has a command, as an
// accelerator of that command. GTK gives Alt and a letter to the menu title
// with that mnemonic ("&Windows" for Alt-W) before the items' own
// accelerators; the frame's accelerators come first. Items without a command
// add nothing (where two items print the same shortcut, the one with a
// command gets it), so their shortcuts keep opening the menu.
void addShortcuts(const wxMenu& menu, const std::set<int>& routed, std::vector<wxAcceleratorEntry>& entries)
{
    for (const wxMenuItem* item : menu.GetMenuItems()) {
        if (const wxMenu* submenu = item->GetSubMenu()) {
            addShortcuts(*submenu, routed, entries);
            continue;
        }
        if (routed.count(item->GetId()) == 0)
            continue;
        const std::unique_ptr<wxAcceleratorEntry> shortcut(item->GetAccel());
        if (shortcut)
            entries.emplace_back(shortcut->GetFlags(), shortcut->GetKeyCode(), item->GetId());
    }
}

wxAcceleratorTable shortcutsOfCommands(const wxMenuBar& menuBar, const std::set<int>& routed)
{
    std::vector<wxAcceleratorEntry> entries;
    for (std::size_t i = 0; i < menuBar.GetMenuCount(); ++i)
        addShortcuts(*menuBar.GetMenu(i), routed, entries);
    return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

} // namespace

TorvaneStudioFrame::TorvaneStudioFrame(wxWindow* parent, wxWindowID id)
{
    {
        // A desktop language without a catalogue or system locale is not an
        // error worth a log box: the texts then show as written.
        wxLogNull noLog;
        m_locale.Init(wxLANGUAGE_DEFAULT, wxLOCALE_LOAD_DEFAULT);
        m_locale.AddCatalogLookupPathPrefix(
            wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath());
        m_locale.AddCatalog("language");
    }
    // Files, clipboard and grid always use a point as decimal separator.
    std::setlocale(LC_NUMERIC, "C");

    Create(parent, id, _("Torvane Studio"), wxDefaultPosition, wxDefaultSize, wxDEFAULT_FRAME_STYLE);

    allocateCommandIds();
    buildBinPanels();
    buildMenuBar();

    auto* statusBar = new wxStatusBar(this, wxWindow::NewControlId(),
                                      wxSTB_SHOW_TIPS | wxSTB_ELLIPSIZE_END | wxFULL_REPAINT_ON_RESIZE,
                                      "ID_STATUSBAR1");
    const int widths[2] = {400, -1};
    const int styles[2] = {wxSB_NORMAL, wxSB_NORMAL};
    statusBar->SetFieldsCount(2, widths);
    statusBar->SetStatusStyles(2, styles);
    SetStatusBar(statusBar);

    GetSizer()->Fit(this);
    GetSizer()->SetSizeHints(this);

    connectCommands();
    SetAcceleratorTable(shortcutsOfCommands(*GetMenuBar(), m_routedIds));

    SetIcon(resourceIcon("icon_app"));
    buildToolBar();
    GetSizer()->Fit(this);
    // The toolbar takes height from the client area: keep the panels whole.
    GetSizer()->SetSizeHints(this);
    // Centred only now that the toolbar has added its height.
    Centre();

    m_workspace = std::make_unique<Workspace>();
    // A BIN panel shows the bytes its buffer holds now: after a load, an
    // Apply or a copy.
    m_workspace->bufferListeners.add([this](int index) { showBufferSummary(index); });

    restoreSession(*this, *this);
}

TorvaneStudioFrame::~TorvaneStudioFrame()
{
    // The windows that read the workspace (viewer, editors, lists) go before
    // it does, not after it as the base class would have them.
    const wxWindowList children = GetChildren();
    for (wxWindow* child : children)
        if (child->IsTopLevel())
            child->wxWindowBase::Destroy();
}

void TorvaneStudioFrame::showStatus(const wxString& text)
{
    SetStatusText(wxGetTranslation(text), 1);
}

std::uint16_t TorvaneStudioFrame::selectedBuffer()
{
    std::uint16_t index = 2;
    if (m_bins[0].radio->GetValue())
        index = 0;
    else if (m_bins[1].radio->GetValue())
        index = 1;
    m_workspace->selectedBuffer = index;
    return index;
}

void TorvaneStudioFrame::showBufferSummary(int index)
{
    if (index < 0 || index >= kRomBufferCount)
        return;
    const RomBuffer& buffer = m_workspace->buffers[index];
    const BinPanelControls& bin = m_bins[index];
    const ImageChecksums sums =
        imageChecksums(buffer.data.data(), buffer.empty() ? 0 : static_cast<std::size_t>(buffer.size));
    bin.fileName->ChangeValue(shownFileName(buffer.fileName));
    bin.size->SetLabel(wxString::Format("%i", static_cast<int>(buffer.size)));
    bin.chk8->SetLabel(_("0x") + wxString(formatHex(sums.c8)));
    bin.chk16->SetLabel(_("0x") + wxString(formatHex(sums.c16)));
    bin.chk32->SetLabel(_("0x") + wxString(formatHex(sums.c32)));
    bin.size->GetParent()->Layout();
}

void TorvaneStudioFrame::copyBufferSummary(int source, int destination)
{
    if (source < 0 || source >= kRomBufferCount || destination < 0 || destination >= kRomBufferCount)
        return;
    const BinPanelControls& from = m_bins[source];
    const BinPanelControls& to = m_bins[destination];
    to.fileName->ChangeValue(shownFileName(m_workspace->buffers[destination].fileName));
    // The summary travels as the source panel shows it; it is not recomputed.
    to.size->SetLabel(from.size->GetLabel());
    to.chk8->SetLabel(from.chk8->GetLabel());
    to.chk16->SetLabel(from.chk16->GetLabel());
    to.chk32->SetLabel(from.chk32->GetLabel());
    to.size->GetParent()->Layout();
}

void TorvaneStudioFrame::rememberBinFile(int index, const wxString& path, const wxString& fileName)
{
    ::rememberBinFile(index, path, fileName);
}

void TorvaneStudioFrame::rememberMapsFile(const wxString& path)
{
    ::rememberMapsFile(path);
}

void TorvaneStudioFrame::buildBinPanels()
{
    auto* frameSizer = new wxBoxSizer(wxHORIZONTAL);
    auto* panel = new wxPanel(this, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize,
                              wxTAB_TRAVERSAL, "ID_PANEL1");
    auto* panelSizer = new wxBoxSizer(wxHORIZONTAL);

    for (int index = 0; index < kRomBufferCount; ++index) {
        const BinPanelTexts& texts = kBinPanelTexts[index];
        BinPanelControls& bin = m_bins[index];
        auto* column = new wxBoxSizer(wxVERTICAL);

        bin.radio = new wxRadioButton(panel, wxWindow::NewControlId(), wxGetTranslation(texts.radioLabel),
                                      wxDefaultPosition, wxDefaultSize, index == 0 ? wxRB_GROUP : 0,
                                      wxDefaultValidator,
                                      wxString::Format("ID_RADIOBUTTON%d", index + 1));
        bin.radio->SetToolTip(wxGetTranslation(texts.radioTip));
        column->Add(bin.radio, 0, wxALL | wxALIGN_CENTER_HORIZONTAL, 5);

        auto* fileRow = new wxBoxSizer(wxHORIZONTAL);
        bin.fileName = new wxTextCtrl(panel, wxWindow::NewControlId(), wxEmptyString, wxDefaultPosition,
                                      wxSize(179, 27), wxTE_READONLY, wxDefaultValidator, texts.fileNameBox);
        fileRow->Add(bin.fileName, 1, wxALL | wxALIGN_CENTER_VERTICAL, 5);
        // Exact fit: the theme's padding would not leave room for "..." in 30 pixels.
        bin.loadButton = new wxButton(panel, wxWindow::NewControlId(), _("..."), wxDefaultPosition,
                                      wxSize(30, 29), wxBU_EXACTFIT, wxDefaultValidator, texts.loadButton);
        bin.loadButton->SetToolTip(wxGetTranslation(texts.buttonTip));
        fileRow->Add(bin.loadButton, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
        column->Add(fileRow, 0, wxALL | wxEXPAND, 5);

        auto* summary = new wxFlexGridSizer(8, 3, 0, 0);
        summary->AddGrowableCol(2);
        auto addRow = [&](const char* label, int labelNumber) {
            summary->Add(new wxStaticText(panel, wxWindow::NewControlId(), wxGetTranslation(label),
                                          wxDefaultPosition, wxDefaultSize, 0, staticTextName(labelNumber)),
                         0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
            summary->Add(0, 0, 1, wxALL | wxALIGN_CENTER_VERTICAL, 5);
            auto* value = new wxStaticText(panel, wxWindow::NewControlId(), kNoValue, wxDefaultPosition,
                                           wxDefaultSize, 0, staticTextName(labelNumber + 1));
            summary->Add(value, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
            return value;
        };
        // "Size" carries the higher number of its pair, label above value.
        bin.size = new wxStaticText(panel, wxWindow::NewControlId(), kNoValue, wxDefaultPosition,
                                    wxDefaultSize, 0, staticTextName(texts.sizeLabelNumber - 1));
        summary->Add(new wxStaticText(panel, wxWindow::NewControlId(), _("Size"), wxDefaultPosition,
                                      wxDefaultSize, 0, staticTextName(texts.sizeLabelNumber)),
                     0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
        summary->Add(0, 0, 1, wxALL | wxALIGN_CENTER_VERTICAL, 5);
        summary->Add(bin.size, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);

        wxStaticText* values[7] = {};
        for (int row = 0; row < 7; ++row)
            values[row] = addRow(kSummaryRows[row], texts.firstRowNumber + 2 * row);
        bin.chk8 = values[4];
        bin.chk16 = values[5];
        bin.chk32 = values[6];
        column->Add(summary, 0, wxALL | wxEXPAND, 5);

        panelSizer->Add(column, 1, wxALL | wxEXPAND, 5);
    }
    m_bins[0].radio->SetValue(true);

    panel->SetSizer(panelSizer);
    panelSizer->Fit(panel);
    panelSizer->SetSizeHints(panel);
    frameSizer->Add(panel, 1, wxEXPAND, 0);
    SetSizer(frameSizer);
}

void TorvaneStudioFrame::allocateCommandIds()
{
    auto newId = [] { return static_cast<int>(wxWindow::NewControlId()); };
    for (int* id : {&m_ids.loadBin, &m_ids.saveBin, &m_ids.saveBinAs, &m_ids.appendBin, &m_ids.overloadBin,
                    &m_ids.splitBin, &m_ids.savePartialBin, &m_ids.quit, &m_ids.newMaps, &m_ids.loadMaps,
                    &m_ids.saveMaps, &m_ids.addMap, &m_ids.editMap, &m_ids.deleteMap, &m_ids.duplicateMap,
                    &m_ids.importMenu, &m_ids.importXdf, &m_ids.exportMenu, &m_ids.exportMapList,
                    &m_ids.exportMapData, &m_ids.copyBuffersMenu, &m_ids.preferences, &m_ids.definitionsViewer,
                    &m_ids.tableEditor, &m_ids.editor2d, &m_ids.toolEditor, &m_ids.pluginChecksum,
                    &m_ids.pluginFlashing, &m_ids.about, &m_ids.toolLoadMap, &m_ids.toolMapViewer,
                    &m_ids.toolMapEditor, &m_ids.toolTableEditor, &m_ids.tool2dEditor, &m_ids.toolPreferences,
                    &m_ids.toolAbout, &m_ids.toolQuit})
        *id = newId();
    for (int& id : m_ids.copyBuffer)
        id = newId();
}

void TorvaneStudioFrame::buildMenuBar()
{
    auto* menuBar = new wxMenuBar();

    auto* file = new wxMenu();
    file->Append(m_ids.loadBin, _("Load BIN\tAlt-1"), _("Load BIN file from your hard drive"));
    file->Append(m_ids.saveBin, _("Save BIN\tAlt-4"), _("Save BIN file to your hard drive"));
    file->Append(m_ids.saveBinAs, _("Save BIN as ...\tAlt-7"),
                 _("Save BIN file to your hard drive with a different name"));
    file->AppendSeparator();
    file->Append(m_ids.appendBin, _("Append to BIN"), _("Function not available!"));
    file->Append(m_ids.overloadBin, _("Overload to BIN"), _("Function not available!"));
    file->AppendSeparator();
    file->Append(m_ids.splitBin, _("Split BIN"), _("Function not available!"));
    file->Append(m_ids.savePartialBin, _("Save Partial BIN"), _("Function not available!"));
    file->AppendSeparator();
    file->Append(m_ids.quit, _("Quit\tAlt-F4"), _("Quit the application"));
    menuBar->Append(file, _("&File"));

    auto* maps = new wxMenu();
    maps->Append(m_ids.newMaps, _("New Map Definitions \tAlt-N"), _("Clear definitions from memory"));
    maps->Append(m_ids.loadMaps, _("Load Map Definitions\tAlt-L"),
                 _("Load definition file from hard drive"));
    maps->Append(m_ids.saveMaps, _("Save Map Definitions\tAlt-W"), _("Save definition file to hard drive"));
    maps->AppendSeparator();
    maps->Append(m_ids.addMap, _("Add New Map\tAlt-A"), _("Create a new map"));
    maps->Append(m_ids.editMap, _("Edit Selected Map\tAlt-I"), _("Edit the currently selected map"));
    maps->Append(m_ids.deleteMap, _("Delete Selected Map\tAlt-D"), _("Delete the currently selected map"));
    maps->Append(m_ids.duplicateMap, _("Duplicate Selected Map\tAlt-U"),
                 _("Duplicate the currently selected map"));
    maps->AppendSeparator();
    auto* import = new wxMenu();
    import->Append(m_ids.importXdf, _("TunerPro (XDF v1.50)"), _("Import TunerPro XDF definition files"));
    import->Append(wxWindow::NewControlId(), _("TunerPro XDF with addresses and scaling"),
                   _("Import TunerPro XDF definition files with where each map lies and how it scales"));
    maps->Append(m_ids.importMenu, _("Import"), import, _("Import definitions from other formats"));
    auto* exportMenu = new wxMenu();
    exportMenu->Append(m_ids.exportMapList, _("Map List"), _("Function not available!"));
    exportMenu->Append(m_ids.exportMapData, _("Map Data"), _("Function not available!"));
    maps->Append(m_ids.exportMenu, _("Export"), exportMenu, wxEmptyString);
    menuBar->Append(maps, _("&Maps"));

    auto* modify = new wxMenu();
    auto* copyBuffers = new wxMenu();
    const char* const copyLabels[6] = {
        wxTRANSLATE("Copy BIN #1 to BIN #2"), wxTRANSLATE("Copy BIN #1 to BIN #3"),
        wxTRANSLATE("Copy BIN #2 to BIN #1"), wxTRANSLATE("Copy BIN #2 to BIN #3"),
        wxTRANSLATE("Copy BIN #3 to BIN #1"), wxTRANSLATE("Copy BIN #3 to BIN #2"),
    };
    for (int i = 0; i < 6; ++i)
        copyBuffers->Append(m_ids.copyBuffer[i], wxGetTranslation(copyLabels[i]),
                            wxGetTranslation(copyLabels[i]));
    modify->Append(m_ids.copyBuffersMenu, _("Copy Buffers"), copyBuffers,
                   _("Functions to copy BIN buffers between one another"));
    menuBar->Append(modify, _("&Modify"));

    auto* options = new wxMenu();
    options->Append(m_ids.preferences, _("Preferences\tAlt-P"), _("Function not available!"));
    menuBar->Append(options, _("&Options"));

    auto* windows = new wxMenu();
    windows->Append(m_ids.definitionsViewer, _("Definitions Viewer\tAlt-V"),
                    _("Open map definitions window"));
    windows->Append(m_ids.tableEditor, _("Table Map Editor\tAlt-T"), _("Open map data in table form"));
    windows->Append(m_ids.editor2d, _("2D Map Editor\tAlt-O"), _("Function not available!"));
    windows->Append(wxWindow::NewControlId(), _("BIN Differences"),
                    _("List the maps and regions where two BINs differ"));
    menuBar->Append(windows, _("&Windows"));

    auto* tools = new wxMenu();
    tools->Append(m_ids.toolEditor, _("Tool Editor\tAlt-T"), _("Function not available!"));
    tools->AppendSeparator();
    menuBar->Append(tools, _("&Tools"));

    auto* plugins = new wxMenu();
    plugins->Append(m_ids.pluginChecksum, _("Checksum"), wxEmptyString);
    plugins->Append(m_ids.pluginFlashing, _("Flashing"), wxEmptyString);
    menuBar->Append(plugins, _("&Plugins"));

    auto* help = new wxMenu();
    help->Append(m_ids.about, _("About\tF1"), _("Show info about this application"));
    menuBar->Append(help, _("&Help"));

    SetMenuBar(menuBar);
}

void TorvaneStudioFrame::buildToolBar()
{
    struct Tool {
        int id;   // 0 = separator
        const char* image;
        const char* label;
        const char* help;   // short and long help alike
    };
    const Tool tools[] = {
        {m_ids.loadBin, "tool_load_bin", wxTRANSLATE("Load BIN"), wxTRANSLATE("Load BIN")},
        {m_ids.saveBin, "tool_save_bin", wxTRANSLATE("Save BIN"), wxTRANSLATE("Save BIN")},
        {0, nullptr, nullptr, nullptr},
        {m_ids.toolLoadMap, "tool_load_map", wxTRANSLATE("Load Map"), wxTRANSLATE("Load Map Definitions")},
        {m_ids.toolMapViewer, "tool_map_viewer", wxTRANSLATE("Map Viewer"), wxTRANSLATE("Definitions Map Viewer")},
        {m_ids.toolMapEditor, "tool_map_editor", wxTRANSLATE("Map Editor"), wxTRANSLATE("Definitions Map Editor")},
        {0, nullptr, nullptr, nullptr},
        {m_ids.toolTableEditor, "tool_table_editor", wxTRANSLATE("Table Editor"), wxTRANSLATE("Table Editor")},
        {m_ids.tool2dEditor, "tool_2d_editor", wxTRANSLATE("2D Editor"), wxTRANSLATE("2D Editor")},
        {0, nullptr, nullptr, nullptr},
        {m_ids.toolPreferences, "tool_preferences", wxTRANSLATE("Preferences"), wxTRANSLATE("Preferences")},
        {0, nullptr, nullptr, nullptr},
        {m_ids.toolAbout, "tool_about", wxTRANSLATE("About"), wxTRANSLATE("About")},
        {m_ids.toolQuit, "tool_quit", wxTRANSLATE("Quit"), wxTRANSLATE("Quit")},
    };

    auto* toolBar = new wxToolBar(this, wxWindow::NewControlId(), wxDefaultPosition, wxDefaultSize,
                                  wxTB_HORIZONTAL | wxNO_BORDER, "ID_TOOLBAR1");
    toolBar->SetToolBitmapSize(wxSize(48, 48));
    for (const Tool& tool : tools) {
        if (tool.id == 0) {
            toolBar->AddSeparator();
            continue;
        }
        wxBitmap image = resourceBitmap(tool.image);
        if (!image.IsOk())
            image = wxBitmap(48, 48);   // a missing image must not cost the command
        toolBar->AddTool(tool.id, wxGetTranslation(tool.label), image, wxNullBitmap, wxITEM_NORMAL,
                         wxGetTranslation(tool.help), wxGetTranslation(tool.help));
    }
    toolBar->Realize();
    SetToolBar(toolBar);
}

void TorvaneStudioFrame::connectCommands()
{
    // Menu items and tools alike: a tool click arrives as the same command
    // event. A routed menu item's printed shortcut runs its command too.
    auto route = [this](int id, auto command) {
        Bind(wxEVT_MENU, [this, command](wxCommandEvent&) { command(*this); }, id);
        m_routedIds.insert(id);
    };

    route(m_ids.loadBin, [](CommandContext& c) { loadBin(c); });
    route(m_ids.saveBin, [](CommandContext& c) { saveRomFile(c, c.selectedBuffer()); });
    route(m_ids.saveBinAs, [](CommandContext& c) { saveRomFileAs(c, c.selectedBuffer()); });
    // Same order as copyBuffer: 1->2, 1->3, 2->1, 2->3, 3->1, 3->2.
    const int copyPairs[6][2] = {{0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 1}};
    for (int i = 0; i < 6; ++i) {
        const int source = copyPairs[i][0];
        const int destination = copyPairs[i][1];
        route(m_ids.copyBuffer[i],
              [source, destination](CommandContext& c) { copyRomBufferCommand(c, source, destination); });
    }

    route(m_ids.newMaps, [](CommandContext& c) { clearDefinitionsCommand(c); });
    route(m_ids.loadMaps, [](CommandContext& c) { loadMapsCommand(c); });
    route(m_ids.toolLoadMap, [](CommandContext& c) { loadMapsCommand(c); });
    route(m_ids.saveMaps, [](CommandContext& c) { saveMapsCommand(c); });
    route(m_ids.importXdf, [](CommandContext& c) { importXdfCommand(c); });
    route(m_ids.addMap, [](CommandContext& c) { addMap(c); });
    route(m_ids.editMap, [](CommandContext& c) { editMap(c); });
    route(m_ids.toolMapEditor, [](CommandContext& c) { editMap(c); });
    route(m_ids.deleteMap, [](CommandContext& c) { deleteMap(c); });
    route(m_ids.duplicateMap, [](CommandContext& c) { duplicateMap(c); });
    route(m_ids.definitionsViewer, [](CommandContext& c) { showMapViewer(c); });
    route(m_ids.toolMapViewer, [](CommandContext& c) { showMapViewer(c); });
    route(m_ids.tableEditor, [](CommandContext& c) { tableEditorCommand(c); });
    route(m_ids.toolTableEditor, [](CommandContext& c) { tableEditorCommand(c); });
    // Items added after the original ones have no field in MainCommandIds.
    route(GetMenuBar()->FindMenuItem(_("&Windows"), _("BIN Differences")),
          [](CommandContext& c) { showBinDifferences(c); });
    route(GetMenuBar()->FindMenuItem(_("&Maps"), _("TunerPro XDF with addresses and scaling")),
          [](CommandContext& c) { importCompleteXdfCommand(c); });

    for (int id : {m_ids.about, m_ids.toolAbout})
        route(id, [](CommandContext& c) {
            const FocusKeeper focus;
            showAboutBox(c.window());
        });
    for (int id : {m_ids.quit, m_ids.toolQuit})
        route(id, [](CommandContext& c) { c.window()->Close(false); });

    for (int index = 0; index < kRomBufferCount; ++index) {
        m_bins[index].radio->Bind(wxEVT_RADIOBUTTON, [this, index](wxCommandEvent&) {
            m_workspace->selectedBuffer = static_cast<std::uint16_t>(index);
        });
        m_bins[index].loadButton->Bind(wxEVT_BUTTON, [this, index](wxCommandEvent&) {
            m_bins[index].radio->SetValue(true);
            m_workspace->selectedBuffer = static_cast<std::uint16_t>(index);
            loadBin(*this);
        });
    }

    Bind(wxEVT_CLOSE_WINDOW, &TorvaneStudioFrame::onClose, this);
}

void TorvaneStudioFrame::onClose(wxCloseEvent& event)
{
    const WindowPlaces places = windowPlaces(*this, *this);
    // Unsaved work is not dropped without asking, unless the close may not be refused.
    if (event.CanVeto() && !mayQuit(*this)) {
        event.Veto();
        return;
    }
    saveWindowPlaces(places);
    Destroy();
}
