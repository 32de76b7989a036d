#pragma once
// The text of one line of the map viewer's tree.
#include <string>

// title + " (" + address + ") [" + X count + "x" + Y count + "]", for example
// "Ignition (1A2B0) [16x12]". The address comes already formatted (formatHex).
std::string mapItemText(const std::string& title, unsigned xCount, unsigned yCount,
                        const std::string& addressText);
