#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cells/selection_gesture.h"

namespace {

// The selection of a 4 x 5 grid as text, one line per row ("x" selected).
std::string picture(const CellSelection& selection)
{
    std::string text;
    for (int row = 0; row < selection.rows(); ++row) {
        for (int column = 0; column < selection.columns(); ++column)
            text += selection.isSelected(row, column) ? 'x' : '.';
        text += '/';
    }
    return text;
}

TEST(SelectionGesture, BuildsTheSelectionLikeASpreadsheet)
{
    using Span = SelectionGesture::Span;
    struct Row {
        const char* what;
        std::function<void(SelectionGesture&, CellSelection&)> steps;
        std::string picture;
    } const rows[] = {
        {"a click selects nothing", [](auto& g, auto&) { g.press(1, 1, false, false); }, "...../...../...../...../"},
        {"drag spans a block",
         [](auto& g, auto&) {
             g.press(1, 1, false, false);
             g.dragTo(2, 3);
         },
         "...../.xxx./.xxx./...../"},
        {"dragging back shrinks it; back on the anchor leaves that cell",
         [](auto& g, auto&) {
             g.press(1, 1, false, false);
             g.dragTo(3, 4);
             g.dragTo(1, 1);
         },
         "...../.x.../...../...../"},
        {"ctrl adds, a new click starts afresh",
         [](auto& g, auto&) {
             g.press(0, 0, false, false);
             g.dragTo(1, 0);
             g.press(3, 4, true, false);
             g.press(2, 2, true, false);
         },
         "x..../x..../..x../....x/"},
        {"ctrl on a selected cell removes a block",
         [](auto& g, auto&) {
             g.press(0, 0, false, false);
             g.dragTo(3, 4);
             g.press(1, 1, true, false);
             g.dragTo(2, 2);
         },
         "xxxxx/x..xx/x..xx/xxxxx/"},
        {"shift extends from the anchor over what was there before",
         [](auto& g, auto&) {
             g.press(0, 4, true, false);
             g.press(1, 1, true, false);
             g.press(2, 2, false, true);
             g.press(3, 0, false, true);
         },
         "....x/xx.../xx.../xx.../"},
        {"keyboard extension and a plain cursor move",
         [](auto& g, auto&) {
             g.setAnchor(2, 2);
             g.extendTo(3, 3);
         },
         "...../...../..xx./..xx./"},
        {"header clicks: a column, shift to another, ctrl adds a row",
         [](auto& g, auto&) {
             g.press(0, 1, false, false, Span::Columns);
             g.press(0, 2, false, true, Span::Columns);
             g.press(3, 0, true, false, Span::Rows);
         },
         ".xx../.xx../.xx../xxxxx/"},
        {"a pattern set elsewhere is the base of the next ctrl or shift gesture",
         [](auto& g, auto& s) {
             g.press(0, 0, false, false);
             s.clear();
             for (int row = 0; row < 4; ++row)
                 for (int column = 0; column < 5; ++column)
                     s.set(row, column, (row + column) % 2 == 0);
             g.restart();
             g.press(3, 3, true, false);   // ctrl on a selected cell: deselects
             g.press(1, 2, false, true);   // shift carries on deselecting, over the pattern
         },
         "x.x.x/.x.../x...x/.x.../"},
        {"select all, then clear", [](auto& g, auto&) { g.selectAll(); g.clear(); }, "...../...../...../...../"},
    };
    for (const Row& row : rows) {
        CellSelection selection(4, 5);
        SelectionGesture gesture(selection);
        row.steps(gesture, selection);
        EXPECT_EQ(picture(selection), row.picture) << row.what;
    }
}

} // namespace
