#pragma once
// The in-memory set of map definitions: 256 fixed slots that every other part
// addresses by slot index and reads or writes in place.
#include <array>
#include <cstdint>
#include <string>

constexpr int kMaxMaps = 256;
constexpr int kMaxLabels = 256;
constexpr int kScratchSlot = 255;   // where a new map is composed before it is placed

enum AxisIndex : int { AxisX = 0, AxisY = 1, AxisZ = 2 };

// Axis flag bits; other bits are carried through files unchanged.
enum AxisFlag : std::uint16_t {
    AxisSigned = 1,       // two's complement of the cell width
    AxisLsbFirst = 2,     // least significant byte at the lowest address
    AxisDataOrderXY = 4,  // Z only: stored column by column
};

enum OutputType : std::uint16_t { OutputFloat = 1, OutputInteger = 2 };

enum EmbeddedInfoType : std::uint16_t { SourceManual = 0, SourceEmbedded = 1, SourceScaled = 2 };

struct AxisDefinition {
    std::string id;
    std::uint16_t flags = 0;
    std::uint32_t address = 0;
    std::uint16_t bits = 0;
    std::string units;
    std::uint16_t decimalpl = 0;
    std::uint16_t count = 0;
    std::uint16_t outputtype = 0;
    std::uint16_t embeddedinfotype = 0;
    std::array<double, kMaxLabels> labels{};
    double factor = 0.0;
    double offset = 0.0;
};

struct MapDefinition {
    std::uint16_t flags = 0;
    std::string title;
    std::string description;
    std::array<AxisDefinition, 3> axes;   // X (columns), Y (rows), Z (cells)
};

struct DefinitionsHeader {
    std::uint16_t flags = 0;
    std::string fileversion;
    std::string title;
    std::string description;
    std::string author;
    std::uint32_t baseoffset = 0;
};

struct ChecksumDefinition {
    std::string title;
    std::uint16_t pluginid = 0;
};

// About 1.5 MB: allocate it on the heap, never on the stack.
struct DefinitionStore {
    std::uint16_t mapCount = 0;
    std::string formatVersion;           // root "version" of the last definitions file opened
    DefinitionsHeader header;
    std::array<MapDefinition, kMaxMaps> maps;
    ChecksumDefinition checksum;
};

// Bytes per cell or axis value: 1, 2 or 4 for 8, 16 or 32 bits, else 0.
constexpr int cellWidthBytes(std::uint16_t bits)
{
    return bits == 8 ? 1 : bits == 16 ? 2 : bits == 32 ? 4 : 0;
}

// "New Map Definitions": forgets the list of maps and nothing else; slot
// contents, header, checksum and format version stay as they were.
inline void clearDefinitions(DefinitionStore& store) { store.mapCount = 0; }
