#pragma once
// The one record the main window owns: three ROM image buffers, the selected
// buffer and the map definition store.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "cells/edit_history.h"
#include "definitions/map_definition.h"
#include "rom/rom_image.h"
#include "workspace/unsaved_work.h"

// Windows that show something derived from the workspace listen here:
// bufferListeners hear of changed bytes (a load, Apply, a copy between
// buffers: the index of the buffer), definitionListeners of a changed or
// replaced map list (index 0). Whatever changes them calls notify afterwards.
class ChangeListeners {
public:
    using Listener = std::function<void(int index)>;

    // Returns the token that remove() takes.
    int add(Listener listener)
    {
        m_listeners.emplace(m_next, std::move(listener));
        return m_next++;
    }
    void remove(int token) { m_listeners.erase(token); }

    void notify(int index) const
    {
        // A copy: a listener may add or remove listeners (close a window).
        const auto listeners = m_listeners;
        for (const auto& [token, listener] : listeners)
            listener(index);
    }

private:
    std::map<int, Listener> m_listeners;
    int m_next = 0;
};

// Allocated once on the heap and kept for the life of the program.
struct Workspace {
    // Bytes told changed are unsaved work until a save (or a load, which
    // marks them saved after telling).
    Workspace()
    {
        bufferListeners.add([this](int index) { unsaved.bufferChanged(index); });
    }
    Workspace(const Workspace&) = delete;
    // The map list edited (Add, Edit, Delete, Duplicate): unsaved until saved.
    void definitionsEdited()
    {
        unsaved.definitionsChanged();
        definitionListeners.notify(0);
    }
    // The map list replaced by a load, an import or New: nothing unsaved.
    void definitionsReplaced()
    {
        unsaved.definitionsSaved();
        definitionListeners.notify(0);
    }
    Workspace& operator=(const Workspace&) = delete;

    RomBuffers buffers;
    std::uint16_t selectedBuffer = 0;   // 0, 1 or 2
    DefinitionStore definitions;
    ChangeListeners bufferListeners;
    ChangeListeners definitionListeners;
    // The undo histories of all table editors stay under its limit together
    // (shared: an editor may outlive the workspace while windows close).
    std::shared_ptr<HistoryBudget> historyBudget = std::make_shared<HistoryBudget>();
    UnsavedWork unsaved;
};
