#pragma once
// Helpers for the window tests: finding controls by window name, letting the
// event loop run, and sending real menu commands.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/grid.h>
#include <wx/modalhook.h>
#include <wx/string.h>
#include <wx/testing.h>
#include <wx/window.h>

#include "test_support.h"

class MapViewerFrame;
class TorvaneStudioFrame;
struct MainCommandIds;
class wxButton;
class wxChoice;
class wxFrame;
class wxRadioButton;
class wxTopLevelWindow;

// The descendant of `parent` whose window name is `name`, or null.
wxWindow* findByName(wxWindow* parent, const wxString& name);

template <typename T>
T* findControl(wxWindow* parent, const wxString& name)
{
    return dynamic_cast<T*>(findByName(parent, name));
}

// Runs the event loop for about `ms` milliseconds (paint, size, idle events).
void pumpEvents(int ms = 50);

// Runs the event loop until `done` holds or `timeoutMs` pass; whether it holds.
// A busy machine delays X events by an unknown time: wait for their effect.
bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// Raises the window and waits until it has the keyboard (Xvfb has no window
// manager to hand it over); whether it got it.
bool raiseForKeys(wxTopLevelWindow* window);

// Sends a menu or tool command with that identifier to the frame, as a click would.
void sendMenuCommand(wxFrame* frame, int id);

// Turns the radio button on and sends its selection event, as a click would.
void clickRadio(wxRadioButton* radio);

// Sends the button's click event.
void clickButton(wxButton* button);

// Selects item `index` of the choice and sends its event, as the user's choice does.
void chooseItem(wxChoice* choice, int index);

// Selects line `slot` of the viewer's tree (-1: the root) and lets the
// selection event arrive.
void selectMapLine(MapViewerFrame* viewer, int slot);

// The children of `parent` of type T that are not about to be destroyed.
template <typename T>
std::vector<T*> childrenOfType(wxWindow* parent)
{
    std::vector<T*> found;
    for (wxWindow* child : parent->GetChildren())
        if (auto* typed = dynamic_cast<T*>(child); typed && !wxTheApp->IsScheduledForDestruction(child))
            found.push_back(typed);
    return found;
}

// Opens the editor of a grid cell and puts `text` in it, as typing would.
// The edit stays open: the grid takes the text when the edit is ended.
void typeIntoCell(wxGrid* grid, int row, int col, const wxString& text);

// While it exists, answers every modal dialog with wxID_CANCEL and counts them:
// proves that a command opened no dialog without hanging the test if it did.
class ModalDialogCounter : public wxModalDialogHook {
public:
    ModalDialogCounter() { Register(); }
    ~ModalDialogCounter() override { Unregister(); }
    int count() const { return m_count; }

protected:
    int Enter(wxDialog*) override
    {
        ++m_count;
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}

private:
    int m_count = 0;
};

// Answers a file dialog inside wxTEST_DIALOG like wxExpectModal<wxFileDialog>.
// The GTK chooser reports a path set on it only after it has looked at the
// folder, which it does in the event loop: wait for that before answering.
class ExpectFileDialog : public wxExpectModalBase<wxFileDialog, ExpectFileDialog> {
public:
    explicit ExpectFileDialog(const wxString& path, int id = wxID_OK) : m_path(path), m_id(id) {}

    // How the last file dialog answered by any ExpectFileDialog was set up.
    struct Seen {
        wxString title, wildcard, directory, fileName;   // title: the dialog message
        long style = 0;
    };
    static const Seen& lastSeen();

protected:
    int OnInvoked(wxFileDialog* dialog) const override;

private:
    wxString m_path;
    int m_id;
};

// Runs a shell command while the event loop keeps going (a clipboard owned
// by this process must answer it) and returns what it printed.
std::string outputWhilePumping(const std::string& command);

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
    // True while the frame has not been destroyed (a command may close it).
    bool alive() const;

private:
    TorvaneStudioFrame* m_frame = nullptr;
};

// A main window on a fresh HOME, with a temporary folder for the test's files.
class MainWindowTestBase : public testing::Test {
protected:
    TorvaneStudioFrame* frame() const { return window.frame(); }
    const MainCommandIds& ids() const;
    // Writes the file `name` in the test's folder and returns its path.
    std::string textFile(const std::string& name, const std::string& text) const;
    std::string bytesFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    // Sends the command and answers its file dialog with `path`.
    void runWithFileDialog(int id, const std::string& path);
    // Loads `bytes` into the buffer straight from a file, without the dialog.
    void loadImage(int buffer, const std::vector<std::uint8_t>& bytes);

    ScopedHome home;
    TempDir files;
    MainWindowFixture window;
};
