#pragma once
// Undo and redo for one table editor. A step keeps only the bytes a change
// really altered (as runs of old and new bytes) and the selection before and
// after it, packed; consecutive steps share an unchanged selection. So a
// one-cell edit costs bytes, whatever the size of the map, and the whole
// history stays under a byte limit by dropping its oldest steps.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "cells/cell_selection.h"

// Bytes [first, first + size) of the working copy.
struct ByteRange {
    std::size_t first = 0;
    std::size_t size = 0;
};

class EditHistory {
public:
    static constexpr std::size_t kDefaultLimit = std::size_t(64) << 20;   // 64 MB

    explicit EditHistory(std::size_t byteLimit = kDefaultLimit) : m_limit(byteLimit) {}

    // Before a change: notes the working copy and the selection as they stand.
    void begin(const std::vector<std::uint8_t>& cells, const CellSelection& selection);
    // After it: records the bytes that differ from what begin() noted and
    // drops the redo steps. A change that altered no byte is not recorded
    // (false). Without a begin() nothing happens.
    bool commit(const std::vector<std::uint8_t>& cells, const CellSelection& selection);

    bool canUndo() const { return m_next > 0; }
    bool canRedo() const { return m_next < m_steps.size(); }

    // Put back the bytes and the selection of the last step (or write it
    // again); `touched` receives the byte ranges whose bytes changed. False when
    // there is nothing to undo (redo) or the working copy no longer has the size
    // the step was recorded on.
    bool undo(std::vector<std::uint8_t>& cells, CellSelection& selection, std::vector<ByteRange>& touched);
    bool redo(std::vector<std::uint8_t>& cells, CellSelection& selection, std::vector<ByteRange>& touched);

    // Bytes the recorded steps take (the runs and the packed selections).
    std::size_t memoryUsed() const { return m_used; }
    std::size_t stepCount() const { return m_steps.size(); }

private:
    // A selection packed as run lengths or, where that would be larger, as bits.
    struct PackedSelection {
        int rows = 0;
        int columns = 0;
        bool asBits = false;
        std::vector<std::uint32_t> runs;   // alternating unselected/selected lengths, column by column
        std::vector<std::uint8_t> bits;
        std::size_t bytes() const;
        static PackedSelection pack(const CellSelection& selection);
        void unpack(CellSelection& selection) const;
        bool operator==(const PackedSelection&) const = default;
    };
    using SharedSelection = std::shared_ptr<const PackedSelection>;

    struct Run {
        std::size_t first = 0;
        std::vector<std::uint8_t> before;
        std::vector<std::uint8_t> after;
    };
    struct Step {
        std::size_t cellsSize = 0;
        std::vector<Run> runs;
        SharedSelection selectionBefore;
        SharedSelection selectionAfter;
        std::size_t cost = 0;   // bytes counted for this step
    };

    // The packed selection, shared with the newest step's when they are equal.
    SharedSelection share(const CellSelection& selection, std::size_t& newBytes) const;
    void apply(const Step& step, bool forward, std::vector<std::uint8_t>& cells, CellSelection& selection,
               std::vector<ByteRange>& touched) const;
    void dropOldestOverLimit();

    std::size_t m_limit;
    std::deque<Step> m_steps;
    std::size_t m_next = 0;   // steps before this index are done; from it on they can be redone
    std::size_t m_used = 0;
    bool m_pending = false;
    std::vector<std::uint8_t> m_before;   // held between begin() and commit() only
    SharedSelection m_pendingSelection;
    std::size_t m_pendingSelectionBytes = 0;
};
