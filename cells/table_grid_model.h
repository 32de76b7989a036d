#pragma once
// What the table editor's grid shows, cell by cell, computed on demand from
// the working copy and the view: only what cannot be derived is kept (texts
// the user typed, cells redrawn white or with red text, and the spread that
// the last fill measured the heat colours in).
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "cells/map_cells.h"
#include "cells/table_display.h"

class CellSelection;

struct TableView {
    bool raw = false;          // raw values, else engineering values
    bool difference = false;   // working copy minus compare image (needs one)
    bool highlight = false;    // cells that differ from the compare image in light blue
};

// How a cell's text is coloured: the grid's own default, black after a
// redraw or an accepted edit, red after a rejected edit.
enum class TextColour : std::uint8_t { Default, Black, Red };

struct CellLook {
    Rgb background;
    TextColour text = TextColour::Default;
};

class TableGridModel {
public:
    explicit TableGridModel(MapCells& cells);

    int rows() const { return m_cells.rows(); }
    int columns() const { return m_cells.columns(); }
    const TableView& view() const { return m_view; }
    MapCells& cells() { return m_cells; }
    const MapCells& cells() const { return m_cells; }

    // Every cell anew in this view: texts from the values, heat colours over
    // the current spread; redrawn backgrounds and typed texts are forgotten
    // (text colours stay). The compare image must be set in the cells first.
    void fill(const TableView& view);

    // The cell's value in the current view (raw or engineering, absolute or
    // difference).
    double value(int row, int column) const;
    // The cell's text as the grid shows it: typed by the user, or formatted.
    std::string text(int row, int column) const;
    CellLook look(int row, int column) const;
    // The spread of the last fill and the smallest value it found: heat
    // colours measure each value from that minimum.
    double heatScale() const { return m_scale; }
    double heatMinimum() const { return m_minimum; }

    // After an operation changed the cell: formatted text, white background,
    // black text until the next fill.
    void redrawCell(int row, int column);
    // The same for every cell of the mask (same size as the grid), in one pass.
    void redrawCells(const CellSelection& cells);

    // Writes a number given as this view shows values: raw or engineering,
    // and in the difference view the compare value is added. Held at the
    // cell's limits (true when it was). The cell is not redrawn.
    bool storeShown(int row, int column, double number);

    // Whether `number` is what the cell shows now (its text read back): a
    // block pasted back over the cells it was copied from leaves them alone.
    bool shows(int row, int column, double number) const;
    // Whether the cell holds `number` exactly, unrounded (engineering values
    // may have more places than the cell shows).
    bool holdsExactly(int row, int column, double number) const;

    // Direct editing: the grid hands over the typed text, then asks to take it.
    void setTypedText(int row, int column, const std::string& text);
    // Parses the typed text and writes it into the working copy (adding the
    // compare value in the difference view). False, and red text, when it is
    // not a number; the working copy is then unchanged. The typed text stays
    // when the cell holds that number; otherwise (held at the cell's limits:
    // `held`; or between two of its steps: `adjusted`) the cell shows what it holds.
    bool commitTypedText(int row, int column, bool* held = nullptr, bool* adjusted = nullptr);

private:
    enum Flag : std::uint8_t { Redrawn = 1, BlackText = 2, RedText = 4 };
    std::size_t index(int row, int column) const
    {
        return std::size_t(column) * std::size_t(rows()) + std::size_t(row);
    }
    double valueAt(std::size_t offset) const;
    // What the heat colours measure: the value, but in the raw view the
    // cell's own number (an unsigned 32-bit cell reads -1 there yet is the
    // largest), so raw and engineering views give one picture.
    double heatValueAt(std::size_t offset) const;
    // One flag per cell, sized on first need (the map may be set after construction).
    void ensureFlags();
    bool differs(std::size_t offset, double v) const;
    MapCells& m_cells;
    TableView m_view;
    double m_scale = 0.0;
    double m_minimum = 0.0;
    std::vector<std::uint8_t> m_flags;   // per cell, column by column
    std::unordered_map<std::size_t, std::string> m_typed;
};
