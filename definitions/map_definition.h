#pragma once
// The in-memory set of map definitions: up to 65,535 slots that every other
// part addresses by slot index and reads or writes in place.
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

constexpr int kMaxMaps = 65535;   // the map count is a 16-bit number
constexpr int kMaxLabels = 256;

enum AxisIndex : int { AxisX = 0, AxisY = 1, AxisZ = 2 };

// Axis flag bits; other bits are carried through files unchanged.
enum AxisFlag : std::uint16_t {
    AxisSigned = 1,       // two's complement of the cell width
    AxisLsbFirst = 2,     // least significant byte at the lowest address
    AxisDataOrderXY = 4,  // Z only: stored column by column
};

enum OutputType : std::uint16_t { OutputFloat = 1, OutputInteger = 2 };

enum EmbeddedInfoType : std::uint16_t { SourceManual = 0, SourceEmbedded = 1, SourceScaled = 2 };

// An array of `Length` values that holds memory only up to the highest index
// written: every value beyond reads as a value-initialised T (zero, empty).
// Writing through the non-const operator[] grows it to that index, and
// nothing shrinks it, so a value stays until something overwrites it, as in a
// fixed array. Indices must be below Length. Growing keeps references to the
// values already held when Storage is a deque; a vector may move them.
template <typename T, std::size_t Length, typename Storage>
class GrowingArray {
public:
    GrowingArray() = default;
    // The first values; the others read as zero.
    GrowingArray(std::initializer_list<T> first) : m_values(first) {}

    static constexpr std::size_t size() { return Length; }
    // How many values hold memory (those up to the highest index written).
    std::size_t held() const { return m_values.size(); }

    const T& operator[](std::size_t i) const { return i < m_values.size() ? m_values[i] : zero(); }
    T& operator[](std::size_t i)
    {
        if (i >= m_values.size())
            m_values.resize(i + 1);
        return m_values[i];
    }

    // Every one of the Length values.
    void fill(const T& value) { m_values.assign(Length, value); }

    // Equal when every one of the Length values is, held or not.
    friend bool operator==(const GrowingArray& a, const GrowingArray& b)
    {
        for (std::size_t i = 0; i < Length; ++i)
            if (!(a[i] == b[i]))
                return false;
        return true;
    }

private:
    static const T& zero()
    {
        static const T value{};
        return value;
    }

    Storage m_values;
};

// At most 256 labels per axis; an axis holds as many as its highest index written.
using AxisLabels = GrowingArray<double, kMaxLabels, std::vector<double>>;

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
    AxisLabels labels;
    double factor = 0.0;
    double offset = 0.0;

    bool operator==(const AxisDefinition&) const = default;
};

struct MapDefinition {
    std::uint16_t flags = 0;
    std::string title;
    std::string description;
    std::array<AxisDefinition, 3> axes;   // X (columns), Y (rows), Z (cells)

    bool operator==(const MapDefinition&) const = default;
};

// The slots: a deque, so that a slot stays where it is while later ones are
// added (an open table editor or dialog may hold one).
using MapSlots = GrowingArray<MapDefinition, kMaxMaps, std::deque<MapDefinition>>;

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

struct DefinitionStore {
    std::uint16_t mapCount = 0;
    std::string formatVersion;           // root "version" of the last definitions file opened
    DefinitionsHeader header;
    MapSlots maps;
    // Where "Add New Map" composes a map before placing it in the list; it
    // keeps what the last add left in the fields the editor does not set.
    MapDefinition newMap;
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
