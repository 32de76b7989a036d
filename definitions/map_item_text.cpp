#include "definitions/map_item_text.h"

std::string mapItemText(const std::string& title, unsigned xCount, unsigned yCount,
                        const std::string& addressText)
{
    std::string text = title;
    text += " (";
    text += addressText;
    text += ") [";
    text += std::to_string(xCount);
    text += 'x';
    text += std::to_string(yCount);
    text += ']';
    return text;
}
