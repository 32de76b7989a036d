#include "tableeditor/table_grid_ui.h"

#include <algorithm>

#include "common/gtk_function_ui.h"

TableGridTable::TableGridTable(TableGridModel& model, const CellSelection& selection,
                               std::vector<std::string> columnLabels, std::vector<std::string> rowLabels)
    : m_model(model), m_selection(selection)
{
    setLabels(std::move(columnLabels), std::move(rowLabels));
    SetAttrProvider(new TableGridAttrProvider(*this));
}

void TableGridTable::setLabels(std::vector<std::string> columnLabels, std::vector<std::string> rowLabels)
{
    m_columnLabels.clear();
    m_columnLabels.reserve(columnLabels.size());
    for (const std::string& label : columnLabels)
        m_columnLabels.push_back(wxString::FromUTF8(label));
    m_rowLabels.clear();
    m_rowLabels.reserve(rowLabels.size());
    for (const std::string& label : rowLabels)
        m_rowLabels.push_back(wxString::FromUTF8(label));
}

wxString TableGridTable::GetValue(int row, int col)
{
    return wxString::FromUTF8(m_model.text(row, col));
}

void TableGridTable::SetValue(int row, int col, const wxString& value)
{
    m_model.setTypedText(row, col, value.utf8_string());
}

wxString TableGridTable::GetColLabelValue(int col)
{
    if (m_columnLabels.empty())
        return wxGridTableBase::GetColLabelValue(col);
    return col >= 0 && col < int(m_columnLabels.size()) ? m_columnLabels[col] : wxString();
}

wxString TableGridTable::GetRowLabelValue(int row)
{
    if (m_rowLabels.empty())
        return wxGridTableBase::GetRowLabelValue(row);
    return row >= 0 && row < int(m_rowLabels.size()) ? m_rowLabels[row] : wxString();
}

void TableGridTable::setSelectionColours(const wxColour& background, const wxColour& text)
{
    m_selectionBackground = background;
    m_selectionText = text;
}

namespace {

enum : std::uint32_t { kTextBlack = 1u << 24, kTextRed = 2u << 24, kSelected = 4u << 24 };

wxColour colourOf(const Rgb& rgb)
{
    return wxColour(rgb.red, rgb.green, rgb.blue);
}

} // namespace

wxGridCellAttr* TableGridAttrProvider::shared(std::uint32_t key, const wxColour& background,
                                              const wxColour* text) const
{
    auto found = m_cache.find(key);
    if (found == m_cache.end()) {
        wxGridCellAttrPtr attr(new wxGridCellAttr);
        attr->SetBackgroundColour(background);
        if (text)
            attr->SetTextColour(*text);
        found = m_cache.emplace(key, std::move(attr)).first;
    }
    wxGridCellAttr* attr = found->second.get();
    attr->IncRef();   // the caller releases it
    return attr;
}

wxGridCellAttr* TableGridAttrProvider::GetAttr(int row, int col, wxGridCellAttr::wxAttrKind kind) const
{
    if (kind != wxGridCellAttr::Any && kind != wxGridCellAttr::Cell)
        return nullptr;
    if (row < 0 || col < 0 || row >= m_table.m_model.rows() || col >= m_table.m_model.columns())
        return nullptr;
    if (m_table.m_selection.isSelected(row, col))
        return shared(kSelected, m_table.m_selectionBackground, &m_table.m_selectionText);

    const CellLook look = m_table.m_model.look(row, col);
    const std::uint32_t rgb = std::uint32_t(look.background.red) << 16 | std::uint32_t(look.background.green) << 8 |
                              look.background.blue;
    static const wxColour black(0, 0, 0);
    static const wxColour red(255, 0, 0);
    switch (look.text) {
    case TextColour::Black:
        return shared(rgb | kTextBlack, colourOf(look.background), &black);
    case TextColour::Red:
        return shared(rgb | kTextRed, colourOf(look.background), &red);
    default:
        return shared(rgb, colourOf(look.background), nullptr);
    }
}

GridSelectionInput::GridSelectionInput(wxGrid* grid, SelectionGesture& gesture, std::function<void()> changed)
    : m_grid(grid), m_gesture(gesture), m_changed(std::move(changed))
{
    wxWindow* cells = grid->GetGridWindow();
    cells->Bind(wxEVT_LEFT_DOWN, &GridSelectionInput::onLeftDown, this);
    cells->Bind(wxEVT_MOTION, &GridSelectionInput::onMotion, this);
    cells->Bind(wxEVT_LEFT_UP, &GridSelectionInput::onLeftUp, this);
    grid->Bind(wxEVT_GRID_LABEL_LEFT_CLICK, &GridSelectionInput::onLabelClick, this);
    grid->Bind(wxEVT_KEY_DOWN, &GridSelectionInput::onKeyDown, this);
    grid->Bind(wxEVT_GRID_SELECT_CELL, &GridSelectionInput::onCurrentCell, this);
}

bool GridSelectionInput::cellAt(const wxPoint& position, bool clip, int& row, int& col) const
{
    const wxPoint unscrolled = m_grid->CalcUnscrolledPosition(position);
    row = m_grid->YToRow(unscrolled.y, clip);
    col = m_grid->XToCol(unscrolled.x, clip);
    return row >= 0 && col >= 0;
}

void GridSelectionInput::onLeftDown(wxMouseEvent& event)
{
    // The grid still moves its cursor and starts editing as usual.
    event.Skip();
    int row = 0, col = 0;
    if (!cellAt(event.GetPosition(), false, row, col))
        return;
    m_anchorFollowsCursor = false;
    m_dragging = true;
    m_gesture.press(row, col, event.ControlDown(), event.ShiftDown());
    m_changed();
}

void GridSelectionInput::onMotion(wxMouseEvent& event)
{
    event.Skip();
    if (!m_dragging || !event.LeftIsDown())
        return;
    int row = 0, col = 0;
    if (!cellAt(event.GetPosition(), true, row, col))
        return;
    if (m_gesture.dragTo(row, col)) {
        m_grid->MakeCellVisible(row, col);
        m_changed();
    }
}

void GridSelectionInput::onLeftUp(wxMouseEvent& event)
{
    event.Skip();
    m_dragging = false;
}

void GridSelectionInput::onLabelClick(wxGridEvent& event)
{
    // The grid then puts its cursor on the first cell of the row or column.
    event.Skip();
    const int row = event.GetRow();
    const int col = event.GetCol();
    m_anchorFollowsCursor = false;
    if (row < 0 && col < 0)
        m_gesture.selectAll();
    else if (row < 0)
        m_gesture.press(0, col, event.ControlDown(), event.ShiftDown(), SelectionGesture::Span::Columns);
    else
        m_gesture.press(row, 0, event.ControlDown(), event.ShiftDown(), SelectionGesture::Span::Rows);
    m_changed();
}

namespace {

bool isCursorKey(int key)
{
    switch (key) {
    case WXK_UP: case WXK_DOWN: case WXK_LEFT: case WXK_RIGHT:
    case WXK_HOME: case WXK_END: case WXK_PAGEUP: case WXK_PAGEDOWN:
    case WXK_NUMPAD_UP: case WXK_NUMPAD_DOWN: case WXK_NUMPAD_LEFT: case WXK_NUMPAD_RIGHT:
    case WXK_NUMPAD_HOME: case WXK_NUMPAD_END: case WXK_NUMPAD_PAGEUP: case WXK_NUMPAD_PAGEDOWN:
        return true;
    default:
        return false;
    }
}

} // namespace

void GridSelectionInput::onKeyDown(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (event.ControlDown() && !event.ShiftDown() && !event.AltDown() && (key == 'A' || key == 'a')) {
        m_gesture.selectAll();
        m_changed();
        return;
    }
    // Enter (after typing a value, or on its own) moves the cursor down like
    // a plain cursor key, so the next Shift block starts where it lands.
    const bool enter = (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && !event.HasAnyModifiers();
    if (!isCursorKey(key) && !enter) {
        event.Skip();
        return;
    }
    const int lastRow = m_grid->GetNumberRows() - 1;
    const int lastCol = m_grid->GetNumberCols() - 1;
    const bool ctrl = event.ControlDown();
    const int page = std::max(1, m_grid->GetGridWindow()->GetClientSize().y / std::max(1, m_grid->GetDefaultRowSize()));
    const auto moved = [&](int row, int col) {
        switch (key) {
        case WXK_UP: case WXK_NUMPAD_UP: row = ctrl ? 0 : row - 1; break;
        case WXK_DOWN: case WXK_NUMPAD_DOWN: row = ctrl ? lastRow : row + 1; break;
        case WXK_LEFT: case WXK_NUMPAD_LEFT: col = ctrl ? 0 : col - 1; break;
        case WXK_RIGHT: case WXK_NUMPAD_RIGHT: col = ctrl ? lastCol : col + 1; break;
        case WXK_HOME: case WXK_NUMPAD_HOME: col = 0; if (ctrl) row = 0; break;
        case WXK_END: case WXK_NUMPAD_END: col = lastCol; if (ctrl) row = lastRow; break;
        case WXK_PAGEUP: case WXK_NUMPAD_PAGEUP: row -= page; break;
        default: row += page; break;
        }
        return std::pair{std::clamp(row, 0, lastRow), std::clamp(col, 0, lastCol)};
    };
    if (!event.ShiftDown()) {
        // A plain cursor move drops the selection; the next block starts
        // where the cursor lands.
        m_gesture.clear();
        m_anchorFollowsCursor = true;
        m_changed();
        const bool keypad = key >= WXK_NUMPAD_HOME && key <= WXK_NUMPAD_END;
        if (!keypad || enter) {
            event.Skip();
            return;
        }
        // The grid itself moves only on the main cursor keys; the keypad's
        // (Num Lock off) move the cursor the same way here.
        const auto [row, col] = moved(m_grid->GetGridCursorRow(), m_grid->GetGridCursorCol());
        m_grid->SetGridCursor(row, col);
        m_grid->MakeCellVisible(row, col);
        return;
    }
    // Shift: the far corner of the block moves, the cursor stays.
    const auto [row, col] = moved(m_gesture.extentRow(), m_gesture.extentColumn());
    m_gesture.extendTo(row, col);
    m_grid->MakeCellVisible(row, col);
    m_changed();
}

void GridSelectionInput::onCurrentCell(wxGridEvent& event)
{
    event.Skip();
    if (m_anchorFollowsCursor) {
        m_anchorFollowsCursor = false;
        m_gesture.setAnchor(event.GetRow(), event.GetCol());
    }
}

void guardDeleteKeys(wxGrid* grid)
{
    grid->Bind(wxEVT_KEY_DOWN, [grid](wxKeyEvent& event) {
        const int key = event.GetKeyCode();
        const bool deleting = key == WXK_DELETE || key == WXK_NUMPAD_DELETE || key == WXK_BACK;
        // With any modifier held too: the grid's own way does the same then.
        if (!deleting || grid->IsCellEditControlShown() || !grid->CanEnableCellControl()) {
            event.Skip();
            return;
        }
        grid->MakeCellVisible(grid->GetGridCursorRow(), grid->GetGridCursorCol());
        grid->EnableCellEditControl();
    });
}

void keepScrollBarsStill(wxGrid* grid)
{
    // Overlay scroll bars fade in at every pointer move over the grid, and
    // each frame of the fade repaints every visible cell: over half a second
    // of processor time per move on a large map. Plain ones stay put.
    using SetOverlay = void (*)(void*, int);
    using TypeOf = unsigned long (*)();
    using IsA = int (*)(void*, unsigned long);
    static const auto setOverlay = gtkFunction<SetOverlay>("gtk_scrolled_window_set_overlay_scrolling");
    static const auto scrolledType = gtkFunction<TypeOf>("gtk_scrolled_window_get_type");
    static const auto isA = gtkFunction<IsA>("g_type_check_instance_is_a");
    void* widget = grid->GetHandle();
    if (setOverlay && scrolledType && isA && widget && isA(widget, scrolledType()))
        setOverlay(widget, 0);
}
