#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "definitions/map_list.h"
#include "definitions/map_dump.h"

namespace {

// A store listing maps titled M1, M2, ...; the scratch slot holds "N".
std::unique_ptr<DefinitionStore> listOf(int count)
{
    auto store = std::make_unique<DefinitionStore>();
    for (int i = 0; i < kMaxMaps; ++i)
        store->maps[i].title = "M" + std::to_string(i + 1);
    store->maps[kScratchSlot].title = "N";
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
    struct Row {
        Op op;
        int count;
        int selected;
        MapListChange change;
        const char* after;
    };
    const Row rows[] = {
        {Insert, 0, -1, MapListChange::Done, "N"},
        {Insert, 3, 1, MapListChange::Done, "M1 M2 N M3"},
        {Insert, 3, 2, MapListChange::Done, "M1 M2 M3 N"},
        {Insert, 3, -1, MapListChange::Done, "M1 M2 M3 N"},
        {Insert, 3, 7, MapListChange::Done, "M1 M2 M3 N"},
        {Remove, 3, 0, MapListChange::Done, "M2 M3"},
        {Remove, 3, 1, MapListChange::Done, "M1 M3"},
        {Remove, 3, 2, MapListChange::Done, "M1 M2"},
        {Remove, 1, 0, MapListChange::Done, ""},
        {Remove, 2, 2, MapListChange::Ignored, "M1 M2"},
        {Remove, 2, -1, MapListChange::Ignored, "M1 M2"},
        {Duplicate, 3, 1, MapListChange::Done, "M1 M2 M3 M2"},
        {Duplicate, 3, 3, MapListChange::Ignored, "M1 M2 M3"},
        {Duplicate, 0, -1, MapListChange::Ignored, ""},
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
        EXPECT_EQ(store->maps[kScratchSlot].title, "N");
    }
}

TEST(MapList, FullListWritesNothingAtOrBeyondTheScratchSlot)
{
    for (int count : {255, 256}) {
        auto store = listOf(count);
        const std::string before = titles(*store) + dumpMap(store->maps[kScratchSlot]);
        EXPECT_EQ(insertComposedMap(*store, 3), MapListChange::Full);
        EXPECT_EQ(appendMapCopy(*store, 3), MapListChange::Full);
        EXPECT_EQ(titles(*store) + dumpMap(store->maps[kScratchSlot]), before);
    }
    auto store = listOf(254);
    EXPECT_EQ(appendMapCopy(*store, 0), MapListChange::Done);
    EXPECT_EQ(store->maps[254].title, "M1");
}

TEST(MapList, CopyTakesTheLabelsItsSourceUsesAndKeepsTheRest)
{
    // X axis Source, labels the copy carries over (the rest keep the destination's 9).
    struct Row {
        std::uint16_t source;
        std::uint16_t count;
        int copied;
    };
    for (const Row& row : {Row{SourceManual, 3, 3}, Row{SourceManual, 300, 256}, Row{SourceScaled, 5, 2},
                           Row{SourceEmbedded, 4, 0}}) {
        SCOPED_TRACE(row.source);
        auto store = listOf(2);
        MapDefinition& from = store->maps[0];
        MapDefinition& to = store->maps[1];
        from.flags = 7;
        from.description = "d";
        for (AxisDefinition& a : from.axes) {
            a = {"src", 5, 0x1234, 32, "RPM", 2, row.count, 1, row.source, {}, 0.5, -40};
            a.labels.fill(1.0);
        }
        for (AxisDefinition& a : to.axes) {
            a.id = "dst";
            a.count = 77;
            a.embeddedinfotype = 9;
            a.labels.fill(9.0);
        }
        copyMapDefinition(*store, 0, 1);

        EXPECT_EQ(to.title, "M1");
        EXPECT_EQ(to.description, "d");
        EXPECT_EQ(to.flags, 0);
        for (int axis = AxisX; axis <= AxisZ; ++axis) {
            const AxisDefinition& a = to.axes[axis];
            EXPECT_EQ(a.id, "dst");
            EXPECT_EQ(a.units, "RPM");
            EXPECT_EQ(std::tie(a.flags, a.address, a.bits, a.decimalpl, a.outputtype, a.factor, a.offset),
                      std::make_tuple(5, 0x1234u, 32, 2, 1, 0.5, -40.0));
            const bool z = axis == AxisZ;
            EXPECT_EQ(a.count, z ? 77 : row.count);
            EXPECT_EQ(a.embeddedinfotype, z ? 9 : row.source);
            const int copied = z ? 0 : row.copied;
            for (int i = 0; i < kMaxLabels; ++i)
                ASSERT_EQ(a.labels[i], i < copied ? 1.0 : 9.0) << "label " << i;
        }
    }
}

} // namespace
