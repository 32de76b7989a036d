#include "cells/edit_history.h"

#include <algorithm>
#include <cstring>

namespace {

// Runs of differing bytes closer than this are joined: a run costs more in
// bookkeeping than a few equal bytes copied along.
constexpr std::size_t kJoinGap = 16;

} // namespace

std::size_t EditHistory::PackedSelection::bytes() const
{
    return sizeof(PackedSelection) + runs.size() * sizeof(std::uint32_t) + bits.size();
}

EditHistory::PackedSelection EditHistory::PackedSelection::pack(const CellSelection& selection)
{
    PackedSelection packed;
    packed.rows = selection.rows();
    packed.columns = selection.columns();
    const std::vector<std::uint8_t>& flags = selection.flags();

    std::uint32_t length = 0;
    std::uint8_t current = 0;
    const std::size_t bitBytes = (flags.size() + 7) / 8;
    for (std::uint8_t flag : flags) {
        if (flag != current) {
            packed.runs.push_back(length);
            length = 0;
            current = flag;
            // A scattered pattern packs tighter as bits.
            if (packed.runs.size() * sizeof(std::uint32_t) > bitBytes)
                break;
        }
        ++length;
    }
    if (packed.runs.size() * sizeof(std::uint32_t) <= bitBytes) {
        packed.runs.push_back(length);
        packed.runs.shrink_to_fit();
        return packed;
    }
    packed.runs.clear();
    packed.runs.shrink_to_fit();
    packed.asBits = true;
    packed.bits.assign(bitBytes, 0);
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i])
            packed.bits[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
    return packed;
}

void EditHistory::PackedSelection::unpack(CellSelection& selection) const
{
    selection.resize(rows, columns);
    std::vector<std::uint8_t>& flags = selection.flags();
    if (asBits) {
        for (std::size_t i = 0; i < flags.size(); ++i)
            flags[i] = (bits[i / 8] >> (i % 8)) & 1;
        return;
    }
    std::size_t at = 0;
    std::uint8_t value = 0;
    for (std::uint32_t length : runs) {
        const std::size_t n = std::min<std::size_t>(length, flags.size() - at);
        std::memset(flags.data() + at, value, n);
        at += n;
        value ^= 1;
    }
}

void EditHistory::begin(const std::vector<std::uint8_t>& cells, const CellSelection& selection)
{
    m_before = cells;
    m_pendingSelection = share(selection, m_pendingSelectionBytes);
    m_pending = true;
}

EditHistory::SharedSelection EditHistory::share(const CellSelection& selection, std::size_t& newBytes) const
{
    PackedSelection packed = PackedSelection::pack(selection);
    newBytes = 0;
    if (m_next > 0) {
        const SharedSelection& newest = m_steps[m_next - 1].selectionAfter;
        if (newest && *newest == packed)
            return newest;
    }
    if (m_pendingSelection && *m_pendingSelection == packed)
        return m_pendingSelection;
    newBytes = packed.bytes();
    return std::make_shared<const PackedSelection>(std::move(packed));
}

bool EditHistory::commit(const std::vector<std::uint8_t>& cells, const CellSelection& selection)
{
    if (!m_pending)
        return false;
    m_pending = false;
    std::vector<std::uint8_t> before;
    before.swap(m_before);   // released when this returns
    SharedSelection selectionBefore = std::move(m_pendingSelection);
    if (before.size() != cells.size())
        return false;

    Step step;
    step.cellsSize = cells.size();
    std::size_t i = 0;
    const std::size_t n = cells.size();
    while (i < n) {
        // Skip equal bytes fast, then extend the run over differing bytes and small equal gaps.
        const auto mismatch = std::mismatch(before.begin() + static_cast<std::ptrdiff_t>(i), before.end(),
                                            cells.begin() + static_cast<std::ptrdiff_t>(i));
        i = static_cast<std::size_t>(mismatch.first - before.begin());
        if (i >= n)
            break;
        std::size_t end = i + 1;
        std::size_t lastDifferent = i;
        while (end < n && end - lastDifferent <= kJoinGap) {
            if (before[end] != cells[end])
                lastDifferent = end;
            ++end;
        }
        end = lastDifferent + 1;
        Run run;
        run.first = i;
        run.before.assign(before.begin() + static_cast<std::ptrdiff_t>(i),
                          before.begin() + static_cast<std::ptrdiff_t>(end));
        run.after.assign(cells.begin() + static_cast<std::ptrdiff_t>(i),
                         cells.begin() + static_cast<std::ptrdiff_t>(end));
        step.cost += sizeof(Run) + 2 * (end - i);
        step.runs.push_back(std::move(run));
        i = end;
    }
    if (step.runs.empty())
        return false;

    // The redo steps go: this change starts a new branch.
    while (m_steps.size() > m_next) {
        m_used -= m_steps.back().cost;
        m_steps.pop_back();
    }

    std::size_t afterBytes = 0;
    step.selectionBefore = selectionBefore;
    step.cost += m_pendingSelectionBytes;
    m_pendingSelection = selectionBefore;   // lets share() reuse it for the selection after
    step.selectionAfter = share(selection, afterBytes);
    m_pendingSelection.reset();
    step.cost += afterBytes + sizeof(Step);

    m_used += step.cost;
    m_steps.push_back(std::move(step));
    m_next = m_steps.size();
    dropOldestOverLimit();
    return true;
}

void EditHistory::dropOldestOverLimit()
{
    // The newest step always stays, whatever it costs.
    while (m_used > m_limit && m_steps.size() > 1) {
        m_used -= m_steps.front().cost;
        m_steps.pop_front();
        --m_next;
    }
}

void EditHistory::apply(const Step& step, bool forward, std::vector<std::uint8_t>& cells,
                        CellSelection& selection, std::vector<ByteRange>& touched) const
{
    touched.clear();
    touched.reserve(step.runs.size());
    for (const Run& run : step.runs) {
        const std::vector<std::uint8_t>& bytes = forward ? run.after : run.before;
        std::memcpy(cells.data() + run.first, bytes.data(), bytes.size());
        // A run also spans short stretches of equal bytes: report only the
        // bytes that change, so that no unchanged cell is redrawn as changed.
        const std::size_t n = bytes.size();
        std::size_t i = 0;
        while (i < n) {
            while (i < n && run.before[i] == run.after[i])
                ++i;
            std::size_t end = i;
            while (end < n && run.before[end] != run.after[end])
                ++end;
            if (end > i)
                touched.push_back({run.first + i, end - i});
            i = end;
        }
    }
    const SharedSelection& packed = forward ? step.selectionAfter : step.selectionBefore;
    if (packed)
        packed->unpack(selection);
}

bool EditHistory::undo(std::vector<std::uint8_t>& cells, CellSelection& selection, std::vector<ByteRange>& touched)
{
    if (!canUndo() || m_steps[m_next - 1].cellsSize != cells.size())
        return false;
    --m_next;
    apply(m_steps[m_next], false, cells, selection, touched);
    return true;
}

bool EditHistory::redo(std::vector<std::uint8_t>& cells, CellSelection& selection, std::vector<ByteRange>& touched)
{
    if (!canRedo() || m_steps[m_next].cellsSize != cells.size())
        return false;
    apply(m_steps[m_next], true, cells, selection, touched);
    ++m_next;
    return true;
}
