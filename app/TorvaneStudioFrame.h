#pragma once
// The main window: three BIN panels, the menu bar, the toolbar and the status
// bar. It owns the Workspace and routes every command to the small functions
// of the subsystem the command belongs to.
#include <array>
#include <cstdint>
#include <memory>

#include <wx/frame.h>
#include <wx/intl.h>

#include "app/workspace.h"

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

class TorvaneStudioFrame : public wxFrame {
public:
    explicit TorvaneStudioFrame(wxWindow* parent, wxWindowID id = wxID_ANY);
    ~TorvaneStudioFrame() override;

    Workspace& workspace() { return *m_workspace; }
    const MainCommandIds& commandIds() const { return m_ids; }

    // Translates the text and shows it in status field 1, the message line.
    void showStatus(const wxString& text);

    // ROM buffers (app/rom_commands_ui.cpp).
    std::uint16_t selectedBuffer();
    std::int32_t loadRomFile(int index, bool askUser, wxString& fileName, wxString& path);
    void loadBin();
    void saveRomFile(int index);
    void saveRomFileAs(int index);
    void copyRomBuffer(int source, int destination);
    void updateBinPanel(int index);

    // Map viewer (viewer/viewer_commands_ui.cpp). The viewer reference is
    // null until the viewer is first needed; the viewer hides on close, so
    // the reference never dangles.
    MapViewerFrame* viewer() const { return m_viewer; }
    void showMapViewer();
    void rebuildMapList();

    // Map definitions (definitions/maps_commands_ui.cpp).
    bool loadMapsFile(const wxString& path);
    // "Maps file loaded.", or the notice that the last loaded file held more
    // maps than the store takes.
    wxString mapsFileLoadedMessage() const;
    void loadMapsCommand();
    void saveMapsFile();
    void clearDefinitions();

    // Remembered state (app/session_ui.cpp).
    void restoreSession();
    void saveWindowPositions();
    void rememberBinFile(int index, const wxString& path, const wxString& fileName);
    void rememberMapsFile(const wxString& path);

private:
    void allocateCommandIds();
    void buildBinPanels();
    void buildMenuBar();
    void buildToolBar();
    void connectCommands();
    // Binds the commands that the maps and viewer subsystems own.
    void connectDefinitionCommands();
    void onClose(wxCloseEvent& event);

    wxLocale m_locale;
    MainCommandIds m_ids{};
    std::array<BinPanelControls, kRomBufferCount> m_bins{};
    std::unique_ptr<Workspace> m_workspace;
    MapViewerFrame* m_viewer = nullptr;
    bool m_lastMapsLoadDroppedMaps = false;
};
