#pragma once
// The 3D view: a gnuplot script and a data file written into the current
// folder, for "gnuplot 3d_plot -" to draw the table as a surface. The plot
// shows what the grid shows: header texts as X and Y, cell texts as Z.
#include <functional>
#include <string>
#include <string_view>

#include "definitions/map_definition.h"

inline constexpr const char* kPlotScriptName = "3d_plot";
inline constexpr const char* kPlotDataName = "3d_data.gnuplot";
inline constexpr const char* kPlotCommand = "gnuplot 3d_plot -";
// Sent to a running gnuplot's standard input: draws the files anew.
inline constexpr const char* kPlotReloadCommand = "load \"3d_plot\"\n";

// `text` as the inside of a double-quoted gnuplot string that reads back as
// exactly `text`: quotes and backslashes are escaped, and back quotes
// (command substitution) and control characters (a line break would start a
// new command) are written as octal escapes.
std::string gnuplotStringContent(std::string_view text);

// The six script lines: title, the three axis labels from the units, "set
// pm3d", and the splot of the data file.
std::string plotScript(const MapDefinition& map);

// One block per column, in column order: a line per row with column header,
// row header and cell text separated by spaces; every block ends with an
// empty line.
std::string plotData(int rows, int columns, const std::function<std::string(int column)>& columnHeader,
                     const std::function<std::string(int row)>& rowHeader,
                     const std::function<std::string(int row, int column)>& cellText);

enum class PlotStatus {
    Written,
    ScriptCreateError,   // "Error creating file '3d_plot'!"
    ScriptWriteError,    // "Error writing file '3d_plot'!"
    ScriptCloseError,    // "Error closing file '3d_plot'!"
    DataCreateError,     // "Error creating file '3d_data.gnuplot'!"
    DataWriteError,      // "Error writing file '3d_data.gnuplot'!"
    DataCloseError,      // "Error closing file '3d_data.gnuplot'!"
};

// The untranslated message of a status; null for Written (no message).
const char* plotStatusMessage(PlotStatus status);

// Writes the script, then the data file, into `folder` (the current one by
// default), each replacing an earlier file of its name. The first failure
// stops there: a failed script leaves the data file as it was.
PlotStatus writePlotFiles(const std::string& script, const std::string& data, const std::string& folder = ".");
