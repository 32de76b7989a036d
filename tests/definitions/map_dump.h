#pragma once
// Every field of a map definition as text (doubles in %a, labels other than
// 0 with their index), to compare slots byte for byte.
#include <cmath>
#include <cstdio>
#include <string>

#include "definitions/map_definition.h"

inline std::string dumpMap(const MapDefinition& map)
{
    std::string text = std::to_string(map.flags) + "|" + map.title + "|" + map.description;
    char number[64];
    for (const AxisDefinition& a : map.axes) {
        text += "\n" + a.id + "|" + a.units;
        for (unsigned v : {unsigned(a.flags), unsigned(a.address), unsigned(a.bits), unsigned(a.decimalpl),
                           unsigned(a.count), unsigned(a.outputtype), unsigned(a.embeddedinfotype)})
            text += "|" + std::to_string(v);
        for (double d : {a.factor, a.offset}) {
            std::snprintf(number, sizeof number, "|%a", d);
            text += number;
        }
        for (int i = 0; i < kMaxLabels; ++i) {
            if (a.labels[i] == 0.0 && !std::signbit(a.labels[i]))
                continue;   // keeps failure messages short
            std::snprintf(number, sizeof number, ",%d:%a", i, a.labels[i]);
            text += number;
        }
    }
    return text;
}
