#pragma once
// Helpers for the window tests: finding controls by window name, letting the
// event loop run, and sending real menu commands.
#include <wx/string.h>
#include <wx/window.h>

#include "test_support.h"

class TorvaneStudioFrame;
class wxFrame;

// The descendant of `parent` whose window name is `name`, or null.
wxWindow* findByName(wxWindow* parent, const wxString& name);

template <typename T>
T* findControl(wxWindow* parent, const wxString& name)
{
    return dynamic_cast<T*>(findByName(parent, name));
}

// Runs the event loop for about `ms` milliseconds (paint, size, idle events).
void pumpEvents(int ms = 50);

// Sends a menu or tool command with that identifier to the frame, as a click would.
void sendMenuCommand(wxFrame* frame, int id);

// Text of field `field` of the frame's status bar.
wxString statusText(wxFrame* frame, int field = 1);

// The process's HOME, a fresh temporary folder for each test that asks.
// Creating one sets HOME; the settings file lives in it.
class ScopedHome {
public:
    ScopedHome();
    ~ScopedHome();
    std::string settingsFile() const;   // $HOME/.TorvaneStudio
    const TempDir& dir() const { return m_dir; }

private:
    TempDir m_dir;
    std::string m_oldHome;
};

// Creates the main window the way the program does, and destroys it (with
// every window below it) when the owner goes out of scope.
class MainWindowFixture {
public:
    MainWindowFixture();
    ~MainWindowFixture();
    TorvaneStudioFrame* frame() const { return m_frame; }
    // Closes the window through its close event (as the window manager would).
    void close();

private:
    TorvaneStudioFrame* m_frame = nullptr;
};
