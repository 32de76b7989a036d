#pragma once
// The gnuplot behind a table editor's 3D view, one per editor.
//
// gnuplot reads its standard input after the script and exits (closing its
// window) when that ends; a program started from a desktop has an empty one.
// So the editor's gnuplot gets a pipe as its standard input that the editor
// holds open: the plot stays on screen while the editor is open. The next 3D
// view of that editor tells the same gnuplot to load the script again, which
// draws the new files (in a new window if the tuner closed the old one).
// When the editor is destroyed the pipe is closed and gnuplot ends by itself.
#include <vector>

class wxWindow;

// Shows the plot files just written in the current folder: replots in the
// editor's running gnuplot, or starts "gnuplot 3d_plot -" there without
// waiting for it (also when the current folder is no longer the one the
// running gnuplot was started in). The process id, or 0 when it could not be
// started; the toolkit's error box never shows.
long showPlot(wxWindow* editor);

// The editor's gnuplot while it runs (none or one process id).
std::vector<long> runningPlotProcesses(wxWindow* editor);

// Closes its standard input now, as closing the editor does.
void closePlotProcesses(wxWindow* editor);
