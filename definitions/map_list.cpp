#include "definitions/map_list.h"

#include <algorithm>
#include <utility>

namespace {

void copyAxis(const AxisDefinition& from, AxisDefinition& to, bool withCount)
{
    to.flags = from.flags;
    to.address = from.address;
    to.bits = from.bits;
    to.units = from.units;
    to.decimalpl = from.decimalpl;
    to.outputtype = from.outputtype;
    to.factor = from.factor;
    to.offset = from.offset;
    if (!withCount)
        return;   // the Z axis: its count, Source and labels stay
    to.count = from.count;
    to.embeddedinfotype = from.embeddedinfotype;
    int labels = 0;
    if (from.embeddedinfotype == SourceManual)
        labels = std::min<int>(from.count, kMaxLabels);
    else if (from.embeddedinfotype == SourceScaled)
        labels = 2;
    for (int i = 0; i < labels; ++i)
        to.labels[i] = from.labels[i];
}

} // namespace

void copyMapDefinition(DefinitionStore& store, int source, int destination)
{
    if (source == destination || !(source >= 0 && source < kMaxMaps) || !(destination >= 0 && destination < kMaxMaps))
        return;
    // Read through the const store: reading never grows the slots.
    const MapDefinition& from = std::as_const(store).maps[source];
    copyMapDefinition(from, store.maps[destination]);
}

void copyMapDefinition(const MapDefinition& from, MapDefinition& to)
{
    if (&from == &to)
        return;
    to.title = from.title;
    to.description = from.description;
    copyAxis(from.axes[AxisX], to.axes[AxisX], true);
    copyAxis(from.axes[AxisY], to.axes[AxisY], true);
    copyAxis(from.axes[AxisZ], to.axes[AxisZ], false);
}

int insertionPosition(const DefinitionStore& store, int selectedIndex)
{
    const int count = store.mapCount;
    if (count == 0 || selectedIndex < 0 || selectedIndex >= count - 1)
        return count;
    return selectedIndex + 1;
}

MapListChange insertComposedMap(DefinitionStore& store, int selectedIndex, int* position)
{
    if (mapListFull(store))
        return MapListChange::Full;
    const int p = insertionPosition(store, selectedIndex);
    for (int k = store.mapCount - 1; k >= p; --k)
        copyMapDefinition(store, k, k + 1);
    copyMapDefinition(store.newMap, store.maps[p]);
    ++store.mapCount;
    if (position)
        *position = p;
    return MapListChange::Done;
}

MapListChange removeMap(DefinitionStore& store, int index)
{
    if (!isListedMap(store, index))
        return MapListChange::Ignored;
    for (int k = index; k + 1 < store.mapCount; ++k)
        copyMapDefinition(store, k + 1, k);
    --store.mapCount;
    return MapListChange::Done;
}

MapListChange appendMapCopy(DefinitionStore& store, int index)
{
    if (!isListedMap(store, index))
        return MapListChange::Ignored;
    if (mapListFull(store))
        return MapListChange::Full;
    copyMapDefinition(store, index, store.mapCount);
    ++store.mapCount;
    return MapListChange::Done;
}
