#pragma once
// The table editor: one map's cells from one ROM buffer in a grid, edited in
// a private working copy that reaches the buffer only on Apply. Beside the
// grid: two charts of the row and the column through the current cell, and
// the controls of the cell operations.
//
// How the pieces fit (for the code that adds operations to this window):
// - cells(): the working copy with codec access per (row, column), and the
//   compare buffer while a "Compare BIN" item is checked.
// - selection(): THE cell selection, one flag per cell. Mouse and keyboard
//   gestures write it; operations read it with forEachSelected (column by
//   column) and may set any pattern in it, then call selectionChanged().
// - gridModel(): what each cell shows. After writing cells, call
//   redrawCell() for one cell or redrawCells() with a mask for many (one
//   repaint); fillGrid() recomputes every cell in the current view.
// - cellText(), columnHeader(), rowHeader(): the texts exactly as shown.
// - showMessage(): the editor's own message line (status field 1).
// - The handlers of the cell operations, the clipboard and the 3D view are
//   the member functions in the "Cell operations" block below, wired to their
//   menu items, tools and buttons.
// - Every user action that writes cells runs between history.begin() and
//   commit(), noting what it did; Ctrl+Z undoes the last one, Ctrl+Y or
//   Ctrl+Shift+Z redoes it, and the message says which.
// - Keys beyond the grid's own (spreadsheet copy and paste, steps, moving to
//   the controls): TableEditorKeys. The selection's size shows in field 0.
#include <array>
#include <memory>
#include <vector>

#include <wx/frame.h>

#include "cells/cell_operations.h"
#include "cells/cell_selection.h"
#include "cells/edit_history.h"
#include "cells/map_cells.h"
#include "cells/selection_gesture.h"
#include "cells/table_grid_model.h"
#include "definitions/map_definition.h"

class wxBitmapButton;
class wxButton;
class wxCloseEvent;
class wxCommandEvent;
class wxGrid;
class wxGridEvent;
class wxKeyEvent;
class wxPanel;
class wxRadioButton;
class wxSizeEvent;
class wxSpinCtrl;
class wxStaticText;
class wxTextCtrl;
class GridSelectionInput;
class TableEditorKeys;
class TableGridTable;
class simpleChart;
struct StatusText;
struct Workspace;

// Identifiers of the menu items and tools, allocated at run time.
struct TableEditorIds {
    // "&File"
    int openAbsolute, openDifference, saveAbsolute, saveDifference, apply, cancel;
    // "&Modify"
    int copy, paste, incRaw, decRaw, incPerc, decPerc, incEng, decEng, fill;
    std::array<int, 3> copyFromBin;
    // "&Compare"
    std::array<int, 3> compareBin;
    int showDifferences, showRaw, highlightDifferences;
    // "&Select"
    int selectAll, invertSelection, clearSelection, selectByValue, selectGreaterOrEqual;
    int moveUp, moveDown, moveLeft, moveRight;
    // "&View", "&Windows", "&Tools"
    int viewGraphs, viewControls, editor2d, viewer3d, toolEditor;
    // Toolbar
    int toolApply, toolCancel, toolCopy, toolPaste, toolShowDifferences, toolHighlightDifferences, toolEdit2d,
        toolView3d;
};

class TableEditorFrame : public wxFrame {
public:
    // Opens on map `mapIndex` of the workspace's store, copied out of ROM
    // buffer `sourceBuffer`: working copy, headers, first fill. The caller
    // has made sure with checkMapFits() that the map fits that buffer, and
    // shows the window.
    TableEditorFrame(wxWindow* parent, Workspace& workspace, int sourceBuffer, int mapIndex);
    ~TableEditorFrame() override;

    // --- What the editor works on
    Workspace& workspace() { return m_workspace; }
    int sourceBuffer() const { return m_sourceBuffer; }
    int mapIndex() const { return m_mapIndex; }
    // The map's definition as it was when the editor opened.
    const MapDefinition& map() const { return m_map; }
    MapCells& cells() { return m_cells; }
    TableGridModel& gridModel() { return *m_model; }

    // --- View switches
    // The checked "Compare BIN" item (0..2), or -1.
    int compareBuffer() const;
    bool showDifferencesChecked() const;
    bool rawView() const;
    // Show differences with a compare BIN checked.
    bool differenceView() const;
    bool highlightChecked() const;
    // Every cell anew in the current view, then a repaint.
    void fillGrid();

    // --- Selection
    CellSelection& selection() { return m_selection; }
    // After selection() was changed directly: repaint; the next gesture of
    // the user builds on the selection as it now is.
    void selectionChanged();

    // --- Redrawing after cells changed
    void redrawCell(int row, int col);
    // Every cell of the mask (same size as the grid) at once.
    void redrawCells(const CellSelection& cells);

    // --- Texts as the grid shows them
    wxString cellText(int row, int col) const;
    wxString columnHeader(int col) const;
    wxString rowHeader(int row) const;

    // The editor's message line: the text is translated and shown in field 1.
    void showMessage(const wxString& text);
    // A message of the logic: each fixed piece translated, the rest as it is.
    void showMessage(const StatusText& text);
    // An empty message line: what it said no longer holds.
    void clearMessage();

    // --- Undo and redo of the changes to the working copy
    // Put back the last change (write it again): its cells are redrawn and
    // the selection is restored. False when there is nothing to undo (redo).
    bool undo();
    bool redo();

    // --- Controls
    // The "Raw", "Perc." and "Eng." radios.
    OperationMode operationMode() const;
    wxSpinCtrl* rawValueControl() const { return m_rawValue; }
    wxTextCtrl* percentageControl() const { return m_percentage; }
    wxTextCtrl* engineeringControl() const { return m_engineering; }
    // Top-left, top-right, bottom-left, bottom-right.
    const std::array<wxTextCtrl*, 4>& cornerControls() const { return m_corners; }
    wxGrid* grid() const { return m_grid; }
    wxPanel* controlsPanel() const { return m_controlsPanel; }
    simpleChart* xChart() const { return m_xChart; }
    simpleChart* yChart() const { return m_yChart; }
    const TableEditorIds& commandIds() const { return m_ids; }

    // "Apply": the working copy over the map's bytes in the source BIN, then
    // the window closes. Refused with a message if the source BIN no longer
    // holds the map (it was reloaded with a shorter image meanwhile).
    void apply();

    // Closes the editor as the window manager does. When changes made in it
    // are not in the source BIN the tuner is asked once: apply the changes,
    // discard them or keep editing (apply is the default). False when the
    // editor stays open. ("Cancel" and Apply close without asking.)
    bool closeAsking() { return Close(false); }
    // Whether closeAsking() may ask: a value is being typed, or changes made
    // here are not in the source BIN.
    bool holdsUnappliedChanges() const;

protected:
    // Menu items and tools (also the "Cancel" one, which then discards it)
    // take a value still being typed into a cell in first, in the view it was
    // typed in: a step, paste or view switch acts on what the cell shows.
    bool TryBefore(wxEvent& event) override;

private:
    // ---------------------------------------------------------------- Cell operations
    // Wired to their buttons, menu items and tools.
    void onIncrementRaw();
    void onDecrementRaw();
    void onIncrementPercentage();
    void onDecrementPercentage();
    void onIncrementEngineering();
    void onDecrementEngineering();
    void onFillWithValue();
    void onSelectByValue();
    void onSelectGreaterOrEqual();
    void onInterpolation();
    void onStatistics();
    void onCopyToClipboard();
    void onPasteFromClipboard();
    void onView3D();
    // Selection commands ("&Select" menu).
    void onSelectAll();
    void onInvertSelections();
    void onClearSelections();
    // Reads the controls, runs the operation, shows its outcome.
    void runOperation(CellOperation operation);
    CellInputs readInputs() const;
    // Turns the input fields black or red (InputField bits).
    void colourFields(unsigned accepted, unsigned rejected);
    // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z outside the text fields.
    void onCharHook(wxKeyEvent& event);
    // Closing other than by Apply or "Cancel": asks about unapplied changes.
    void onClose(wxCloseEvent& event);
    // True when the editor may close (nothing to apply, applied, or discarded).
    bool confirmClose();
    // Apply's write; false, with a message, when the source BIN no longer holds the map.
    bool writeToSource();
    // A value still being typed into a cell goes into the working copy.
    void commitCellEdit();
    // The same; false when the cell refused the text just typed (its message
    // shows): Apply and closing stop there once rather than drop it.
    bool takeInTypedValue();
    // The map list changed: Apply writes nowhere the map no longer lies.
    void onDefinitionsChanged();
    // After an undo or redo wrote these byte ranges.
    void showRestored(const std::vector<ByteRange>& touched);
    // "4 × 3 = 12 cells" in field 0, where menus and tools show their help.
    void showSelectionSize();

    // ---------------------------------------------------------------- Window
    void allocateIds();
    void buildMenuBar();
    void buildToolBar();
    void buildPanels();
    wxPanel* buildControlsPanel(wxWindow* parent);
    void setupGrid();
    void connectEvents();
    void updateTitle();
    void onCompareItem(int index);
    // A buffer's bytes changed (load, Apply elsewhere, copy): the compare
    // image is shown as it now is, or let go when it no longer holds the map.
    void onBufferChanged(int index);
    void differenceSwitch();
    void redrawSwitch();
    void onCellChanged(wxGridEvent& event);
    void onCurrentCellMoved(wxGridEvent& event);
    void showCharts(int row, int col);
    void refreshCharts();
    void onSize(wxSizeEvent& event);
    void refreshCell(int row, int col);
    // The whole visible grid painted anew from the model.
    void repaintGrid();
    void forgetCellLook();
    void fitColumns();
    void readHeaders();
    void takeUpSource();
    bool isChecked(int id) const;
    void toggle(int id);

    Workspace& m_workspace;
    const int m_sourceBuffer;
    const int m_mapIndex;
    MapDefinition m_map;
    MapCells m_cells;
    // The map's block in the source as the editor last took it (at opening,
    // when the source changed, at Apply): cells differing from it were changed here.
    std::vector<std::uint8_t> m_sourceBlock;
    bool m_writingSource = false;   // Apply is telling the others
    int m_usualColumnWidth = 0;                // the grid's own, before fitColumns() widened it
    CellSelection m_selection;
    SelectionGesture m_gesture{m_selection};
    std::unique_ptr<TableGridModel> m_model;
    std::unique_ptr<GridSelectionInput> m_selectionInput;
    std::unique_ptr<TableEditorKeys> m_keys;
    EditHistory m_history;   // on the workspace's budget, shared by all editors
    bool m_askingToClose = false;
    bool m_editRejected = false;       // the last value typed into a cell was refused
    bool m_definitionChanged = false;  // the map's slot describes other cells now
    bool m_paintedSelectionEmpty = true;   // no cell was selected at the last repaint
    int m_bufferListener = -1;
    int m_definitionListener = -1;

    TableEditorIds m_ids{};
    wxPanel* m_sidePanel = nullptr;
    wxPanel* m_tablePanel = nullptr;
    wxPanel* m_controlsPanel = nullptr;
    wxStaticText* m_xLabel = nullptr;
    wxStaticText* m_yLabel = nullptr;
    wxStaticText* m_titleLabel = nullptr;
    simpleChart* m_xChart = nullptr;
    simpleChart* m_yChart = nullptr;
    wxGrid* m_grid = nullptr;
    TableGridTable* m_table = nullptr;   // owned by the grid

    wxRadioButton* m_rawMode = nullptr;
    wxRadioButton* m_percentageMode = nullptr;
    wxRadioButton* m_engineeringMode = nullptr;
    wxSpinCtrl* m_rawValue = nullptr;
    wxTextCtrl* m_percentage = nullptr;
    wxTextCtrl* m_engineering = nullptr;
    std::array<wxTextCtrl*, 4> m_corners{};
    // Up and down beside raw, percentage and engineering, in that order.
    std::array<wxBitmapButton*, 6> m_stepButtons{};
    // Up, back, home (statistics), forward, down.
    std::array<wxBitmapButton*, 5> m_arrowButtons{};
    wxButton* m_fillButton = nullptr;
    wxButton* m_selectByValueButton = nullptr;
    wxButton* m_selectGreaterButton = nullptr;
    wxButton* m_interpolationButton = nullptr;
};
