#pragma once
// The list of what differs between the selected BIN and another loaded BIN:
// the maps whose cells (or stored axis values) differ, then the runs of
// bytes that differ outside every map, and a summary. It follows the images
// (recomputed after a load, an Apply or a copy between buffers) and the
// definitions (recomputed after a load, an import, New or an edit of the list). Activating a
// map line opens its table editor comparing with the other BIN; Ctrl+C
// copies the list as tab-separated rows.
#include <wx/frame.h>

#include "cells/image_differences.h"

class wxChoice;
class wxListCtrl;
class wxStaticText;
class CommandContext;
struct StatusText;

class BinDifferencesFrame : public wxFrame {
public:
    // A child of the context's window, which outlives it.
    explicit BinDifferencesFrame(CommandContext& context);
    ~BinDifferencesFrame() override;

    // Compares `source` with the BIN chosen in the window; a choice that is
    // the source itself or holds no image becomes the first other BIN that
    // holds one.
    void compareFrom(int source);
    // The comparison anew, from the images and definitions as they are now.
    void recompute();

    int sourceBuffer() const { return m_source; }
    int otherBuffer() const;
    const ImageDifferences& differences() const { return m_differences; }
    wxListCtrl* list() const { return m_list; }
    // The text of a list cell as shown.
    wxString cellText(long row, long column) const;

    // Enter or a double click on a line: a map's table editor on the source
    // BIN, comparing with the other BIN, differences shown and highlighted.
    void activateRow(long row);
    // Ctrl+C: every row, tab-separated.
    void copyToClipboard();

private:
    void pickOther();
    void showMessage(const StatusText& text);

    CommandContext& m_context;
    int m_bufferToken = -1;
    int m_definitionsToken = -1;
    int m_source = 0;
    ImageDifferences m_differences;
    wxStaticText* m_sourceLabel = nullptr;
    wxChoice* m_otherChoice = nullptr;
    wxListCtrl* m_list = nullptr;
    wxStaticText* m_summary = nullptr;
};
