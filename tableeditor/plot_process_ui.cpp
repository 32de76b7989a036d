#include "tableeditor/plot_process_ui.h"

#include <algorithm>

#include <wx/process.h>
#include <wx/utils.h>
#include <wx/window.h>

#include "cells/plot_export.h"

namespace {

const char* const kKeeperName = "plotProcesses";

class PlotProcessKeeper;

class PlotProcess : public wxProcess {
public:
    explicit PlotProcess(PlotProcessKeeper* keeper) : wxProcess(wxPROCESS_REDIRECT), m_keeper(keeper) {}
    void OnTerminate(int pid, int status) override;

    PlotProcessKeeper* m_keeper;
    long m_pid = 0;
};

// A hidden child of the top window that holds the processes' pipes for as
// long as that window lives. A process that ends deletes itself.
class PlotProcessKeeper : public wxWindow {
public:
    explicit PlotProcessKeeper(wxWindow* top)
        : wxWindow(top, wxID_ANY, wxDefaultPosition, wxSize(0, 0), 0, kKeeperName)
    {
        Hide();
    }
    ~PlotProcessKeeper() override { closeAll(); }

    void add(PlotProcess* process) { m_processes.push_back(process); }
    void forget(PlotProcess* process) { std::erase(m_processes, process); }
    std::vector<long> running() const
    {
        std::vector<long> pids;
        for (const PlotProcess* process : m_processes)
            pids.push_back(process->m_pid);
        return pids;
    }
    void closeAll()
    {
        for (PlotProcess* process : m_processes) {
            process->m_keeper = nullptr;
            process->CloseOutput();
        }
        m_processes.clear();
    }

private:
    std::vector<PlotProcess*> m_processes;
};

void PlotProcess::OnTerminate(int, int)
{
    if (m_keeper)
        m_keeper->forget(this);
    delete this;
}

wxWindow* topOf(wxWindow* window)
{
    while (window->GetParent())
        window = window->GetParent();
    return window;
}

PlotProcessKeeper* keeperOf(wxWindow* window, bool create)
{
    wxWindow* top = topOf(window);
    for (wxWindow* child : top->GetChildren())
        if (auto* keeper = dynamic_cast<PlotProcessKeeper*>(child))
            return keeper;
    return create ? new PlotProcessKeeper(top) : nullptr;
}

} // namespace

long startPlotProcess(wxWindow* editor)
{
    PlotProcessKeeper* keeper = keeperOf(editor, true);
    auto* process = new PlotProcess(keeper);
    const long pid = wxExecute(kPlotCommand, wxEXEC_ASYNC, process);
    if (pid <= 0) {
        delete process;
        return 0;
    }
    process->m_pid = pid;
    keeper->add(process);
    return pid;
}

std::vector<long> runningPlotProcesses(wxWindow* window)
{
    const PlotProcessKeeper* keeper = keeperOf(window, false);
    return keeper ? keeper->running() : std::vector<long>();
}

void closePlotProcesses(wxWindow* window)
{
    if (PlotProcessKeeper* keeper = keeperOf(window, false))
        keeper->closeAll();
}
