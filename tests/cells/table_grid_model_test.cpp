#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cells/cell_selection.h"
#include "cells/table_grid_model.h"
#include "map_cells_fixture.h"

namespace {

// 3 columns x 2 rows of signed 16-bit cells (factor 0.5, one place) at
// address 4, row by row: raw 10 20 -4 / 7 0 100. The compare image differs
// in (0, 1) and ends before (1, 2), which then counts as 0.
class GridModel : public testing::Test, protected TestCells {
protected:
    GridModel() : TestCells(2, 3, 16, AxisSigned, 0.5, 1)
    {
        map->axes[AxisZ].address = 4;
        cells.workingCopy = {0, 10, 0, 20, 0xFF, 0xFC, 0, 7, 0, 0, 0, 100};
        compare.data = {9, 9, 9, 9, 0, 10, 0, 18, 0xFF, 0xFC, 0, 7, 0, 0, 0};
        compare.size = 15;
        cells.compareBuffer = &compare;
    }
    // Every cell's text row by row, "*" after a light blue one.
    std::string shown() const
    {
        std::string all;
        for (int i = 0; i < 6; ++i)
            all += model.text(i / 3, i % 3) + (model.look(i / 3, i % 3).background == kDifferenceBlue ? "* " : " ");
        return all;
    }
    void type(int row, int col, const char* text, bool accepted)
    {
        model.setTypedText(row, col, text);
        EXPECT_EQ(model.commitTypedText(row, col), accepted) << text;
    }

    RomBuffer compare;
    TableGridModel model{cells};
};

TEST_F(GridModel, TextsAndColoursInEveryView)
{
    const struct {
        TableView view;
        int outputtype;
        const char* shown;
    } rows[] = {
        {{false, false, true}, 1, "5.0 10.0* -2.0 3.5 0.0 50.0* "},
        {{true, false, true}, 1, "10 20* -4 7 0 100* "},
        {{false, false, false}, 2, "5 10 -2 3 0 50 "},
        {{true, true, true}, 1, "0 2* 0 0 0 100* "},
        {{false, true, false}, 1, "0.0 1.0 0.0 0.0 0.0 50.0 "},
    };
    for (const auto& row : rows) {
        map->axes[AxisZ].outputtype = static_cast<std::uint16_t>(row.outputtype);
        model.fill(row.view);
        EXPECT_EQ(shown(), row.shown);
    }
    // Engineering: -2 to 50 gives s = 1.625; 3.5 lies 5.5 above the minimum, so M = 3.4: (170, 255, 0).
    map->axes[AxisZ].outputtype = 1;
    model.fill({});
    EXPECT_EQ(model.heatScale(), 1.625);
    EXPECT_EQ(model.heatMinimum(), -2.0);
    EXPECT_EQ(model.look(1, 0).background, (Rgb{170, 255, 0}));
    EXPECT_EQ(model.look(1, 0).text, TextColour::Default);
}

TEST_F(GridModel, DirectEditsRedrawsAndFills)
{
    model.fill({});
    type(0, 0, "12.5", true);
    EXPECT_EQ(model.text(0, 0), "12.5");   // stays as typed: the cell holds it
    bool held = false, adjusted = false;
    model.setTypedText(0, 0, "12.34");   // rounded to 12.3, times 2: raw 24, which reads 12.0
    EXPECT_TRUE(model.commitTypedText(0, 0, &held, &adjusted) && adjusted && !held);
    EXPECT_EQ(cells.raw(0, 0), 24);
    EXPECT_EQ(model.text(0, 0), "12.0");   // what the cell holds, not a value the image lacks
    EXPECT_EQ(model.look(0, 0).background, kWhite);
    EXPECT_EQ(model.look(0, 0).text, TextColour::Black);
    const std::vector<std::uint8_t> before = cells.workingCopy;
    type(0, 2, "abc", false);
    EXPECT_EQ(cells.workingCopy, before);
    EXPECT_EQ(model.text(0, 2), "abc");
    EXPECT_EQ(model.look(0, 2).text, TextColour::Red);
    // Beyond the cell's range: held at its limit, and the cell shows what it holds.
    model.setTypedText(1, 1, "20000");
    EXPECT_TRUE(model.commitTypedText(1, 1, &held) && held);
    EXPECT_EQ(model.text(1, 1), "16383.5");

    // Difference views add the compare value (0 outside the compare image).
    model.fill({true, true, false});
    type(0, 1, "5", true);
    type(1, 2, "-7.9", true);
    type(1, 1, "1e12", true);   // held at the cell's largest number
    EXPECT_EQ((std::vector<int>{cells.raw(0, 1), cells.raw(1, 2), cells.raw(1, 1)}), (std::vector<int>{23, -7, 32767}));
    model.fill({false, true, false});
    type(0, 1, "1.5", true);   // 9.0 + 1.5: raw 21
    EXPECT_EQ(cells.raw(0, 1), 21);

    // A fill forgets typed texts, white backgrounds, and the red of a rejected
    // text: the cell shows its stored value again, not as a rejected one.
    model.fill({});
    EXPECT_EQ(model.text(0, 1), "10.5");
    EXPECT_NE(model.look(0, 1).background, kWhite);
    EXPECT_EQ(model.text(0, 2) + (model.look(0, 2).text == TextColour::Red ? " red" : ""), "-2.0");
    model.redrawCell(0, 2);
    EXPECT_EQ(model.look(0, 2).text, TextColour::Black);
    model.setTypedText(1, 0, "typed");
    CellSelection some(2, 3);
    some.set(1, 0);
    some.set(1, 2);
    model.redrawCells(some);
    EXPECT_EQ(model.text(1, 0), "3.5");
    EXPECT_EQ(model.look(1, 2).background, kWhite);
    EXPECT_NE(model.look(0, 0).background, kWhite);

    // Shown without places, a cell still holds the half it was given, in
    // either view: the typed text stays, no "Stored as".
    map->axes[AxisZ].decimalpl = 0;
    for (const bool difference : {false, true}) {
        model.fill({false, difference, false});
        model.setTypedText(0, 0, "12.5");
        EXPECT_TRUE(model.commitTypedText(0, 0, &held, &adjusted) && !adjusted && !held) << difference;
        EXPECT_EQ(model.text(0, 0), "12.5");
    }
    EXPECT_EQ(cells.raw(0, 0), 35);   // 5.0 in the compare image plus 12.5, in half steps
}

// A raw difference is that of the cells' own numbers, as its writes take it:
// unsigned 32-bit cells above 0x7FFFFFFF neither show a huge difference nor
// store 0 when the shown difference is typed back.
TEST(GridModelRawDifference, UnsignedThirtyTwoBitCellsDifferByTheirNumbers)
{
    TestCells t(1, 2, 32);
    t.cells.setRaw(0, 0, INT32_MIN);   // 0x80000000
    t.cells.setRaw(0, 1, -1);          // 0xFFFFFFFF
    const std::vector<std::uint8_t> compare = {0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    t.compareWith(compare);
    TableGridModel model(t.cells);
    model.fill({true, true});
    EXPECT_EQ(model.text(0, 0) + " " + model.text(0, 1), "1 4294967295");
    bool held = true;
    model.setTypedText(0, 0, "2");
    EXPECT_TRUE(model.commitTypedText(0, 0, &held) && !held);
    model.setTypedText(0, 1, "4294967296");
    EXPECT_TRUE(model.commitTypedText(0, 1, &held) && held);
    EXPECT_EQ((std::vector<std::int64_t>{t.cells.number(0, 0), t.cells.number(0, 1)}),
              (std::vector<std::int64_t>{0x80000001LL, 0xFFFFFFFFLL}));
}

// Heat colours measure each value from the map's own minimum: the smallest
// cell is green and the largest red, whatever the values' offset, in the raw,
// engineering and difference views alike. One row of four cells each.
TEST(GridModelHeat, ColoursRunFromTheMapsMinimumToItsMaximum)
{
    const Rgb green{0, 255, 0}, red{255, 15, 0};
    const Rgb tenth{230, 255, 0}, twentieth{255, 63, 0};   // M = 10 and M = 20
    const struct {
        const char* kind;
        int bits;
        std::uint16_t flags;
        double factor, offset;
        std::vector<std::int32_t> raws;
        std::vector<std::uint8_t> compare;   // no compare image when empty
        TableView view;
        std::vector<Rgb> colours;
    } rows[] = {
        {"far from zero", 8, 0, 1, 0, {200, 205, 210, 215}, {}, {true}, {green, tenth, {255, 51, 0}, red}},
        {"minimum 0, as always", 8, 0, 1, 0, {0, 16, 32, 64}, {}, {true}, {green, {224, 255, 0}, {255, 255, 0}, red}},
        {"negative", 8, AxisSigned, 1, 0, {-100, -90, -80, -68}, {}, {true}, {green, tenth, twentieth, red}},
        {"differences", 8, 0, 1, 0, {10, 20, 30, 42}, {5, 5, 5, 5}, {true, true}, {green, tenth, twentieth, red}},
        {"raw view of a scaled map", 8, 0, 0.5, -20, {40, 60, 80, 104}, {}, {true}, {green, tenth, twentieth, red}},
        {"engineering view of it", 8, 0, 0.5, -20, {40, 60, 80, 104}, {}, {false}, {green, tenth, twentieth, red}},
        {"raw view of unsigned 32-bit cells, some shown negative", 32, 0, 1, 0, {0, 320, 640, -1}, {}, {true},
         {green, green, green, red}},
        {"all equal: each the smallest", 16, 0, 1, 0, {300, 300, 300, 300}, {}, {false}, std::vector<Rgb>(4, green)},
        {"equal engineering differences", 16, 0, 0.01, 0, {1050, 3201, 1606, 777},   // 0.5, 0.49999999999999645, 0.4999999999999982, 0.5
         {0x03, 0xE8, 0x0C, 0x4F, 0x06, 0x14, 0x02, 0xD7}, {false, true}, std::vector<Rgb>(4, green)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        TestCells t(1, 4, row.bits, row.flags, row.factor);
        t.map->axes[AxisZ].offset = row.offset;
        t.map->axes[AxisZ].decimalpl = 2;
        for (int c = 0; c < 4; ++c)
            t.cells.setRaw(0, c, row.raws[std::size_t(c)]);
        if (!row.compare.empty())
            t.compareWith(row.compare);
        TableGridModel model(t.cells);
        model.fill(row.view);
        std::vector<Rgb> colours;
        for (int c = 0; c < 4; ++c)
            colours.push_back(model.look(0, c).background);
        EXPECT_EQ(colours, row.colours);
    }
}

} // namespace
