#pragma once
// What a command needs from the main window, and nothing more. Commands are
// free functions of their subsystem taking this context; the main window
// implements it, so adding a command never touches the main window's class.
#include <cstdint>

#include <wx/string.h>

#include "workspace/workspace.h"

class wxWindow;
class MapViewerFrame;

class CommandContext {
public:
    virtual Workspace& workspace() = 0;

    // Translates the text and shows it on the main window's message line.
    virtual void showStatus(const wxString& text) = 0;

    // The window that parents dialogs and editors opened by a command.
    virtual wxWindow* window() = 0;

    // Reads the three BIN radio buttons, stores the index in the workspace
    // and returns it.
    virtual std::uint16_t selectedBuffer() = 0;

    // The BIN panel of one buffer: its file name, size and checksums as the
    // buffer now holds them, or, after a copy, the source panel's summary as shown.
    virtual void showBufferSummary(int index) = 0;
    virtual void copyBufferSummary(int source, int destination) = 0;

    // The map viewer: null until first needed, then kept for the life of the
    // main window (closing the viewer only hides it).
    virtual MapViewerFrame* viewer() = 0;
    virtual void adoptViewer(MapViewerFrame* viewer) = 0;

    // Remembered state, read back at the next start.
    virtual void rememberBinFile(int index, const wxString& path, const wxString& fileName) = 0;
    virtual void rememberMapsFile(const wxString& path) = 0;

protected:
    ~CommandContext() = default;
};
