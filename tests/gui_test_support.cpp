#include "gui_test_support.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/statusbr.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>
#include <wx/treectrl.h>
#include <wx/utils.h>

#include "app/TorvaneStudioFrame.h"
#include "commands/rom_commands_ui.h"
#include "viewer/MapViewerFrame.h"

wxWindow* findByName(wxWindow* parent, const wxString& name)
{
    return wxWindow::FindWindowByName(name, parent);
}

void pumpEvents(int ms)
{
    wxStopWatch watch;
    do {
        wxEventLoopBase* loop = wxEventLoopBase::GetActive();
        if (loop) {
            while (loop->Pending())
                loop->Dispatch();
        }
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        wxYield();
        if (ms > 0)
            wxMilliSleep(5);
    } while (watch.Time() < ms);
}

bool pumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    wxStopWatch watch;
    while (!done()) {
        if (watch.Time() > timeoutMs)
            return false;
        pumpEvents(10);
    }
    return true;
}

bool raiseForKeys(wxTopLevelWindow* window)
{
    window->Raise();
    return pumpUntil([window] { return window->IsActive() && wxWindow::FindFocus(); });
}

void sendMenuCommand(wxFrame* frame, int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(frame);
    frame->GetEventHandler()->ProcessEvent(event);
}

void clickRadio(wxRadioButton* radio)
{
    radio->SetValue(true);
    wxCommandEvent event(wxEVT_RADIOBUTTON, radio->GetId());
    event.SetEventObject(radio);
    event.SetInt(1);
    radio->GetEventHandler()->ProcessEvent(event);
}

void clickButton(wxButton* button)
{
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

void chooseItem(wxChoice* choice, int index)
{
    choice->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
    event.SetEventObject(choice);
    event.SetInt(index);
    choice->GetEventHandler()->ProcessEvent(event);
}

void selectMapLine(MapViewerFrame* viewer, int slot)
{
    viewer->tree()->SelectItem(slot < 0 ? viewer->rootItem() : viewer->mapItem(slot));
    pumpEvents(0);
}

void typeIntoCell(wxGrid* grid, int row, int col, const wxString& text)
{
    grid->SetGridCursor(row, col);
    grid->EnableCellEditControl();
    wxGridCellEditor* cellEditor = grid->GetCellEditor(row, col);
    cellEditor->GetControl()->SetFocus();
    dynamic_cast<wxTextCtrl*>(cellEditor->GetControl())->SetValue(text);
    cellEditor->DecRef();
}

namespace {
ExpectFileDialog::Seen g_lastFileDialog;
}

const ExpectFileDialog::Seen& ExpectFileDialog::lastSeen()
{
    return g_lastFileDialog;
}

int ExpectFileDialog::OnInvoked(wxFileDialog* dialog) const
{
    g_lastFileDialog = {dialog->GetMessage(), dialog->GetWildcard(), dialog->GetDirectory(), dialog->GetFilename(),
                        dialog->GetWindowStyle()};
    dialog->SetPath(m_path);
    if (m_id == wxID_OK) {
        wxStopWatch watch;
        while (dialog->GetPath() != m_path && watch.Time() < 3000)
            pumpEvents(5);
    }
    return m_id;
}

std::string outputWhilePumping(const std::string& command)
{
    auto output = std::async(std::launch::async, [command] {
        std::string text;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[256];
            while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
                text.append(buffer, n);
            pclose(pipe);
        }
        return text;
    });
    while (output.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        pumpEvents(10);
    return output.get();
}

wxString statusText(wxFrame* frame, int field)
{
    return frame->GetStatusBar()->GetStatusText(field);
}

ScopedHome::ScopedHome()
{
    if (const char* home = std::getenv("HOME"))
        m_oldHome = home;
    setenv("HOME", m_dir.path().c_str(), 1);
}

ScopedHome::~ScopedHome()
{
    setenv("HOME", m_oldHome.c_str(), 1);
}

std::string ScopedHome::settingsFile() const
{
    return m_dir.file(".TorvaneStudio");
}

MainWindowFixture::MainWindowFixture()
{
    m_frame = new TorvaneStudioFrame(nullptr);
    m_frame->Show();
    pumpEvents(20);
}

MainWindowFixture::~MainWindowFixture()
{
    if (alive()) {
        m_frame->Destroy();
        pumpEvents(10);
    }
}

bool MainWindowFixture::alive() const
{
    return m_frame && wxTopLevelWindows.Find(m_frame) && !wxTheApp->IsScheduledForDestruction(m_frame);
}

void MainWindowFixture::close()
{
    if (alive()) {
        m_frame->Close();
        m_frame = nullptr;
        pumpEvents(10);
    }
}

const MainCommandIds& MainWindowTestBase::ids() const
{
    return frame()->commandIds();
}

std::string MainWindowTestBase::textFile(const std::string& name, const std::string& text) const
{
    writeText(files.file(name), text);
    return files.file(name);
}

std::string MainWindowTestBase::bytesFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const
{
    writeBytes(files.file(name), bytes);
    return files.file(name);
}

void MainWindowTestBase::runWithFileDialog(int id, const std::string& path)
{
    wxTEST_DIALOG(sendMenuCommand(frame(), id), ExpectFileDialog(wxString::FromUTF8(path)));
    pumpEvents(10);
}

void MainWindowTestBase::loadImage(int buffer, const std::vector<std::uint8_t>& bytes)
{
    const std::string path = bytesFile("image" + std::to_string(buffer) + ".bin", bytes);
    wxString name = "image.bin", wxPath = wxString::FromUTF8(path);
    ASSERT_EQ(loadRomFile(*frame(), buffer, false, name, wxPath), std::int32_t(bytes.size()));
}
