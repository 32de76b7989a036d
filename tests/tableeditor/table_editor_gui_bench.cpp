// The table editor at the sizes that matter: a 256 x 256 map of 16-bit cells
// and the largest map a 2 MiB image holds (1024 rows x 2048 columns, 8-bit).
// Each case runs the editor as built (virtual table, shared attributes,
// selection mask) beside the naive wxGrid way (a cell value and a background
// colour set per cell; wxGrid's own block selection). Every figure includes
// drawing the visible part of the grid (what the next paint does), drawn
// synchronously into a bitmap so that the toolkit's frame clock does not
// count. Memory: heap in use (mallinfo2) and resident size, before and after.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/grid.h>
#include <wx/menu.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>

#include "bench_support.h"
#include "cells/chart_geometry.h"
#include "cells/table_display.h"
#include "chart/simpleChart.h"
#include "cells/table_grid_model.h"
#include "common/number_text.h"
#include "tableeditor/TableEditorFrame.h"
#include "tableeditor/clipboard_ui.h"
#include "tableeditor/process_memory.h"
#include "test_support.h"
#include "workspace/workspace.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

constexpr double MB = 1024.0 * 1024.0;

double heapMB()
{
    return double(mallinfo2().uordblks) / MB;
}

double rssMB()
{
    return residentBytes() / MB;
}

// The largest rise of heap and resident size over the runs measured.
struct MemoryRise {
    double heap = 0, rss = 0, heapBefore = 0, rssBefore = 0;
    void start() { heapBefore = heapMB(), rssBefore = rssMB(); }
    void stop() { heap = std::max(heap, heapMB() - heapBefore), rss = std::max(rss, rssMB() - rssBefore); }
    void report(benchmark::State& state) const { state.counters["heap_MB"] = heap, state.counters["rss_MB"] = rss; }
};

// Draws the part of the grid the window shows, as a paint would.
void renderVisible(wxGrid* grid)
{
    const wxSize size = grid->GetGridWindow()->GetClientSize();
    const wxPoint origin = grid->CalcUnscrolledPosition(wxPoint(0, 0));
    const wxGridCellCoords topLeft(grid->YToRow(origin.y, true), grid->XToCol(origin.x, true));
    const wxGridCellCoords bottomRight(grid->YToRow(origin.y + size.y, true), grid->XToCol(origin.x + size.x, true));
    wxBitmap bitmap(grid->GetSize());
    wxMemoryDC dc(bitmap);
    grid->Render(dc, wxPoint(0, 0), grid->GetSize(), topLeft, bottomRight,
                 wxGRID_DRAW_DEFAULT | wxGRID_DRAW_SELECTION);
}

void settle()
{
    for (int i = 0; i < 5; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        wxYield();
    }
}

// Another program (xclip) offers the file's text on the clipboard; true once
// the toolkit sees it offered.
bool offerOnClipboard(const std::string& path)
{
    if (std::system(("xclip -i -selection clipboard " + path + " >/dev/null 2>&1").c_str()) != 0)
        return false;
    const Clock::time_point wait = Clock::now();
    while (seconds(wait) < 10) {
        settle();
        if (wxTheClipboard->Open()) {
            const bool offered = wxTheClipboard->IsSupported(wxDF_UNICODETEXT);
            wxTheClipboard->Close();
            if (offered)
                return true;
        }
    }
    return false;
}

// Taking the clipboard back ends xclip.
void takeClipboardBack()
{
    if (wxTheClipboard->Open()) {
        wxTheClipboard->SetData(new wxTextDataObject("x"));
        wxTheClipboard->Close();
    }
}

enum Size { Map256 = 0, MapLargest = 1 };

// A workspace whose BIN #1 holds the map (map 0) with random cells; scaled
// axes, so that every header has a text.
std::unique_ptr<Workspace> workspaceFor(Size size)
{
    auto workspace = std::make_unique<Workspace>();
    MapDefinition& map = workspace->definitions.maps[0];
    workspace->definitions.mapCount = 1;
    map.title = size == Map256 ? "Map 256" : "Largest";
    AxisDefinition& x = map.axes[AxisX];
    AxisDefinition& y = map.axes[AxisY];
    AxisDefinition& z = map.axes[AxisZ];
    x.count = size == Map256 ? 256 : 2048;
    y.count = size == Map256 ? 256 : 1024;
    for (AxisDefinition* axis : {&x, &y}) {
        axis->embeddedinfotype = SourceScaled;
        axis->labels[0] = 500;
        axis->labels[1] = 6500;
    }
    z.bits = size == Map256 ? 16 : 8;
    z.factor = 0.1;
    z.decimalpl = 1;
    z.address = size == Map256 ? 0x1000 : 0;
    RomBuffer& image = workspace->buffers[0];
    image.data = randomBytes(static_cast<std::size_t>(kMaxRomSize), 3);
    image.size = kMaxRomSize;
    workspace->buffers[1] = image;
    workspace->buffers[1].data[z.address + 7] ^= 1;
    return workspace;
}

// --------------------------------------------------------------- as built

struct Opened {
    std::unique_ptr<Workspace> workspace;
    TableEditorFrame* editor = nullptr;
};

Opened openEditor(Size size)
{
    Opened opened;
    opened.workspace = workspaceFor(size);
    opened.editor = new TableEditorFrame(nullptr, *opened.workspace, 0, 0);
    opened.editor->Show();
    paintNow(opened.editor->grid()->GetGridWindow());
    settle();
    return opened;
}

void close(Opened& opened)
{
    opened.editor->Destroy();
    settle();
}

void sendCommand(TableEditorFrame* editor, int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    editor->GetEventHandler()->ProcessEvent(event);
}

// The editor's benchmarks build real windows.
bool skippedWithoutDisplay(benchmark::State& state)
{
    if (benchDisplayAvailable())
        return false;
    state.SkipWithError("no display: run under xvfb-run -a");
    return true;
}

// Times each step, and the drawing of the grid's visible part after it when
// the case asks (second argument).
template <typename Step>
void timeSteps(benchmark::State& state, wxGrid* grid, Step step)
{
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        step();
        if (grid && state.range(1))
            renderVisible(grid);
        state.SetIterationTime(seconds(start));
    }
}

void BM_Open_Virtual(benchmark::State& state)
{
    if (skippedWithoutDisplay(state))
        return;
    const Size size = Size(state.range(0));
    MemoryRise memory;
    for (auto _ : state) {
        auto workspace = workspaceFor(size);
        settle();
        memory.start();
        const Clock::time_point start = Clock::now();
        auto* editor = new TableEditorFrame(nullptr, *workspace, 0, 0);
        editor->Show();
        if (state.range(1))
            renderVisible(editor->grid());
        state.SetIterationTime(seconds(start));
        memory.stop();
        editor->Destroy();
        settle();
    }
    memory.report(state);
}

void BM_SwitchView_Virtual(benchmark::State& state)
{
    if (skippedWithoutDisplay(state))
        return;
    Opened opened = openEditor(Size(state.range(0)));
    TableEditorFrame* editor = opened.editor;
    wxMenuBar* menus = editor->GetMenuBar();
    const int showRaw = editor->commandIds().showRaw;
    timeSteps(state, editor->grid(), [&] {
        menus->Check(showRaw, !menus->IsChecked(showRaw));
        sendCommand(editor, showRaw);
    });
    close(opened);
}

void BM_DirectEdit_Virtual(benchmark::State& state)
{
    if (skippedWithoutDisplay(state))
        return;
    Opened opened = openEditor(Size(state.range(0)));
    wxGrid* grid = opened.editor->grid();
    int n = 0;
    timeSteps(state, grid, [&] {
        const int row = n % 8;
        const int col = (n / 8) % 8;
        grid->GetTable()->SetValue(row, col, n % 2 ? "12.5" : "7");
        ++n;
        wxGridEvent event(grid->GetId(), wxEVT_GRID_CELL_CHANGED, grid, row, col);
        grid->ProcessWindowEvent(event);
    });
    close(opened);
}

// Two values in a checkerboard: selecting one by value selects every other cell.
void checkerboard(MapCells& cells)
{
    for (int row = 0; row < cells.rows(); ++row)
        for (int col = 0; col < cells.columns(); ++col)
            cells.setRaw(row, col, (row + col) % 2 ? 100 : 37);
}

// Operations through their menu items, each followed by a repaint: 0 select
// by value ("Raw" mode, 37; its worst case, a checkerboard over every cell),
// 1 "Invert selections" of that checkerboard, 2 a 10 % step over every cell
// (recorded for undo, its cells redrawn).
void BM_Operation_Editor(benchmark::State& state)
{
    if (skippedWithoutDisplay(state))
        return;
    Opened opened = openEditor(Size(state.range(0)));
    TableEditorFrame* editor = opened.editor;
    checkerboard(editor->cells());
    editor->fillGrid();
    editor->rawValueControl()->SetValue(37);
    editor->percentageControl()->SetValue("10");
    const TableEditorIds& ids = editor->commandIds();
    const int operation = int(state.range(2));
    sendCommand(editor, operation == 2 ? ids.selectAll : ids.selectByValue);
    const int id = operation == 0 ? ids.selectByValue : operation == 1 ? ids.invertSelection : ids.incPerc;
    timeSteps(state, editor->grid(), [&] { sendCommand(editor, id); });
    close(opened);
}

// --------------------------------------------------------------- the naive way

struct NaiveGrid {
    std::unique_ptr<Workspace> workspace;
    MapCells cells;
    std::unique_ptr<TableGridModel> model;
    wxFrame* frame = nullptr;
    wxGrid* grid = nullptr;

    explicit NaiveGrid(Size size) : workspace(workspaceFor(size))
    {
        const MapDefinition& map = workspace->definitions.maps[0];
        cells.map = &map;
        cells.workingCopy.assign(workspace->buffers[0].data.begin() + map.axes[AxisZ].address,
                                 workspace->buffers[0].data.begin() + map.axes[AxisZ].address +
                                     static_cast<std::ptrdiff_t>(CellCodec::blockSize(map)));
        model = std::make_unique<TableGridModel>(cells);
    }

    // Working copy, grid, headers, every cell's text and colour, first paint.
    void open(bool draw)
    {
        frame = new wxFrame(nullptr, wxID_ANY, "naive", wxDefaultPosition, wxSize(1000, 700));
        grid = new wxGrid(frame, wxID_ANY, wxDefaultPosition, wxSize(800, 500));
        grid->CreateGrid(cells.rows(), cells.columns());
        const MapDefinition& map = *cells.map;
        const auto columnLabels = axisHeaderTexts(map.axes[AxisX], nullptr, 0);
        const auto rowLabels = axisHeaderTexts(map.axes[AxisY], nullptr, 0);
        for (int col = 0; col < cells.columns(); ++col)
            grid->SetColLabelValue(col, columnLabels[col]);
        for (int row = 0; row < cells.rows(); ++row)
            grid->SetRowLabelValue(row, rowLabels[row]);
        fill(TableView{});
        frame->Show();
        if (draw)
            renderVisible(grid);
    }

    void fill(const TableView& view)
    {
        model->fill(view);
        grid->BeginBatch();
        for (int col = 0; col < cells.columns(); ++col)
            for (int row = 0; row < cells.rows(); ++row) {
                grid->SetCellValue(row, col, wxString::FromUTF8(model->text(row, col)));
                const Rgb c = model->look(row, col).background;
                grid->SetCellBackgroundColour(row, col, wxColour(c.red, c.green, c.blue));
            }
        grid->EndBatch();
    }

    void edit(int row, int col, const wxString& text)
    {
        grid->SetCellValue(row, col, text);
        grid->SetCellBackgroundColour(row, col, *wxWHITE);
        double value = 0;
        if (numberFromText(text.utf8_string(), value)) {
            cells.setEng(row, col, value);
            grid->SetCellTextColour(row, col, *wxBLACK);
        } else {
            grid->SetCellTextColour(row, col, *wxRED);
        }
        grid->RefreshBlock(row, col, row, col);
    }

    ~NaiveGrid()
    {
        if (frame) {
            frame->Destroy();
            settle();
        }
    }
};

void BM_Open_Naive(benchmark::State& state)
{
    if (skippedWithoutDisplay(state))
        return;
    MemoryRise memory;
    for (auto _ : state) {
        NaiveGrid naive(Size(state.range(0)));
        settle();
        memory.start();
        const Clock::time_point start = Clock::now();
        naive.open(state.range(1) != 0);
        state.SetIterationTime(seconds(start));
        paintNow(naive.grid->GetGridWindow());
        memory.stop();
    }
    memory.report(state);
}

void BM_SwitchView_Naive(benchmark::State& state)
{
    if (skippedWithoutDisplay(state))
        return;
    NaiveGrid naive(Size(state.range(0)));
    naive.open(false);
    paintNow(naive.grid->GetGridWindow());
    bool raw = false;
    timeSteps(state, naive.grid, [&] {
        raw = !raw;
        naive.fill(TableView{raw, false, false});
    });
}

void BM_DirectEdit_Naive(benchmark::State& state)
{
    if (skippedWithoutDisplay(state))
        return;
    NaiveGrid naive(Size(state.range(0)));
    naive.open(false);
    paintNow(naive.grid->GetGridWindow());
    int n = 0;
    timeSteps(state, naive.grid, [&] {
        naive.edit(n % 8, (n / 8) % 8, n % 2 ? "12.5" : "7");
        ++n;
    });
}

// Select by value (op 0) and invert (op 1) through wxGrid's own selection:
// select equal reads every cell and selects each match as a block of one
// cell; invert asks IsInSelection of every cell, clears, and selects each cell
// that was not selected.
void BM_Operation_WxGrid(benchmark::State& state)
{
    if (skippedWithoutDisplay(state))
        return;
    NaiveGrid naive(Size(state.range(0)));
    checkerboard(naive.cells);
    naive.open(false);
    paintNow(naive.grid->GetGridWindow());
    wxGrid* grid = naive.grid;
    const int rows = grid->GetNumberRows();
    const int cols = grid->GetNumberCols();
    auto selectEqual = [&] {
        grid->ClearSelection();
        grid->BeginBatch();
        for (int col = 0; col < cols; ++col)
            for (int row = 0; row < rows; ++row)
                if (naive.cells.raw(row, col) == 37)
                    grid->SelectBlock(row, col, row, col, true);
        grid->EndBatch();
    };
    const bool invert = state.range(2) == 1;
    selectEqual();
    timeSteps(state, grid, [&] {
        if (invert) {
            std::vector<char> was(std::size_t(rows) * std::size_t(cols));
            for (int col = 0; col < cols; ++col)
                for (int row = 0; row < rows; ++row)
                    was[std::size_t(col) * std::size_t(rows) + std::size_t(row)] = grid->IsInSelection(row, col);
            grid->ClearSelection();
            grid->BeginBatch();
            for (int col = 0; col < cols; ++col)
                for (int row = 0; row < rows; ++row)
                    if (!was[std::size_t(col) * std::size_t(rows) + std::size_t(row)])
                        grid->SelectBlock(row, col, row, col, true);
            grid->EndBatch();
        } else {
            selectEqual();
        }
    });
}

// What every cell operation does: visit the selected cells column by column,
// here a 256 x 256 checkerboard, through the mask and through wxGrid's blocks.
void BM_VisitSelected_Mask(benchmark::State& state)
{
    CellSelection selection(256, 256);
    for (int col = 0; col < 256; ++col)
        for (int row = col % 2; row < 256; row += 2)
            selection.set(row, col);
    timeSteps(state, nullptr, [&] {
        long visited = 0;
        selection.forEachSelected([&visited](int row, int col) { visited += row + col; });
        benchmark::DoNotOptimize(visited);
    });
}

void BM_VisitSelected_WxBlocks(benchmark::State& state)
{
    if (skippedWithoutDisplay(state))
        return;
    NaiveGrid naive(Map256);
    naive.open(false);
    wxGrid* grid = naive.grid;
    grid->BeginBatch();
    for (int col = 0; col < 256; ++col)
        for (int row = col % 2; row < 256; row += 2)
            grid->SelectBlock(row, col, row, col, true);
    grid->EndBatch();
    timeSteps(state, nullptr, [&] {
        long visited = 0;
        for (int col = 0; col < 256; ++col)
            for (int row = 0; row < 256; ++row)
                if (grid->IsInSelection(row, col))
                    visited += row + col;
        benchmark::DoNotOptimize(visited);
    });
}

// A paste of about 50 MB of clipboard text offered by another program
// (xclip), into the largest map: every cell once, with long value texts.
// Reports the rise of the peak resident size over the size before the paste.
// Argument 0: the editor's own format, an entry for every cell of the largest
// map. 1: a spreadsheet block of as many bytes, far larger than the 256 x 256
// map it is pasted into.
void BM_Paste50MB(benchmark::State& state)
{
    if (skippedWithoutDisplay(state))
        return;
    const bool block = state.range(0) == 1;
    Opened opened = openEditor(block ? Map256 : MapLargest);
    TableEditorFrame* editor = opened.editor;
    TempDir dir;
    const std::string path = dir.file("paste.txt");
    {
        std::string text = block ? "" : "RAW-ABS";
        text.reserve(52u << 20);
        if (block) {
            while (text.size() < (52u << 20))
                for (int col = 0; col < 1000; ++col)
                    text += std::to_string(col % 200) + (col < 999 ? ".5\t" : ".5\n");
        } else {
            for (int col = 0; col < editor->cells().columns(); ++col)
                for (int row = 0; row < editor->cells().rows(); ++row)
                    text += "@" + std::to_string(row) + ":" + std::to_string(col) + "=" +
                            std::to_string((row + col) % 200) + ".00000000000000";
        }
        writeText(path, text);
        state.counters["text_MB"] = double(text.size()) / MB;
    }
    if (!offerOnClipboard(path)) {
        state.SkipWithError("xclip failed");
        close(opened);
        return;
    }
    double rise = 0;
    for (auto _ : state) {
        settle();
        const double before = rssMB();
        resetPeak();
        const Clock::time_point start = Clock::now();
        sendCommand(editor, editor->commandIds().paste);
        state.SetIterationTime(seconds(start));
        rise = std::max(rise, peakBytes() / MB - before);
    }
    state.counters["peak_rise_MB"] = rise;
    state.counters["cell_0_1"] = editor->cells().raw(0, 1);
    takeClipboardBack();
    close(opened);
}

// Runs a shell command while the event loop keeps going (the clipboard's
// owner may be this process) and returns how many bytes it printed.
std::size_t outputBytesWhilePumping(const std::string& command)
{
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return 0;
    std::size_t bytes = 0;
    std::thread reader([&] {
        char buffer[65536];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            bytes += n;
    });
    std::atomic<bool> done{false};
    std::thread waiter([&] {
        reader.join();
        done = true;
    });
    while (!done)
        settle();
    waiter.join();
    pclose(pipe);
    return bytes;
}

// Spreadsheet blocks through the keys, every cell at once. Op 0: Ctrl+C puts
// the whole table on the clipboard as tab-separated rows; the time another
// program then takes to read it all (xclip -o) is reported beside. Op 1:
// Ctrl+V of such a block offered by another program (xclip): read, written
// at the cursor, recorded for undo, marked for redrawing. Before each paste
// the working copy is zeroed (not timed), so that every paste changes every
// cell. Op 2: the clipboard read alone, the part of op 1 spent in the transfer.
void BM_SpreadsheetBlock_Editor(benchmark::State& state)
{
    if (skippedWithoutDisplay(state))
        return;
    Opened opened = openEditor(Size(state.range(0)));
    TableEditorFrame* editor = opened.editor;
    wxGrid* grid = editor->grid();
    grid->SetGridCursor(0, 0);
    auto ctrl = [grid](int code) {
        wxKeyEvent key(wxEVT_KEY_DOWN);
        key.m_keyCode = code;
        key.SetControlDown(true);
        key.SetEventObject(grid);
        grid->GetEventHandler()->ProcessEvent(key);
    };
    const bool paste = state.range(2) >= 1;
    const bool readOnly = state.range(2) == 2;
    TempDir dir;
    if (paste) {
        const MapCells& cells = editor->cells();
        std::string text;
        for (int row = 0; row < cells.rows(); ++row)
            for (int col = 0; col < cells.columns(); ++col) {
                appendFixed(text, double((row + col) % 200 + 1) / 10, 1);
                text += col + 1 < cells.columns() ? '\t' : '\n';
            }
        const std::string path = dir.file("block.txt");
        writeText(path, text);
        state.counters["text_MB"] = double(text.size()) / MB;
        if (!offerOnClipboard(path)) {
            state.SkipWithError("xclip failed");
            close(opened);
            return;
        }
    } else {
        sendCommand(editor, editor->commandIds().selectAll);
    }
    // A window's first message costs GTK some 50 ms of font work, once: one
    // untimed run first.
    ctrl(paste ? 'V' : 'C');
    settle();
    for (auto _ : state) {
        if (paste) {
            std::fill(editor->cells().workingCopy.begin(), editor->cells().workingCopy.end(), 0);
            editor->fillGrid();
            settle();
        }
        const Clock::time_point start = Clock::now();
        std::string read;
        if (readOnly)
            readClipboardText(read);
        else
            ctrl(paste ? 'V' : 'C');
        if (state.range(1))
            renderVisible(grid);
        state.SetIterationTime(seconds(start));
    }
    if (paste) {
        state.counters["cell_1_2"] = editor->cells().raw(1, 2);
    } else {
        const Clock::time_point start = Clock::now();
        state.counters["read_by_other_MB"] = double(outputBytesWhilePumping("xclip -o -selection clipboard")) / MB;
        state.counters["read_by_other_ms"] = seconds(start) * 1000;
    }
    takeClipboardBack();
    close(opened);
}

// One chart of the editor (a row or a column of the map) drawn into a bitmap
// of its usual size, as the grid cursor's moves redraw it: as the chart draws
// it, and with every line the geometry holds stroked, as it once was.
void chartBench(benchmark::State& state, bool everyLine)
{
    const int count = int(state.range(0));
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "chart");
    simpleChart* chart = new simpleChart(frame);
    chart->setChartSize(count);
    std::uint32_t seed = 7;
    for (int i = 0; i < count; ++i)
        chart->values()[i] = double((seed = seed * 1664525u + 1013904223u) >> 24);
    wxBitmap picture(200, 300);
    for (auto _ : state) {
        wxMemoryDC dc(picture);
        if (!everyLine) {
            chart->renderChart(dc);
            continue;
        }
        const ChartDrawing drawing = chartGeometry(chart->values(), count, 0, 200, 300);
        for (const ChartLine& line : drawing.lines) {
            dc.SetPen(wxPen(wxColour(line.pen.colour.red, line.pen.colour.green, line.pen.colour.blue), line.pen.width));
            dc.DrawLine(line.x1, line.y1, line.x2, line.y2);
        }
    }
    frame->Destroy();
    wxTheApp->ProcessIdle();
}

void BM_ChartDraw(benchmark::State& state) { chartBench(state, false); }
void BM_ChartDraw_EveryLine(benchmark::State& state) { chartBench(state, true); }

// Map size (0: 256 x 256, 1: 1024 x 2048), and whether the visible part is drawn.
void sizes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"largest", "draw"})->ArgsProduct({{Map256, MapLargest}, {0, 1}})->UseManualTime()->Unit(benchmark::kMillisecond);
}

// The same, with the operation (third argument), each repeated five times.
void operations(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"largest", "draw", "op"})
        ->ArgsProduct({{Map256, MapLargest}, {0, 1}, {0, 1, 2}})
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly();
}

BENCHMARK(BM_Open_Virtual)->Apply(sizes)->Repetitions(5)->Iterations(2)->ReportAggregatesOnly();
BENCHMARK(BM_SwitchView_Virtual)->Apply(sizes)->Repetitions(5)->Iterations(10)->ReportAggregatesOnly();
BENCHMARK(BM_DirectEdit_Virtual)->Apply(sizes)->Repetitions(5)->Iterations(20)->ReportAggregatesOnly();
BENCHMARK(BM_Operation_Editor)->Apply(operations)->Iterations(5);
BENCHMARK(BM_Open_Naive)->Apply(sizes)->Repetitions(3)->Iterations(1)->ReportAggregatesOnly();
BENCHMARK(BM_SwitchView_Naive)->Apply(sizes)->Repetitions(3)->Iterations(1)->ReportAggregatesOnly();
BENCHMARK(BM_DirectEdit_Naive)->Apply(sizes)->Repetitions(5)->Iterations(20)->ReportAggregatesOnly();
// Only the smaller map: the larger one would take hours this way.
BENCHMARK(BM_Operation_WxGrid)
    ->ArgNames({"largest", "draw", "op"})
    ->ArgsProduct({{Map256}, {0, 1}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK(BM_Paste50MB)->ArgName("block")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SpreadsheetBlock_Editor)->Apply(operations)->Iterations(3);
BENCHMARK(BM_VisitSelected_Mask)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartDraw)->ArgName("points")->Arg(16)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartDraw_EveryLine)->ArgName("points")->Arg(16)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisitSelected_WxBlocks)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
