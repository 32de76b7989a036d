#pragma once
// The main window: three BIN panels, the menu bar, the toolbar and the status
// bar. It owns the Workspace, serves as the commands' context and routes
// every menu item, tool and button to the command of its subsystem.
#include <array>
#include <cstdint>
#include <memory>
#include <set>

#include <wx/frame.h>
#include <wx/intl.h>

#include "workspace/command_context_ui.h"

class wxButton;
class wxCloseEvent;
class wxCommandEvent;
class wxRadioButton;
class wxStaticText;
class wxTextCtrl;
class MapViewerFrame;

// The controls of one BIN panel that commands read or write.
struct BinPanelControls {
    wxRadioButton* radio = nullptr;
    wxTextCtrl* fileName = nullptr;
    wxButton* loadButton = nullptr;
    wxStaticText* size = nullptr;
    wxStaticText* chk8 = nullptr;
    wxStaticText* chk16 = nullptr;
    wxStaticText* chk32 = nullptr;
};

// Identifiers of the menu items and tools, allocated at run time.
struct MainCommandIds {
    int loadBin, saveBin, saveBinAs, appendBin, overloadBin, splitBin, savePartialBin, quit;
    int newMaps, loadMaps, saveMaps, addMap, editMap, deleteMap, duplicateMap;
    int importMenu, importXdf, exportMenu, exportMapList, exportMapData;
    int copyBuffersMenu;
    std::array<int, 6> copyBuffer;   // 1->2, 1->3, 2->1, 2->3, 3->1, 3->2
    int preferences;
    int definitionsViewer, tableEditor, editor2d;
    int toolEditor;
    int pluginChecksum, pluginFlashing;
    int about;
    // Toolbar tools that have no menu item of their own.
    int toolLoadMap, toolMapViewer, toolMapEditor, toolTableEditor, tool2dEditor, toolPreferences, toolAbout, toolQuit;
};

class TorvaneStudioFrame : public wxFrame, public CommandContext {
public:
    explicit TorvaneStudioFrame(wxWindow* parent, wxWindowID id = wxID_ANY);
    ~TorvaneStudioFrame() override;

    const MainCommandIds& commandIds() const { return m_ids; }

    // The command context.
    Workspace& workspace() override { return *m_workspace; }
    void showStatus(const wxString& text) override;
    wxWindow* window() override { return this; }
    std::uint16_t selectedBuffer() override;
    void showBufferSummary(int index) override;
    void copyBufferSummary(int source, int destination) override;
    MapViewerFrame* viewer() override { return m_viewer; }
    void adoptViewer(MapViewerFrame* viewer) override { m_viewer = viewer; }
    void rememberBinFile(int index, const wxString& path, const wxString& fileName) override;
    void rememberMapsFile(const wxString& path) override;

private:
    void allocateCommandIds();
    void buildBinPanels();
    void buildMenuBar();
    void buildToolBar();
    void connectCommands();
    void onClose(wxCloseEvent& event);

    wxLocale m_locale;
    MainCommandIds m_ids{};
    std::array<BinPanelControls, kRomBufferCount> m_bins{};
    std::unique_ptr<Workspace> m_workspace;
    MapViewerFrame* m_viewer = nullptr;
    std::set<int> m_routedIds;   // menu items and tools that have a command
};
