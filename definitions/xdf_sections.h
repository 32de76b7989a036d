#pragma once
// The XDF sections as both imports read them: what a header, a table and a
// checksum section give the store (titles, texts, units, decimals, sizes,
// display types, sources and labels; an axis with a MATH element gets
// factor 1 and offset 0). Fields the section does not give stay as they were.
#include <tinyxml.h>

#include "definitions/map_definition.h"

void readXdfHeader(DefinitionsHeader& header, const TiXmlElement& section);
void readXdfTable(MapDefinition& map, const TiXmlElement& section);
void readXdfChecksum(ChecksumDefinition& checksum, const TiXmlElement& section);
