#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cells/cell_selection.h"
#include "cells/table_grid_model.h"

namespace {

// Three columns, two rows of signed 16-bit cells (factor 0.5, one place) at
// address 4, row by row. Raw values: 10 20 -4 / 7 0 100. The compare image
// differs in (0, 1) and ends before (1, 2), which then counts as 0.
class GridModel : public testing::Test {
protected:
    GridModel()
    {
        MapDefinition& m = map;
        m.axes[AxisX].count = 3;
        m.axes[AxisY].count = 2;
        AxisDefinition& z = m.axes[AxisZ];
        z.address = 4;
        z.bits = 16;
        z.flags = AxisSigned;
        z.factor = 0.5;
        z.decimalpl = 1;
        cells.map = &map;
        cells.workingCopy = {0, 10, 0, 20, 0xFF, 0xFC, 0, 7, 0, 0, 0, 100};
        compare.data = {9, 9, 9, 9, 0, 10, 0, 18, 0xFF, 0xFC, 0, 7, 0, 0, 0};
        compare.size = 15;
        cells.compareBuffer = &compare;
    }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> all;
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 3; ++column)
                all.push_back(model.text(row, column));
        return all;
    }

    MapDefinition map;
    RomBuffer compare;
    MapCells cells;
    TableGridModel model{cells};
};

TEST_F(GridModel, TextsAndColoursInEveryView)
{
    struct Row {
        const char* what;
        TableView view;
        int outputtype;
        std::vector<std::string> texts;   // row by row
        std::vector<bool> blue;           // light blue with highlighting
    } const rows[] = {
        {"engineering", {false, false, true}, 1, {"5.0", "10.0", "-2.0", "3.5", "0.0", "50.0"},
         {false, true, false, false, false, true}},
        {"raw", {true, false, true}, 1, {"10", "20", "-4", "7", "0", "100"}, {false, true, false, false, false, true}},
        {"whole numbers", {false, false, false}, 2, {"5", "10", "-2", "3", "0", "50"}, {}},
        {"raw difference", {true, true, true}, 1, {"0", "2", "0", "0", "0", "100"},
         {false, true, false, false, false, true}},
        {"engineering difference", {false, true, true}, 1, {"0.0", "1.0", "0.0", "0.0", "0.0", "50.0"},
         {false, true, false, false, false, true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        map.axes[AxisZ].outputtype = static_cast<std::uint16_t>(row.outputtype);
        model.fill(row.view);
        EXPECT_EQ(texts(), row.texts);
        for (std::size_t i = 0; i < row.blue.size(); ++i) {
            const CellLook look = model.look(int(i / 3), int(i % 3));
            EXPECT_EQ(look.background == kDifferenceBlue, row.blue[i]) << "cell " << i;
            if (!row.blue[i]) {
                EXPECT_EQ(look.background, heatColour(model.value(int(i / 3), int(i % 3)), model.heatScale()));
            }
        }
    }
    // Engineering: -2 to 50 gives s = 1.625; 3.5 is (128, 255, 0).
    model.fill({});
    EXPECT_EQ(model.heatScale(), 1.625);
    EXPECT_EQ(model.look(1, 0).background, (Rgb{128, 255, 0}));
    EXPECT_EQ(model.look(1, 0).text, TextColour::Default);
}

TEST_F(GridModel, DirectEditsRedrawsAndFills)
{
    model.fill({});
    model.setTypedText(0, 0, "12.34");   // rounded to 12.3, x 2, truncated: raw 24
    EXPECT_TRUE(model.commitTypedText(0, 0));
    EXPECT_EQ(cells.raw(0, 0), 24);
    EXPECT_EQ(model.text(0, 0), "12.34");   // stays as typed
    EXPECT_EQ(model.look(0, 0).background, kWhite);
    EXPECT_EQ(model.look(0, 0).text, TextColour::Black);

    const std::vector<std::uint8_t> before = cells.workingCopy;
    model.setTypedText(0, 2, "abc");
    EXPECT_FALSE(model.commitTypedText(0, 2));
    EXPECT_EQ(cells.workingCopy, before);
    EXPECT_EQ(model.text(0, 2), "abc");
    EXPECT_EQ(model.look(0, 2).text, TextColour::Red);
    EXPECT_EQ(model.look(0, 2).background, kWhite);

    // Raw difference view: the compare value is added (0 outside the compare image).
    model.fill({true, true, false});
    model.setTypedText(0, 1, "5");
    EXPECT_TRUE(model.commitTypedText(0, 1));
    EXPECT_EQ(cells.raw(0, 1), 23);
    model.setTypedText(1, 2, "-7.9");
    EXPECT_TRUE(model.commitTypedText(1, 2));
    EXPECT_EQ(cells.raw(1, 2), -7);
    model.setTypedText(1, 1, "1e12");   // beyond 32 bits: -2147483648, low 16 bits 0
    EXPECT_TRUE(model.commitTypedText(1, 1));
    EXPECT_EQ(cells.raw(1, 1), 0);
    // Engineering difference view.
    model.fill({false, true, false});
    model.setTypedText(0, 1, "1.5");   // compare 9.0 + 1.5 = 10.5: raw 21
    EXPECT_TRUE(model.commitTypedText(0, 1));
    EXPECT_EQ(cells.raw(0, 1), 21);

    // A fill forgets typed texts and white backgrounds; red text stays.
    model.fill({});
    EXPECT_EQ(model.text(0, 1), "10.5");
    EXPECT_NE(model.look(0, 1).background, kWhite);
    EXPECT_EQ(model.text(0, 2), "-2.0");
    EXPECT_EQ(model.look(0, 2).text, TextColour::Red);

    model.redrawCell(0, 2);
    EXPECT_EQ(model.look(0, 2).background, kWhite);
    EXPECT_EQ(model.look(0, 2).text, TextColour::Black);
    model.setTypedText(1, 0, "typed");
    CellSelection some(2, 3);
    some.set(1, 0);
    some.set(1, 2);
    model.redrawCells(some);
    EXPECT_EQ(model.text(1, 0), "3.5");
    EXPECT_EQ(model.look(1, 2).background, kWhite);
    EXPECT_NE(model.look(0, 0).background, kWhite);
}

} // namespace
