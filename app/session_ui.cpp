#include "app/session_ui.h"

#include <algorithm>

#include <wx/display.h>
#include <wx/fileconf.h>
#include <wx/frame.h>
#include <wx/log.h>

#include "commands/maps_commands_ui.h"
#include "commands/rom_commands_ui.h"
#include "common/gtk_function_ui.h"
#include "viewer/MapViewerFrame.h"
#include "workspace/command_context_ui.h"

namespace {

// The toolkit reports a damaged settings file, or one it cannot write, in a
// message box; the program shows none: such a file counts as holding less.
// A base, so that it is quiet from the reading to the last write in the
// store's own destructor.
struct QuietLog {
    wxLogNull quiet;
};

class SettingsStore : private QuietLog, public wxFileConfig {
public:
    SettingsStore() : wxFileConfig("TorvaneStudio", "Velquor Electronics")
    {
        // Remembered paths are taken literally: a folder named "$HOME" or
        // "${x}" must not be expanded into another path.
        SetExpandEnvVars(false);
    }
};

wxString binKey(int index, const char* field)
{
    return wxString::Format("/OpenFiles/Bin%d%s", index + 1, field);
}

// Where a window's outer frame stands, asked of the display. The toolkit
// keeps one guess of the frame's size for all windows of a kind, and after
// a dialog has come and gone it may report a window's inner origin as its
// place: remembered so, the window would creep down at every run.
wxPoint framePlace(const wxTopLevelWindow& window)
{
    struct Rectangle {
        int x, y, width, height;
    };
    using WidgetWindow = void* (*)(void*);
    using FrameExtents = void (*)(void*, Rectangle*);
    static const auto widgetWindow = gtkFunction<WidgetWindow>("gtk_widget_get_window");
    static const auto frameExtents = gtkFunction<FrameExtents>("gdk_window_get_frame_extents");
    void* shown = widgetWindow && frameExtents && window.IsShown() ? widgetWindow(window.GetHandle()) : nullptr;
    if (!shown)
        return window.GetPosition();
    Rectangle frame{};
    frameExtents(shown, &frame);
    return {frame.x, frame.y};
}

bool readPoint(const wxFileConfig& store, const wxString& xKey, const wxString& yKey, long& x, long& y)
{
    return store.Read(xKey, &x) && store.Read(yKey, &y);
}

// A remembered place on a screen that is gone, or a size larger than the
// screen, would leave a window whose title bar cannot be reached: such a
// window comes back inside the screen it is nearest to.
void keepOnScreen(wxTopLevelWindow& window)
{
    const wxRect area = wxDisplay(&window).GetClientArea();
    wxRect place = window.GetRect();
    // Until the window manager has framed the window its frame counts
    // nothing; leave room for a title bar and borders all the same.
    const wxSize frame = window.GetSize() - window.GetClientSize();
    place.width = std::min(place.width, area.width - std::max(frame.x, 16));
    place.height = std::min(place.height, area.height - std::max(frame.y, 48));
    // The left end of the title bar, by which a window is moved.
    const wxPoint grip = place.GetTopLeft() + wxPoint(std::min(place.width / 2, 40), 8);
    if (wxDisplay::GetFromPoint(grip) == wxNOT_FOUND) {
        place.x = std::clamp(place.x, area.x, area.GetRight() + 1 - place.width);
        place.y = std::clamp(place.y, area.y, area.GetBottom() + 1 - place.height);
    }
    if (place != window.GetRect())
        window.SetSize(place);
}

} // namespace

void restoreSession(CommandContext& context, wxFrame& mainWindow)
{
    SettingsStore store;

    for (int index = 0; index < kRomBufferCount; ++index) {
        wxString path;
        wxString fileName;
        if (!store.Read(binKey(index, "Path"), &path) || !store.Read(binKey(index, "Filename"), &fileName))
            continue;
        // The load shows its own message and, on success, records size,
        // path and name in the buffer.
        if (loadRomFile(context, index, false, fileName, path) != 0)
            context.showBufferSummary(index);
    }

    wxString mapsPath;
    if (store.Read("/OpenFiles/MapsPath", &mapsPath)) {
        const MapsFileStatus status = loadMapsFile(context, mapsPath);
        if (mapsFileLoaded(status))
            context.showStatus(mapsFileLoadedMessage(status));
    }

    long x = 0;
    long y = 0;
    if (readPoint(store, "/WindowPositions/TorvaneStudioFrameX", "/WindowPositions/TorvaneStudioFrameY", x, y)) {
        mainWindow.Move(static_cast<int>(x), static_cast<int>(y));
        keepOnScreen(mainWindow);
    }

    // Only a maps file reload above can have opened the viewer.
    MapViewerFrame* viewer = context.viewer();
    if (viewer && viewer->IsShown()) {
        if (readPoint(store, "/WindowPositions/MapViewerFrameX", "/WindowPositions/MapViewerFrameY", x, y))
            viewer->Move(static_cast<int>(x), static_cast<int>(y));
        long w = 0;
        long h = 0;
        if (readPoint(store, "/WindowPositions/MapViewerFrameW", "/WindowPositions/MapViewerFrameH", w, h) && w > 0 &&
            h > 0)
            viewer->SetClientSize(wxSize(static_cast<int>(w), static_cast<int>(h)));
        keepOnScreen(*viewer);
    }
}

WindowPlaces windowPlaces(CommandContext& context, const wxFrame& mainWindow)
{
    WindowPlaces places;
    places.main = framePlace(mainWindow);
    // A viewer closed by the user is only hidden; like a closed window it
    // keeps the place remembered from the last run in which it stayed open.
    // The size is the inside of the window: its outer size counts the window
    // manager's frame only once the manager has told it, which may come after
    // the first save or after the restore.
    // A minimised viewer has no size of its own to keep (it would come back
    // as a sliver); it too keeps the last run's place.
    if (const MapViewerFrame* viewer = context.viewer(); viewer && viewer->IsShown() && !viewer->IsIconized()) {
        places.viewerShown = true;
        places.viewer = framePlace(*viewer);
        places.viewerInside = viewer->GetClientSize();
    }
    return places;
}

void saveWindowPlaces(const WindowPlaces& places)
{
    SettingsStore store;
    store.Write("/WindowPositions/TorvaneStudioFrameX", static_cast<long>(places.main.x));
    store.Write("/WindowPositions/TorvaneStudioFrameY", static_cast<long>(places.main.y));
    if (places.viewerShown) {
        store.Write("/WindowPositions/MapViewerFrameX", static_cast<long>(places.viewer.x));
        store.Write("/WindowPositions/MapViewerFrameY", static_cast<long>(places.viewer.y));
        store.Write("/WindowPositions/MapViewerFrameW", static_cast<long>(places.viewerInside.x));
        store.Write("/WindowPositions/MapViewerFrameH", static_cast<long>(places.viewerInside.y));
    }
}

void rememberBinFile(int index, const wxString& path, const wxString& fileName)
{
    if (index < 0 || index >= kRomBufferCount)
        return;
    SettingsStore store;
    store.Write(binKey(index, "Path"), path);
    store.Write(binKey(index, "Filename"), fileName);
}

void rememberMapsFile(const wxString& path)
{
    SettingsStore store;
    store.Write("/OpenFiles/MapsPath", path);
}
