// Runs the benchmarks inside a wx application, so that the window benchmarks
// can build real grids. Without a display those report an error and the
// others still run: use `xvfb-run -a build/test/tests/bench`.
#include <benchmark/benchmark.h>
#include <wx/app.h>
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
