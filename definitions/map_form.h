#pragma once
// The map editor's controls as plain values: texts of the text boxes, indices
// of the choices and the texts of the label grids. The dialog copies its
// controls to and from a MapForm; reading a definition into a form and
// storing a form into a definition happen here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "definitions/map_definition.h"

// Choice index <-> stored value. Values no choice offers show as the nearest
// sensible item, and storing always gives one of the listed codes.
int typeIndex(std::uint16_t outputtype);          // 2 -> 0 "Integer", any other -> 1 "Float"
std::uint16_t outputTypeOf(int index);            // 0 -> 2, any other -> 1
int decimalsIndex(std::uint16_t decimalpl);       // i -> i; above 6 shows "6"
std::uint16_t decimalsOf(int index);              // i -> i (0 to 6)
int bitsIndex(std::uint16_t bits);                // 8 -> 0, 32 -> 2, any other -> 1 "16"
std::uint16_t bitsOf(int index);                  // 0 -> 8, 2 -> 32, any other -> 16
int sourceIndex(std::uint16_t embeddedinfotype);  // 0 to 2; any other shows "Manual"
std::uint16_t sourceOf(int index);                // i -> i; out of range -> 0

constexpr int kDecimalsChoices = 7;   // "0" to "6"

// The address text as the dialog reads it: "0x" is put in front, so it is
// read as hexadecimal; at most eight digits count and reading stops at the
// first character that is not a hexadecimal digit ("1a2b" -> 0x1A2B,
// "0x10" -> 0, "" -> 0).
std::uint32_t parseHexAddress(const std::string& text);

// A whole text as a decimal number with a point (blanks around it allowed;
// no hexadecimal, "inf" or "nan"),
// or nothing.
std::optional<double> parseNumber(const std::string& text);
// A whole text as a decimal integer (blanks around it and a sign allowed), or nothing.
std::optional<long long> parseInteger(const std::string& text);

// Number texts that the dialog reads back on Apply: fixed-point with
// `decimals` places, with more places where fewer would not read back as the
// same number (so loading and applying changes no factor, offset or label).
std::string editableNumberText(double value, int decimals);

// How embedded axis values are shown: "Integer" as the value truncated
// toward zero, "Float" with `decimals` places.
std::string displayValueText(double value, bool integer, int decimals);

struct AxisForm {
    std::string count = "1";   // X and Y only
    std::string units;
    int type = 0;              // "Integer"
    int decimals = 0;
    std::string offset = "0";
    std::string factor = "1";
    int source = SourceEmbedded;   // X and Y only
    std::string address = "0";
    int sign = 0;        // "Unsigned"
    int bits = 1;        // "16"
    int byteOrder = 0;   // "MSB First"
    int dataOrder = 0;   // "Y / X"; Z only
    // Column 0 of the label grid, row by row (X and Y only). May be shorter
    // than the grid: missing rows are empty.
    std::vector<std::string> labels;
};

// A default form is a new map: "New Map", every axis at its defaults.
struct MapForm {
    std::string title = "New Map";
    std::string description;
    std::array<AxisForm, 3> axes;   // X, Y, Z
};

// Most rows a label grid gets: the largest count an axis can hold. A Manual
// axis keeps at most kMaxLabels labels, and offers no more rows.
constexpr int kMaxLabelRows = 0xFFFF;

struct LabelRows {
    int count = 0;
    bool minMax = false;   // rows "Min" and "Max" of a Scaled axis; else numbered 1, 2, ...
};

// The rows of an axis's label grid for its Source and Count; nothing when the
// Count text is not an integer (the grid then stays as it is).
std::optional<LabelRows> labelRowsFor(const AxisForm& axis);

// The values of an "Embedded" axis read from the image with the parameters
// entered, one text per row; a value that does not lie wholly inside the
// image gives an empty text. Nothing when the grid is to stay as it is: the
// Source is not "Embedded", Count, Offset or Factor do not parse, the image
// is empty, the address lies beyond it or Count is 0.
std::optional<std::vector<std::string>> previewLabels(const AxisForm& axis, const std::uint8_t* image,
                                                      std::size_t imageSize);

// The form of a stored map. Label texts by Source: "Manual" the stored labels
// (at most 256), "Scaled" labels 0 and 1, "Embedded" the values read from
// the image with the slot's own encoding (none when the image is empty).
MapForm formFromMap(const MapDefinition& map, const std::uint8_t* image, std::size_t imageSize);

// Stores the form into the map. Texts that do not parse store 0; "Manual"
// stores at most 256 labels, "Embedded" leaves the labels alone. The map's
// own flags, the axis ids and the Z count, Source and labels are kept.
void applyForm(const MapForm& form, MapDefinition& map);
