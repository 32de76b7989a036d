#pragma once
// Undo and redo for one table editor. A step keeps only the bytes a change
// really altered (as runs of old and new bytes) and the selection before and
// after it, packed; consecutive steps share an unchanged selection. So a
// one-cell edit costs bytes, whatever the size of the map. The histories of
// all editors draw on one budget and stay under its byte limit together by
// dropping their oldest steps; what a step costs is what it holds on the
// heap, allocation overheads included.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "cells/cell_selection.h"
#include "common/status_text.h"

// Bytes [first, first + size) of the working copy.
struct ByteRange {
    std::size_t first = 0;
    std::size_t size = 0;
};

class EditHistory;

// What a recorded change did, told again when it is undone or redone: a
// fixed text of the program (a string literal) and, unless negative, the
// count of cells the change wrote ("Raw number added to " 12 " cells.").
struct EditNote {
    const char* text = nullptr;
    std::int64_t cells = -1;
};

// "Undone: Raw number added to 12 cells." (or "Redone: ..."); "Undone." for
// a change without a note.
StatusText editNoteMessage(bool redone, const EditNote& note);

// The byte limit that the histories sharing it stay under together.
class HistoryBudget {
public:
    static constexpr std::size_t kDefaultLimit = std::size_t(64) << 20;   // 64 MB

    explicit HistoryBudget(std::size_t byteLimit = kDefaultLimit) : m_limit(byteLimit) {}
    HistoryBudget(const HistoryBudget&) = delete;
    HistoryBudget& operator=(const HistoryBudget&) = delete;

    std::size_t limit() const { return m_limit; }
    // Bytes the steps of all sharing histories hold.
    std::size_t used() const { return m_used; }

private:
    friend class EditHistory;
    // Drops the oldest steps of all histories until the limit holds again;
    // the step just recorded by `newest` always stays.
    void trim(const EditHistory& newest);

    std::size_t m_limit;
    std::size_t m_used = 0;
    std::uint64_t m_nextStep = 0;   // steps are numbered in the order they were recorded
    std::vector<EditHistory*> m_histories;
};

class EditHistory {
public:
    static constexpr std::size_t kDefaultLimit = HistoryBudget::kDefaultLimit;

    // A history with a budget of its own.
    explicit EditHistory(std::size_t byteLimit = kDefaultLimit);
    // A history that shares the budget with others.
    explicit EditHistory(std::shared_ptr<HistoryBudget> budget);
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Before a change: notes the working copy and the selection as they stand.
    void begin(const std::vector<std::uint8_t>& cells, const CellSelection& selection);
    // After it: records the bytes that differ from what begin() noted, with
    // the note of what the change did, and drops the redo steps. A change
    // that altered no byte is not recorded (false), nor one to a block of
    // 4 GiB or more. Without a begin() nothing happens.
    bool commit(const std::vector<std::uint8_t>& cells, const CellSelection& selection, EditNote note = {});

    bool canUndo() const { return m_next > 0; }
    bool canRedo() const { return m_next < m_steps.size(); }
    // The notes of the steps that undo() and redo() would write next.
    EditNote undoNote() const { return canUndo() ? m_steps[m_next - 1].note : EditNote{}; }
    EditNote redoNote() const { return canRedo() ? m_steps[m_next].note : EditNote{}; }

    // Put back the bytes and the selection of the last step (or write it
    // again); `touched` receives the byte ranges whose bytes changed. False when
    // there is nothing to undo (redo) or the working copy no longer has the size
    // the step was recorded on.
    bool undo(std::vector<std::uint8_t>& cells, CellSelection& selection, std::vector<ByteRange>& touched);
    bool redo(std::vector<std::uint8_t>& cells, CellSelection& selection, std::vector<ByteRange>& touched);

    // The image under the working copy changed: cells that equalled `oldBase`
    // became `newBase`'s, the others were kept (cells of `cellBytes` bytes,
    // `before` the working copy as it was). Every step is rewritten the same
    // way, so that undo and redo put back the new image's cells, never the
    // old one's.
    void rebase(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& oldBase,
                const std::vector<std::uint8_t>& newBase, std::size_t cellBytes);

    // Bytes this history's steps hold on the heap (runs, packed selections,
    // their allocations' overhead and the steps' own records).
    std::size_t memoryUsed() const { return m_used; }
    std::size_t stepCount() const { return m_steps.size(); }

private:
    friend class HistoryBudget;

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

    // Bytes [first, first + size) of the working copy; their old bytes, then
    // their new bytes, follow the previous run's in the step's byte store.
    // A map's block lies in an image of at most a few megabytes.
    struct Run {
        std::uint32_t first = 0;
        std::uint32_t size = 0;
    };
    struct Step {
        std::size_t cellsSize = 0;
        std::vector<Run> runs;              // exactly as many as there are
        std::vector<std::uint8_t> bytes;    // old and new bytes of every run, exactly sized
        SharedSelection selectionBefore;
        SharedSelection selectionAfter;
        std::size_t cost = 0;               // bytes counted for this step
        std::uint64_t number = 0;           // in the budget's recording order
        EditNote note;
    };

    // The packed selection, shared with the newest step's when they are equal.
    SharedSelection share(const CellSelection& selection, std::size_t& newBytes) const;
    void apply(const Step& step, bool forward, std::vector<std::uint8_t>& cells, CellSelection& selection,
               std::vector<ByteRange>& touched) const;
    // Drops the oldest step; with nothing left to undo, every step (a redo
    // step cannot be written without the ones before it).
    void dropOldest();
    void dropNewest();

    std::shared_ptr<HistoryBudget> m_budget;   // never null
    std::deque<Step> m_steps;
    std::size_t m_next = 0;   // steps before this index are done; from it on they can be redone
    std::size_t m_used = 0;
    bool m_pending = false;
    std::vector<std::uint8_t> m_before;   // held between begin() and commit() only
    SharedSelection m_pendingSelection;
    std::size_t m_pendingSelectionBytes = 0;
};
