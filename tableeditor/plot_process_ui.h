#pragma once
// Starts "gnuplot 3d_plot -" for the 3D view. gnuplot reads its standard
// input after the script and exits (closing its window) when that ends; a
// program started from a desktop has an empty one. So each gnuplot gets a
// pipe as its standard input that the program holds open: the plot stays on
// screen until the program ends. The pipes belong to the top window of the
// editor's parent chain (the main window); when it goes, they are closed and
// every gnuplot still running ends by itself.
#include <vector>

class wxWindow;

// Starts the plot command in the current folder without waiting for it.
// The process id, or 0 when it could not be started.
long startPlotProcess(wxWindow* editor);

// The plot processes still running that belong to the parent chain of
// `window`, by process id.
std::vector<long> runningPlotProcesses(wxWindow* window);

// Closes their standard input now, as the end of the program would.
void closePlotProcesses(wxWindow* window);
