#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cells/selection_gesture.h"

namespace {

// Steps on a 4 x 5 grid: p/c/s = press plain, with Ctrl, with Shift (row,
// column); d = drag to; e = Shift+cursor key to; a = cursor moved to; C/R =
// column/row header press (with a c or s suffix for Ctrl/Shift); K = an
// operation selects a checkerboard; A = select all; X = clear.
std::string run(const std::string& steps)
{
    CellSelection selection(4, 5);
    SelectionGesture gesture(selection);
    std::istringstream in(steps);
    std::string op;
    using Span = SelectionGesture::Span;
    while (in >> op) {
        int a = 0, b = 0;
        if (op == "A") { gesture.selectAll(); continue; }
        if (op == "X") { gesture.clear(); continue; }
        if (op == "K") {
            for (int row = 0; row < 4; ++row)
                for (int column = 0; column < 5; ++column)
                    selection.set(row, column, (row + column) % 2 == 0);
            gesture.restart();
            continue;
        }
        in >> a;
        const bool ctrl = op.size() > 1 && op[1] == 'c';
        const bool shift = op.size() > 1 && op[1] == 's';
        if (op[0] == 'C') { gesture.press(0, a, ctrl, shift, Span::Columns); continue; }
        if (op[0] == 'R') { gesture.press(a, 0, ctrl, shift, Span::Rows); continue; }
        in >> b;
        switch (op[0]) {
        case 'p': gesture.press(a, b, false, false); break;
        case 'c': gesture.press(a, b, true, false); break;
        case 's': gesture.press(a, b, false, true); break;
        case 'd': gesture.dragTo(a, b); break;
        case 'e': gesture.extendTo(a, b); break;
        default: gesture.setAnchor(a, b); break;
        }
    }
    std::string picture;
    for (int row = 0; row < 4; ++row, picture += '/')
        for (int column = 0; column < 5; ++column)
            picture += selection.isSelected(row, column) ? 'x' : '.';
    return picture;
}

TEST(SelectionGesture, BuildsTheSelectionLikeASpreadsheet)
{
    const struct {
        const char* steps;
        const char* picture;
    } rows[] = {
        {"p 1 1", "...../...../...../...../"},                       // a click selects nothing
        {"p 1 1 d 2 3", "...../.xxx./.xxx./...../"},                 // a drag spans a block
        {"p 1 1 d 3 4 d 1 1", "...../.x.../...../...../"},           // back on the anchor: that cell
        {"p 0 0 d 1 0 c 3 4 c 2 2", "x..../x..../..x../....x/"},     // Ctrl adds cells
        {"p 0 0 d 3 4 c 1 1 d 2 2", "xxxxx/x..xx/x..xx/xxxxx/"},     // Ctrl from a selected cell removes
        {"c 0 4 c 1 1 s 2 2 s 3 0", "....x/xx.../xx.../xx.../"},     // Shift re-spans from the anchor
        {"a 2 2 e 3 3", "...../...../..xx./..xx./"},                 // Shift with the cursor keys
        {"C 1 Cs 2 Rc 3", ".xx../.xx../.xx../xxxxx/"},               // header clicks
        {"p 0 0 K c 3 3 s 1 2", "x.x.x/.x.../x...x/.x.../"},         // gestures build on an operation's pattern
        {"A X", "...../...../...../...../"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(run(row.steps), row.picture) << row.steps;
}

} // namespace
