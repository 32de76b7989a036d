#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "definitions/map_dump.h"
#include "definitions/map_form.h"

namespace {

using Texts = std::vector<std::string>;

TEST(MapForm, AddressTexts)
{
    const std::pair<const char*, std::uint32_t> rows[] = {
        {"7fff0", 0x7FFF0}, {"1a2b", 0x1A2B}, {"1A2B", 0x1A2B}, {"0x7fff0", 0}, {"", 0}, {" 10", 0}, {"-5", 0},
        {"12g4", 0x12}, {"FFFFFFFF", 0xFFFFFFFF}, {"123456789", 0x12345678}, {"1\xC3\xA4", 0x1}};
    for (const auto& [text, value] : rows)
        EXPECT_EQ(parseHexAddress(text), value) << '"' << text << '"';
}

TEST(MapForm, ChoiceIndicesAndStoredValues)
{
    // function, argument, result: stored value -> index shown, index -> value stored
    const std::tuple<int (*)(std::uint16_t), int, int> shown[] = {
        {typeIndex, 2, 0},    {typeIndex, 1, 1},    {typeIndex, 0, 1},     {bitsIndex, 8, 0},
        {bitsIndex, 32, 2},   {bitsIndex, 12, 1},   {decimalsIndex, 6, 6}, {decimalsIndex, 9, 6},
        {sourceIndex, 2, 2},  {sourceIndex, 3, 0}};
    for (auto [f, value, index] : shown)
        EXPECT_EQ(f(static_cast<std::uint16_t>(value)), index) << value;
    const std::tuple<std::uint16_t (*)(int), int, int> stored[] = {
        {outputTypeOf, 0, 2}, {outputTypeOf, 1, 1}, {bitsOf, 0, 8}, {bitsOf, 2, 32}, {bitsOf, -1, 16},
        {decimalsOf, 4, 4},   {sourceOf, 1, 1},     {sourceOf, -1, 0}};
    for (auto [f, index, value] : stored)
        EXPECT_EQ(f(index), value) << index;
}

TEST(MapForm, NumberTexts)
{
    EXPECT_EQ(parseNumber(" -1.5 "), -1.5);
    EXPECT_EQ(parseInteger("-3"), -3);
    // A factor of "nan" or "inf" would turn every value of the map into 0 on the next write.
    for (const char* bad : {"", "1,5", "2x", "nan", "inf", "0x10"})
        EXPECT_EQ(parseNumber(bad), std::nullopt) << bad;
    for (const char* bad : {"abc", "4.0", "99999999999999999999"})
        EXPECT_EQ(parseInteger(bad), std::nullopt) << bad;
    // Texts read back on Apply keep the exact number (see also the load and apply test).
    EXPECT_EQ(editableNumberText(1.0, 6) + " " + editableNumberText(6500.5, 0), "1.000000 6500.5");
    EXPECT_EQ(editableNumberText(0.5, 65535), "0.500000000000000000000000000000");
    EXPECT_EQ(parseNumber(editableNumberText(1e-300, 65535)), 1e-300);   // still exact where a value needs more
    const std::tuple<double, bool, int, const char*> display[] = {
        {-2.9, true, 2, "-2"}, {4294967295.0, true, 0, "4294967295"}, {200.0, false, 2, "200.00"},
        {0.5, false, 65535, "0.500000000000000000000000000000"}};   // bogus places: as the grid shows
    for (auto [value, integer, decimals, text] : display)
        EXPECT_EQ(displayValueText(value, integer, decimals), text);
}

TEST(MapForm, LabelRowsAndEmbeddedPreview)
{
    const std::vector<std::uint8_t> image = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x64, 0, 0xC8, 1, 0x2C};
    AxisForm axis;
    axis.count = "4";
    axis.address = "10";
    EXPECT_EQ(previewLabels(axis, image.data(), image.size()), (Texts{"100", "200", "300", ""}));
    // The grid stays as it is.
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
        {SourceManual, "300", kMaxLabels, false}, {SourceEmbedded, "1000000", kMaxLabelRows, false}};
    for (auto [source, count, expected, minMax] : rows) {
        axis.source = source;
        axis.count = count;
        const std::optional<LabelRows> shown = labelRowsFor(axis);
        EXPECT_EQ(shown ? std::make_pair(shown->count, shown->minMax) : std::make_pair(-1, false),
                  std::make_pair(expected, minMax));
    }
    axis.count = "x";
    EXPECT_EQ(labelRowsFor(axis), std::nullopt);
}

TEST(MapForm, LoadThenApplyChangesNothingButWhatNoChoiceOffers)
{
    auto map = std::make_unique<MapDefinition>();
    map->flags = 0x30;
    map->title = "Z\xC3\xBCndung";
    for (AxisDefinition& a : map->axes)
        a = {"x", 3, 0x7FFF0, 16, "RPM", 2, 4, 1, SourceManual, {0.5, 1000, 6500.25, 1.0 / 3}, 0.00390625, -40};
    map->axes[AxisY] = {"y", 0, 0, 8, "", 0, 5, 2, SourceScaled, {500, 6500}, 1, 0};
    map->axes[AxisZ].flags = 7;
    MapDefinition applied = *map;
    applyForm(formFromMap(*map, nullptr, 0), applied);
    EXPECT_EQ(dumpMap(applied), dumpMap(*map));

    // decimalpl 9, Source 5, bits 12, outputtype 0 and flag bits beyond the
    // choices; a Manual count above 256; texts that are no numbers.
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
    const AxisDefinition& y = odd.axes[AxisY];
    EXPECT_EQ(std::tie(y.labels[3], y.labels[255], y.factor), std::make_tuple(0.0, 2.0, 0.0));
    EXPECT_EQ(std::tie(odd.axes[AxisZ].flags, odd.axes[AxisZ].address), std::make_tuple(7, 0u));

    // Counts beyond the 16-bit field are held at its limits, never wrapped.
    for (const auto& [typed, count] : {std::pair{"70000", 65535}, {"-1", 0}, {"65535", 65535}}) {
        form.axes[AxisX].count = typed;
        applyForm(form, odd);
        EXPECT_EQ(odd.axes[AxisX].count, count) << typed;
    }
}

} // namespace
