#include "tableeditor/plot_process_ui.h"

#include <csignal>
#include <cstring>
#include <pthread.h>
#include <sys/wait.h>

#include <wx/filefn.h>
#include <wx/log.h>
#include <wx/process.h>
#include <wx/stream.h>
#include <wx/utils.h>
#include <wx/window.h>

#include "cells/plot_export.h"

namespace {

const char* const kKeeperName = "plotProcess";

class PlotProcessKeeper;

class PlotProcess : public wxProcess {
public:
    explicit PlotProcess(PlotProcessKeeper* keeper) : wxProcess(wxPROCESS_REDIRECT), m_keeper(keeper) {}
    void OnTerminate(int pid, int status) override;

    PlotProcessKeeper* m_keeper;
    long m_pid = 0;
};

// Reads and drops what is waiting in a stream, so that gnuplot never blocks
// on a full output pipe that nobody reads. Byte by byte: a longer read would
// wait for more than is there.
void drain(wxInputStream* stream, bool (wxProcess::*available)() const, const wxProcess& process)
{
    for (int n = 0; stream && n < 65536 && (process.*available)(); ++n)
        if (stream->GetC() == wxEOF)
            break;
}

// Writes to a pipe whose reader may have gone: that is a failed write, not
// the end of the program by SIGPIPE.
bool writeToPipe(wxOutputStream* stream, const char* text)
{
    if (!stream)
        return false;
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    const std::size_t size = std::strlen(text);
    stream->Write(text, size);
    const bool written = stream->LastWrite() == size;
    sigset_t pending;
    sigpending(&pending);
    if (sigismember(&pending, SIGPIPE) && !sigismember(&previous, SIGPIPE)) {
        int signal = 0;
        sigwait(&pipeSignal, &signal);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return written;
}

// Whether the child process has ended, even if the toolkit has not yet
// learnt of it (the process is not reaped here: the toolkit still does that).
bool ended(long pid)
{
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != 0;
}

// A hidden child of the editor that holds its gnuplot's pipes for as long as
// the editor lives. A process that ends deletes itself.
class PlotProcessKeeper : public wxWindow {
public:
    explicit PlotProcessKeeper(wxWindow* editor)
        : wxWindow(editor, wxID_ANY, wxDefaultPosition, wxSize(0, 0), 0, kKeeperName)
    {
        Hide();
    }
    ~PlotProcessKeeper() override { close(); }

    long show()
    {
        const wxString folder = wxGetCwd();
        if (m_process && folder == m_folder && !ended(m_process->m_pid) && replot())
            return m_process->m_pid;
        close();
        // Held before the start: a child that has already ended when the
        // toolkit first looks at it is reaped inside wxExecute, whose
        // OnTerminate then forgets and deletes the process before it returns.
        auto* process = new PlotProcess(this);
        m_process = process;
        long pid = 0;
        {
            // A failed start (no descriptors left, say) is not reported.
            wxLogNull quiet;
            pid = wxExecute(kPlotCommand, wxEXEC_ASYNC, process);
        }
        if (!m_process)   // started and already gone
            return pid > 0 ? pid : 0;
        if (pid <= 0) {
            m_process = nullptr;
            delete process;
            return 0;
        }
        process->m_pid = pid;
        m_folder = folder;
        return pid;
    }

    std::vector<long> running() const
    {
        return m_process ? std::vector<long>{m_process->m_pid} : std::vector<long>();
    }

    void forget(PlotProcess* process)
    {
        if (m_process == process)
            m_process = nullptr;
    }

    void close()
    {
        if (!m_process)
            return;
        m_process->m_keeper = nullptr;
        m_process->CloseOutput();
        m_process = nullptr;
    }

private:
    bool replot()
    {
        // A gnuplot that has ended makes the write fail: it is started anew, unreported.
        wxLogNull quiet;
        drain(m_process->GetInputStream(), &wxProcess::IsInputAvailable, *m_process);
        drain(m_process->GetErrorStream(), &wxProcess::IsErrorAvailable, *m_process);
        return writeToPipe(m_process->GetOutputStream(), kPlotReloadCommand);
    }

    PlotProcess* m_process = nullptr;
    wxString m_folder;   // where it was started: the script it loads lies there
};

void PlotProcess::OnTerminate(int, int)
{
    if (m_keeper)
        m_keeper->forget(this);
    delete this;
}

PlotProcessKeeper* keeperOf(wxWindow* editor, bool create)
{
    for (wxWindow* child : editor->GetChildren())
        if (auto* keeper = dynamic_cast<PlotProcessKeeper*>(child))
            return keeper;
    return create ? new PlotProcessKeeper(editor) : nullptr;
}

} // namespace

long showPlot(wxWindow* editor)
{
    return keeperOf(editor, true)->show();
}

std::vector<long> runningPlotProcesses(wxWindow* editor)
{
    const PlotProcessKeeper* keeper = keeperOf(editor, false);
    return keeper ? keeper->running() : std::vector<long>();
}

void closePlotProcesses(wxWindow* editor)
{
    if (PlotProcessKeeper* keeper = keeperOf(editor, false))
        keeper->close();
}
