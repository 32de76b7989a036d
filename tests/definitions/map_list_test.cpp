#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "definitions/map_list.h"
#include "definitions/map_dump.h"

namespace {

// A store listing maps titled M1, M2, ... (and a few more slots beyond the
// count); the map being added is titled "N".
std::unique_ptr<DefinitionStore> listOf(int count)
{
    auto store = std::make_unique<DefinitionStore>();
    for (int i = 0; i < std::min(count + 8, kMaxMaps); ++i)
        store->maps[i].title = "M" + std::to_string(i + 1);
    store->newMap.title = "N";
    store->mapCount = static_cast<std::uint16_t>(count);
    return store;
}

std::string titles(const DefinitionStore& store)
{
    std::string text;
    for (int i = 0; i < store.mapCount; ++i)
        text += (i ? " " : "") + store.maps[i].title;
    return text;
}

TEST(MapList, InsertRemoveAndDuplicateMoveWholeSlots)
{
    enum Op { Insert, Remove, Duplicate };
    constexpr MapListChange Done = MapListChange::Done, Ignored = MapListChange::Ignored;
    struct Row {
        Op op;
        int count, selected;
        MapListChange change;
        const char* after;
    };
    const Row rows[] = {
        {Insert, 0, -1, Done, "N"},          {Insert, 3, 1, Done, "M1 M2 N M3"},  {Insert, 3, 2, Done, "M1 M2 M3 N"},
        {Insert, 3, -1, Done, "M1 M2 M3 N"}, {Insert, 3, 7, Done, "M1 M2 M3 N"},  {Remove, 3, 0, Done, "M2 M3"},
        {Remove, 3, 1, Done, "M1 M3"},       {Remove, 3, 2, Done, "M1 M2"},       {Remove, 1, 0, Done, ""},
        {Remove, 2, 2, Ignored, "M1 M2"},    {Remove, 2, -1, Ignored, "M1 M2"},   {Duplicate, 3, 1, Done, "M1 M2 M3 M2"},
        {Duplicate, 3, 3, Ignored, "M1 M2 M3"}, {Duplicate, 0, -1, Ignored, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.op) + " count " + std::to_string(row.count) + " at " +
                     std::to_string(row.selected));
        auto store = listOf(row.count);
        const MapListChange change = row.op == Insert   ? insertComposedMap(*store, row.selected)
                                     : row.op == Remove ? removeMap(*store, row.selected)
                                                        : appendMapCopy(*store, row.selected);
        EXPECT_EQ(change, row.change);
        EXPECT_EQ(titles(*store), row.after);
        EXPECT_EQ(store->newMap.title, "N");
    }
}

// Every slot can hold a map: the list fills up to kMaxMaps, and only then
// are Add and Duplicate refused.
TEST(MapList, AddAndDuplicateFillEverySlot)
{
    struct Row {
        int count, selected;
        MapListChange insert, append;
        int insertedAt;
    };
    constexpr MapListChange Done = MapListChange::Done, Full = MapListChange::Full;
    const Row rows[] = {
        {255, 3, Done, Done, 4},   {256, 300, Done, Done, 256},           {kMaxMaps - 2, 40000, Done, Done, 40001},
        {kMaxMaps - 1, -1, Done, Full, kMaxMaps - 1},                   {kMaxMaps, 3, Full, Full, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("count " + std::to_string(row.count));
        auto store = listOf(row.count);
        const std::string last = store->maps[row.count - 1].title;
        int at = -1;
        EXPECT_EQ(insertComposedMap(*store, row.selected, &at), row.insert);
        EXPECT_EQ(at, row.insertedAt);
        const std::string lastAfter = at < 0 ? last : at == store->mapCount - 1 ? "N" : last;
        EXPECT_EQ(std::make_tuple(store->maps[std::max(at, 0)].title, store->maps[store->mapCount - 1].title),
                  std::make_tuple(at < 0 ? "M1" : "N", lastAfter));
        const int before = store->mapCount;
        EXPECT_EQ(appendMapCopy(*store, 0), row.append);
        EXPECT_EQ(store->mapCount, before + (row.append == Done ? 1 : 0));
        EXPECT_EQ(store->maps[store->mapCount - 1].title, row.append == Done ? "M1" : lastAfter);
    }
}

TEST(MapList, CopyTakesTheLabelsItsSourceUsesAndKeepsTheRest)
{
    // Source of the X and Y axes, their count, labels copied (the rest keep the destination's 9).
    const std::tuple<std::uint16_t, std::uint16_t, int> rows[] = {
        {SourceManual, 3, 3}, {SourceManual, 300, 256}, {SourceScaled, 5, 2}, {SourceEmbedded, 4, 0}};
    for (auto [source, count, copied] : rows) {
        SCOPED_TRACE(source);
        auto store = listOf(2);
        MapDefinition& from = store->maps[0];
        MapDefinition& to = store->maps[1];
        from.flags = 7;
        for (AxisDefinition& a : from.axes) {
            a = {"src", 5, 0x1234, 32, "RPM", 2, count, 1, source, {}, 0.5, -40};
            a.labels.fill(1.0);
        }
        for (AxisDefinition& a : to.axes) {
            a = {"dst", 0, 0, 0, "", 0, 77, 0, 9, {}, 0, 0};
            a.labels.fill(9.0);
        }
        copyMapDefinition(*store, 0, 1);
        EXPECT_EQ(std::tie(to.title, to.flags), std::make_tuple("M1", 0));
        for (int axis = AxisX; axis <= AxisZ; ++axis) {
            const AxisDefinition& a = to.axes[axis];
            const bool z = axis == AxisZ;   // its count, Source and labels stay
            EXPECT_EQ(std::tie(a.id, a.units, a.flags, a.address, a.bits, a.decimalpl, a.outputtype, a.factor,
                               a.offset, a.count, a.embeddedinfotype),
                      std::make_tuple("dst", "RPM", 5, 0x1234u, 32, 2, 1, 0.5, -40.0, z ? 77 : count,
                                      z ? 9 : source));
            for (int i = 0; i < kMaxLabels; ++i)
                ASSERT_EQ(a.labels[i], i < (z ? 0 : copied) ? 1.0 : 9.0) << "axis " << axis << " label " << i;
        }
    }
}

} // namespace
