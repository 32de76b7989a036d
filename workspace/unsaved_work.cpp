#include "workspace/unsaved_work.h"

#include <string>

namespace {

bool validIndex(int index)
{
    return index >= 0 && index < kRomBufferCount;
}

} // namespace

void UnsavedWork::bufferChanged(int index)
{
    if (validIndex(index))
        m_buffers[index] = true;
}

void UnsavedWork::bufferSaved(int index)
{
    if (validIndex(index))
        m_buffers[index] = false;
}

bool UnsavedWork::bufferUnsaved(int index) const
{
    return validIndex(index) && m_buffers[index];
}

std::vector<int> UnsavedWork::parts() const
{
    std::vector<int> result;
    for (int index = 0; index < kRomBufferCount; ++index)
        if (m_buffers[index])
            result.push_back(index);
    if (m_definitions)
        result.push_back(kDefinitionsPart);
    return result;
}

StatusText unsavedQuestion(const std::vector<int>& parts, UnsavedMoment moment)
{
    StatusText text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text.fixed(i + 1 == parts.size() ? " and " : ", ");
        if (parts[i] == kDefinitionsPart)
            text.fixed(i == 0 ? "The map definitions" : "the map definitions");
        else
            text.fixed("BIN #").literal(std::to_string(parts[i] + 1));
    }
    // One buffer "has"; several parts, or the definitions, "have".
    const bool one = parts.size() == 1 && parts[0] != kDefinitionsPart;
    text.fixed(one ? " has unsaved changes." : " have unsaved changes.");
    text.fixed(moment == UnsavedMoment::Quit ? " Save before quitting?" : " Save first?");
    return text;
}
