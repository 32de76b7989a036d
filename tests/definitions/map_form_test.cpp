#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "definitions/map_dump.h"
#include "definitions/map_form.h"

namespace {

using Texts = std::vector<std::string>;

TEST(MapForm, AddressTexts)
{
    const std::pair<const char*, std::uint32_t> rows[] = {
        {"7fff0", 0x7FFF0},    {"1a2b", 0x1A2B},  {"1A2B", 0x1A2B},      {"0x7fff0", 0},   {"", 0},
        {"xyz", 0},            {" 10", 0},        {"12g4", 0x12},        {"-5", 0},        {"FFFFFFFF", 0xFFFFFFFF},
        {"123456789", 0x12345678}, {"1\xC3\xA4", 0x1},
    };
    for (const auto& [text, value] : rows)
        EXPECT_EQ(parseHexAddress(text), value) << '"' << text << '"';
}

TEST(MapForm, ChoiceIndicesAndStoredValues)
{
    // stored value -> index shown, and index -> value stored
    const std::pair<int, int> type[] = {{2, 0}, {1, 1}, {0, 1}, {7, 1}};
    for (auto [value, index] : type)
        EXPECT_EQ(typeIndex(value), index) << value;
    EXPECT_EQ(outputTypeOf(0), 2);
    EXPECT_EQ(outputTypeOf(1), 1);
    const std::pair<int, int> bits[] = {{8, 0}, {16, 1}, {32, 2}, {12, 1}, {0, 1}};
    for (auto [value, index] : bits)
        EXPECT_EQ(bitsIndex(value), index) << value;
    for (auto [index, value] : {std::pair{0, 8}, {1, 16}, {2, 32}, {-1, 16}, {5, 16}})
        EXPECT_EQ(bitsOf(index), value) << index;
    for (auto [value, index] : {std::pair{0, 0}, {6, 6}, {7, 6}, {65535, 6}})
        EXPECT_EQ(decimalsIndex(value), index) << value;
    for (auto [value, index] : {std::pair{0, 0}, {1, 1}, {2, 2}, {3, 0}, {400, 0}})
        EXPECT_EQ(sourceIndex(value), index) << value;
    for (auto [index, value] : {std::pair{0, 0}, {2, 2}, {-1, 0}, {3, 0}})
        EXPECT_EQ(sourceOf(index), value) << index;
}

TEST(MapForm, NumberTexts)
{
    EXPECT_EQ(parseNumber("1.5"), 1.5);
    EXPECT_EQ(parseNumber(" -2"), -2.0);
    for (const char* bad : {"", "1,5", "2x", "1.5 "})
        EXPECT_EQ(parseNumber(bad), std::nullopt) << bad;
    EXPECT_EQ(parseInteger("-3"), -3);
    for (const char* bad : {"", "abc", "4.0", "99999999999999999999"})
        EXPECT_EQ(parseInteger(bad), std::nullopt) << bad;

    // value, decimals, editable text
    const std::tuple<double, int, const char*> editable[] = {
        {1.0, 6, "1.000000"}, {6500, 0, "6500"}, {6500.5, 0, "6500.5"}, {0.00390625, 6, "0.00390625"}, {-40, 1, "-40.0"}};
    for (auto [value, decimals, text] : editable)
        EXPECT_EQ(editableNumberText(value, decimals), text);
    const std::tuple<double, bool, int, const char*> display[] = {
        {200.0, true, 0, "200"}, {-2.9, true, 2, "-2"}, {4294967295.0, true, 0, "4294967295"},
        {200.0, false, 2, "200.00"}, {1.25, false, 1, "1.2"}};
    for (auto [value, integer, decimals, text] : display)
        EXPECT_EQ(displayValueText(value, integer, decimals), text);
}

TEST(MapForm, LabelRowsAndEmbeddedPreview)
{
    const std::vector<std::uint8_t> image = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x64, 0x00, 0xC8, 0x01, 0x2C};
    AxisForm axis;
    axis.count = "3";
    axis.address = "10";
    EXPECT_EQ(previewLabels(axis, image.data(), image.size()), (Texts{"100", "200", "300"}));
    axis.type = 1;
    axis.decimals = 2;
    EXPECT_EQ(previewLabels(axis, image.data(), image.size()), (Texts{"100.00", "200.00", "300.00"}));
    axis.count = "5";   // the last two would lie beyond the image
    axis.type = 0;
    EXPECT_EQ(previewLabels(axis, image.data(), image.size()), (Texts{"100", "200", "300", "", ""}));

    // Cases where the grid stays as it is.
    for (auto change : {+[](AxisForm& a) { a.source = SourceManual; }, +[](AxisForm& a) { a.count = "abc"; },
                        +[](AxisForm& a) { a.count = "0"; }, +[](AxisForm& a) { a.factor = ""; },
                        +[](AxisForm& a) { a.address = "17"; }}) {
        AxisForm other = axis;
        change(other);
        EXPECT_EQ(previewLabels(other, image.data(), image.size()), std::nullopt);
    }
    EXPECT_EQ(previewLabels(axis, nullptr, 0), std::nullopt);

    const std::tuple<int, const char*, int, bool> rows[] = {
        {SourceScaled, "abc", 2, true}, {SourceManual, "4", 4, false}, {SourceEmbedded, "-1", 0, false},
        {SourceManual, "1000000", kMaxLabelRows, false}};
    for (auto [source, count, expected, minMax] : rows) {
        AxisForm a;
        a.source = source;
        a.count = count;
        ASSERT_TRUE(labelRowsFor(a).has_value()) << count;
        EXPECT_EQ(labelRowsFor(a)->count, expected);
        EXPECT_EQ(labelRowsFor(a)->minMax, minMax);
    }
    axis.count = "x";
    EXPECT_EQ(labelRowsFor(axis), std::nullopt);
}

TEST(MapForm, LoadThenApplyChangesNothingButWhatNoChoiceOffers)
{
    auto map = std::make_unique<MapDefinition>();
    map->flags = 0x30;
    map->title = "Z\xC3\xBCndung";
    for (AxisDefinition& a : map->axes) {
        a = {"x", 3, 0x7FFF0, 16, "RPM", 2, 4, 1, SourceManual, {}, 0.00390625, -40};
        a.labels = {0.5, 1000, 6500.25, 1.0 / 3};
    }
    map->axes[AxisY].embeddedinfotype = SourceScaled;
    map->axes[AxisY].count = 5;
    map->axes[AxisY].labels = {500, 6500};
    map->axes[AxisZ].flags = 7;
    MapDefinition applied = *map;
    applyForm(formFromMap(*map, nullptr, 0), applied);
    EXPECT_EQ(dumpMap(applied), dumpMap(*map));

    // decimalpl 9, Source 5, bits 12, outputtype 0, flag bits beyond the choices,
    // a Manual count above 256 and texts that are no numbers.
    MapDefinition odd = *map;
    odd.axes[AxisX] = {"x", 0xFF, 0, 12, "", 9, 300, 0, 5, {}, 1, 0};
    odd.axes[AxisY].count = 300;
    odd.axes[AxisY].embeddedinfotype = SourceManual;
    odd.axes[AxisY].labels.fill(2.0);
    odd.axes[AxisZ].flags = 0xFF;
    MapForm form = formFromMap(odd, nullptr, 0);
    EXPECT_EQ(form.axes[AxisY].labels.size(), 256u);
    form.axes[AxisY].labels[3] = "abc";
    form.axes[AxisY].factor = "";
    form.axes[AxisZ].address = "0x10";
    applyForm(form, odd);
    const AxisDefinition& x = odd.axes[AxisX];
    EXPECT_EQ(std::tie(x.flags, x.bits, x.decimalpl, x.outputtype, x.embeddedinfotype, x.count),
              std::make_tuple(3, 16, 6, 1, 0, 300));
    EXPECT_EQ(odd.axes[AxisY].labels[3], 0.0);
    EXPECT_EQ(odd.axes[AxisY].labels[255], 2.0);
    EXPECT_EQ(odd.axes[AxisY].factor, 0.0);
    EXPECT_EQ(odd.axes[AxisZ].flags, 7);
    EXPECT_EQ(odd.axes[AxisZ].address, 0u);

    form.axes[AxisX].count = "70000";   // stored in 16 bits
    applyForm(form, odd);
    EXPECT_EQ(odd.axes[AxisX].count, 70000 - 65536);
}

} // namespace
