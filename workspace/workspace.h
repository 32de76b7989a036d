#pragma once
// The one record the main window owns: three ROM image buffers, the selected
// buffer and the map definition store.
#include <cstdint>
#include <functional>
#include <map>

#include "definitions/map_definition.h"
#include "rom/rom_image.h"

// Windows that show something derived from a buffer's bytes (the BIN panels,
// lists computed over two images) listen here; whatever changes those bytes
// (a load, Apply, a copy between buffers) calls notify afterwards.
class BufferListeners {
public:
    using Listener = std::function<void(int bufferIndex)>;

    // Returns the token that remove() takes.
    int add(Listener listener)
    {
        m_listeners.emplace(m_next, std::move(listener));
        return m_next++;
    }
    void remove(int token) { m_listeners.erase(token); }

    void notify(int bufferIndex) const
    {
        // A copy: a listener may add or remove listeners (close a window).
        const auto listeners = m_listeners;
        for (const auto& [token, listener] : listeners)
            listener(bufferIndex);
    }

private:
    std::map<int, Listener> m_listeners;
    int m_next = 0;
};

// Allocated once on the heap and kept for the life of the program.
struct Workspace {
    RomBuffers buffers;
    std::uint16_t selectedBuffer = 0;   // 0, 1 or 2
    DefinitionStore definitions;
    BufferListeners bufferListeners;
};
