#include "cells/plot_export.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

std::string gnuplotStringContent(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c == '`' || c < 0x20 || c == 0x7F) {
            // gnuplot runs `...` even inside double quotes; "\140" is a plain back quote.
            const char octal[] = {'\\', char('0' + (c >> 6)), char('0' + ((c >> 3) & 7)), char('0' + (c & 7))};
            out.append(octal, sizeof octal);
        } else {
            out += ch;
        }
    }
    return out;
}

std::string plotScript(const MapDefinition& map)
{
    std::string script;
    const auto line = [&](const char* command, const std::string& text) {
        script += command;
        script += " \"";
        script += gnuplotStringContent(text);
        script += "\"\n";
    };
    line("set title", map.title);
    line("set xlabel", map.axes[AxisX].units);
    line("set ylabel", map.axes[AxisY].units);
    line("set zlabel", map.axes[AxisZ].units);
    script += "set pm3d\n";
    script += "splot \"3d_data.gnuplot\" with lines\n";
    return script;
}

std::string plotData(int rows, int columns, const std::function<std::string(int column)>& columnHeader,
                     const std::function<std::string(int row)>& rowHeader,
                     const std::function<std::string(int row, int column)>& cellText)
{
    std::vector<std::string> rowHeaders;
    rowHeaders.reserve(static_cast<std::size_t>(rows > 0 ? rows : 0));
    for (int row = 0; row < rows; ++row)
        rowHeaders.push_back(rowHeader(row));
    std::string data;
    for (int column = 0; column < columns; ++column) {
        const std::string header = columnHeader(column);
        for (int row = 0; row < rows; ++row) {
            data += header;
            data += ' ';
            data += rowHeaders[static_cast<std::size_t>(row)];
            data += ' ';
            data += cellText(row, column);
            data += '\n';
        }
        data += '\n';
    }
    return data;
}

const char* plotStatusMessage(PlotStatus status)
{
    switch (status) {
    case PlotStatus::Written:
        return nullptr;
    case PlotStatus::ScriptCreateError:
        return "Error creating file '3d_plot'!";
    case PlotStatus::ScriptWriteError:
        return "Error writing file '3d_plot'!";
    case PlotStatus::ScriptCloseError:
        return "Error closing file '3d_plot'!";
    case PlotStatus::DataCreateError:
        return "Error creating file '3d_data.gnuplot'!";
    case PlotStatus::DataWriteError:
        return "Error writing file '3d_data.gnuplot'!";
    case PlotStatus::DataCloseError:
        return "Error closing file '3d_data.gnuplot'!";
    }
    return nullptr;
}

namespace {

enum class FileStep { Done, Create, Write, Close };

// Deletes the file and creates it anew (never following a link left in its
// place), then writes all of `text` and closes it.
FileStep writeFresh(const std::string& path, const std::string& text)
{
    std::remove(path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return FileStep::Create;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            return FileStep::Write;
        }
        done += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0 ? FileStep::Done : FileStep::Close;
}

} // namespace

PlotStatus writePlotFiles(const std::string& script, const std::string& data, const std::string& folder)
{
    const std::string prefix = folder.empty() ? std::string() : folder + "/";
    switch (writeFresh(prefix + kPlotScriptName, script)) {
    case FileStep::Create:
        return PlotStatus::ScriptCreateError;
    case FileStep::Write:
        return PlotStatus::ScriptWriteError;
    case FileStep::Close:
        return PlotStatus::ScriptCloseError;
    case FileStep::Done:
        break;
    }
    switch (writeFresh(prefix + kPlotDataName, data)) {
    case FileStep::Create:
        return PlotStatus::DataCreateError;
    case FileStep::Write:
        return PlotStatus::DataWriteError;
    case FileStep::Close:
        return PlotStatus::DataCloseError;
    case FileStep::Done:
        break;
    }
    return PlotStatus::Written;
}
