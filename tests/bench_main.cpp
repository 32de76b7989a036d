// Runs the benchmarks inside a wx application, so that the window benchmarks
// can build real grids. Without a display those report an error and the
// others still run: use `xvfb-run -a build/test/tests/bench`.
#include <chrono>

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/window.h>
#include <wx/crt.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include "bench_support.h"

namespace {
bool g_display = false;

// A toolkit assertion is printed: a modal box would stop the run for good.
void printAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    wxFprintf(stderr, "wx assertion %s:%d in %s: %s %s\n", file, line, func, cond, msg);
}
}

class BenchApp : public wxApp {
public:
    bool OnInit() override
    {
        wxInitAllImageHandlers();
        return true;
    }
};

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

bool benchDisplayAvailable()
{
    return g_display;
}

void paintNow(wxWindow* window)
{
    int paints = 0;
    auto count = [&paints](wxPaintEvent& event) {
        ++paints;
        event.Skip();
    };
    window->Bind(wxEVT_PAINT, count);
    window->Refresh(false);
    const auto start = std::chrono::steady_clock::now();
    while (paints == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
    }
    window->Unbind(wxEVT_PAINT, count);
}

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    g_display = wxEntryStart(argc, argv);
    if (g_display) {
        wxLog::SetActiveTarget(new wxLogStderr);
        wxSetAssertHandler(printAssert);
        wxTheApp->CallOnInit();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_display) {
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
    return 0;
}
