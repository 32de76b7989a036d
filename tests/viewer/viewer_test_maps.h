#pragma once
// Maps files written as text for the window tests.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct TestMap {
    std::string title;
    unsigned xCount;
    unsigned yCount;
    std::uint32_t zAddress;
};

inline std::string mapsFileXml(const std::vector<TestMap>& maps, const char* version = "1.0")
{
    std::string xml = "<?xml version=\"1.0\" ?>\n<XTS version=\"";
    xml += version;
    xml += "\">\n<HEADER><title>Test set</title></HEADER>\n";
    for (const TestMap& map : maps) {
        char address[16];
        std::snprintf(address, sizeof address, "0x%X", static_cast<unsigned>(map.zAddress));
        xml += "<TABLE><flags>0x0</flags><title>" + map.title + "</title><description></description>";
        xml += "<AXIS id=\"x\"><count>" + std::to_string(map.xCount) + "</count></AXIS>";
        xml += "<AXIS id=\"y\"><count>" + std::to_string(map.yCount) + "</count></AXIS>";
        xml += "<AXIS id=\"z\"><address>" + std::string(address) + "</address><bits>8</bits></AXIS>";
        xml += "</TABLE>\n";
    }
    xml += "<CHECKSUM><title></title><pluginid>0</pluginid></CHECKSUM>\n</XTS>\n";
    return xml;
}

inline std::vector<TestMap> threeTestMaps()
{
    return {{"Spark", 1, 1, 0}, {"Ignition", 16, 12, 0x1A2B0}, {"Boost", 8, 4, 0x400}};
}
