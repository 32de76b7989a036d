#include "definitions/map_definition.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <utility>

#include "definitions/map_dump.h"

// The slots and labels behave as fixed arrays that start zeroed, while only
// what was written holds memory: reading never allocates, writing grows up
// to that index, nothing shrinks, and a slot stays where it is.
TEST(MapStore, SlotsAndLabelsReadZeroUntilWrittenAndHoldOnlyWhatWasWritten)
{
    auto store = std::make_unique<DefinitionStore>();
    const DefinitionStore& read = *store;
    EXPECT_EQ(dumpMap(read.maps[0]), dumpMap(MapDefinition{}));
    EXPECT_EQ(dumpMap(read.maps[kMaxMaps - 1]), dumpMap(MapDefinition{}));
    EXPECT_EQ(read.maps.held(), 0u);

    MapDefinition& first = store->maps[0];
    first.title = "first";
    store->maps[9].axes[AxisX].labels[3] = 2.5;
    store->maps[60000].title = "far";
    EXPECT_EQ(&first, &store->maps[0]);   // growing moved no slot
    EXPECT_EQ(std::make_pair(read.maps.held(), read.maps[59999].title), std::make_pair(std::size_t{60001}, std::string()));

    const AxisLabels& labels = read.maps[9].axes[AxisX].labels;
    EXPECT_EQ(labels.held(), 4u);
    EXPECT_EQ(std::make_tuple(labels[0], labels[3], labels[255]), std::make_tuple(0.0, 2.5, 0.0));
    store->maps[9].axes[AxisX].labels[1] = 1.0;   // below the highest index: no growth
    EXPECT_EQ(std::make_tuple(labels.held(), labels[1], labels[3]), std::make_tuple(4u, 1.0, 2.5));

    AxisLabels filled{7.0, 8.0};
    EXPECT_EQ(std::make_tuple(filled.held(), std::as_const(filled)[1], std::as_const(filled)[2], AxisLabels::size()),
              std::make_tuple(2u, 8.0, 0.0, std::size_t{kMaxLabels}));
    filled.fill(-1.0);
    EXPECT_EQ(std::make_tuple(filled.held(), filled[0], filled[kMaxLabels - 1]),
              std::make_tuple(std::size_t{kMaxLabels}, -1.0, -1.0));
}
