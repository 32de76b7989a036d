#include "workspace/unsaved_work.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "common/file_name.h"

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

void UnsavedWork::bufferWritten(const RomBuffers& buffers, int index, const std::string& file)
{
    if (!validIndex(index))
        return;
    const RomBuffer& written = buffers[index];
    const int savedAs = savedAsBy(file);
    for (int k = 0; k < kRomBufferCount; ++k) {
        const RomBuffer& other = buffers[k];
        const bool heldThere = savedAs < 0 ? sameFile(other.path, file) : savedAs == k;
        if (k == index || m_buffers[k] || other.empty() || !heldThere)
            continue;
        const bool same = other.size == written.size &&
                          std::equal(other.data.begin(), other.data.begin() + other.size, written.data.begin());
        if (!same)
            m_buffers[k] = true;
    }
    m_buffers[index] = false;
    // One record per file, however its name was spelled.
    for (auto it = m_savedAs.begin(); it != m_savedAs.end();)
        it = sameFile(it->first, file) ? m_savedAs.erase(it) : std::next(it);
    if (!sameFile(file, written.path))
        m_savedAs[file] = index;
}

int UnsavedWork::savedAsBy(const std::string& file) const
{
    for (const auto& [path, index] : m_savedAs)
        if (sameFile(path, file))
            return index;
    return -1;
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
