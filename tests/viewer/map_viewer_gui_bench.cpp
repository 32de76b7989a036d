// The map viewer filled with 10,000 maps, as a load fills it: the list
// emptied, one line per map, the tree expanded; then the same with the
// selection shown again (a rebuild after a list command) and the window
// painted once.
#include <memory>
#include <string>

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/treectrl.h>

#include "bench_support.h"
#include "viewer/MapViewerFrame.h"
#include "workspace/workspace.h"

namespace {

std::unique_ptr<Workspace> workspaceWith(int maps)
{
    auto workspace = std::make_unique<Workspace>();
    DefinitionStore& store = workspace->definitions;
    store.mapCount = static_cast<std::uint16_t>(maps);
    for (int m = 0; m < maps; ++m) {
        MapDefinition& map = store.maps[m];
        map.title = "Ignition advance " + std::to_string(m);
        map.axes[AxisX].count = 16;
        map.axes[AxisY].count = 12;
        map.axes[AxisZ].address = static_cast<std::uint32_t>(0x10000 + 384 * m);
    }
    return workspace;
}

// Argument 1: the selection shown again, then one paint.
void BM_FillMapViewer(benchmark::State& state)
{
    if (!benchDisplayAvailable()) {
        state.SkipWithError("no display");
        return;
    }
    const bool drawn = state.range(1) == 1;
    const auto workspace = workspaceWith(static_cast<int>(state.range(0)));
    auto* viewer = new MapViewerFrame(nullptr);
    viewer->setWorkspace(*workspace);
    viewer->Show();
    viewer->appendMaps(workspace->definitions);
    viewer->tree()->SelectItem(viewer->mapItem(workspace->definitions.mapCount / 2));
    for (auto _ : state) {
        viewer->clearMapList();
        viewer->appendMaps(workspace->definitions);
        viewer->expandAll();
        if (drawn) {
            viewer->showSelectedMap();
            paintNow(viewer->tree());
        }
    }
    if (viewer->itemCount() != workspace->definitions.mapCount)
        state.SkipWithError("lines missing");
    viewer->Destroy();
    wxTheApp->ProcessIdle();
}
BENCHMARK(BM_FillMapViewer)->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();

} // namespace
