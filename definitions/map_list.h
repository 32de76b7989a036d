#pragma once
// The map list as the list commands change it: maps are slots 0 to map
// count - 1, and inserting or deleting moves whole definitions from slot to
// slot with copyMapDefinition. A new map is composed apart from the list
// (the store's newMap) before it is placed, so every slot can hold a map.
#include "definitions/map_definition.h"

// Copies what a map is (title, description, the axes' encoding, scaling and
// the labels its Source uses) from one slot to another. Everything else in
// the destination keeps its contents: the map's flags, the axis ids, the Z
// count, Source and labels, and the X and Y labels the source's Source does
// not use.
void copyMapDefinition(DefinitionStore& store, int source, int destination);
void copyMapDefinition(const MapDefinition& from, MapDefinition& to);

enum class MapListChange {
    Done,
    Ignored,   // no map at that index: nothing changed
    Full,      // the list holds kMaxMaps maps: nothing changed
};

// Add and Duplicate need a free slot.
inline bool mapListFull(const DefinitionStore& store) { return store.mapCount >= kMaxMaps; }

// Whether `index` names a map of the list (the viewer's selection may not).
inline bool isListedMap(const DefinitionStore& store, int index)
{
    return index >= 0 && index < store.mapCount;
}

// Where a new map goes: right after the selected map, or at the end when no
// map is selected (-1, also when there is no viewer) or the last one is.
int insertionPosition(const DefinitionStore& store, int selectedIndex);

// Places the map composed in the store's newMap at insertionPosition, moving
// the maps after it up by one slot. `position` receives the slot it took.
MapListChange insertComposedMap(DefinitionStore& store, int selectedIndex, int* position = nullptr);

// Removes the map at `index`; the maps after it move down by one slot and
// the former last slot is left as it was, now free.
MapListChange removeMap(DefinitionStore& store, int index);

// Appends a copy of the map at `index` at the end of the list.
MapListChange appendMapCopy(DefinitionStore& store, int index);
