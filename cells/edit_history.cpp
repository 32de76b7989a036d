#include "cells/edit_history.h"

#include <algorithm>
#include <cstring>

#include "common/number_text.h"

namespace {

// Runs of differing bytes closer than this are joined: a run costs more in
// bookkeeping than a few equal bytes copied along.
constexpr std::size_t kJoinGap = 16;

// What an allocation of n bytes takes from the heap: the request and the
// allocator's 8-byte header in 16-byte units, at least 32 bytes (glibc).
std::size_t heapBytes(std::size_t n)
{
    return n == 0 ? 0 : std::max<std::size_t>(32, (n + 8 + 15) & ~std::size_t(15));
}

// What a step holds: its share of the deque's 512-byte blocks, and its two stores.
template <typename Step>
std::size_t stepCost(const Step& step)
{
    static_assert(sizeof(Step) < 512);
    return heapBytes(512) / (512 / sizeof(Step)) + heapBytes(step.runs.capacity() * sizeof(step.runs[0])) +
           heapBytes(step.bytes.capacity());
}

} // namespace

StatusText editNoteMessage(bool redone, const EditNote& note)
{
    if (!note.text)
        return StatusText(redone ? "Redone." : "Undone.");
    StatusText message(redone ? "Redone: " : "Undone: ");
    message.fixed(note.text);
    if (note.cells < 0)
        return message;
    std::string count;
    appendInteger(count, note.cells);
    message.literal(std::move(count)).fixed(" cells.");
    return message;
}

std::size_t EditHistory::PackedSelection::bytes() const
{
    // make_shared puts the object beside its two reference counts and a vtable pointer.
    return heapBytes(sizeof(PackedSelection) + 16) + heapBytes(runs.capacity() * sizeof(std::uint32_t)) +
           heapBytes(bits.capacity());
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

EditHistory::EditHistory(std::size_t byteLimit) : EditHistory(std::make_shared<HistoryBudget>(byteLimit)) {}

EditHistory::EditHistory(std::shared_ptr<HistoryBudget> budget)
    : m_budget(budget ? std::move(budget) : std::make_shared<HistoryBudget>())
{
    m_budget->m_histories.push_back(this);
}

EditHistory::~EditHistory()
{
    m_budget->m_used -= m_used;
    std::vector<EditHistory*>& histories = m_budget->m_histories;
    histories.erase(std::remove(histories.begin(), histories.end(), this), histories.end());
}

void EditHistory::begin(const std::vector<std::uint8_t>& cells, const CellSelection& selection)
{
    m_before = cells;
    m_pendingSelection.reset();   // a begin() without its commit() recorded nothing
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

bool EditHistory::commit(const std::vector<std::uint8_t>& cells, const CellSelection& selection, EditNote note)
{
    if (!m_pending)
        return false;
    m_pending = false;
    std::vector<std::uint8_t> before;
    before.swap(m_before);   // released when this returns
    SharedSelection selectionBefore = std::move(m_pendingSelection);
    if (before.size() != cells.size() || cells.size() > UINT32_MAX)
        return false;

    // The runs first, then storage of exactly their size: spare capacity
    // would be held for as long as the step lives.
    std::vector<Run> found;
    std::size_t runBytes = 0;
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
        found.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(end - i)});
        runBytes += end - i;
        i = end;
    }
    if (found.empty())
        return false;

    Step step;
    step.cellsSize = cells.size();
    step.note = note;
    step.runs.assign(found.begin(), found.end());
    step.bytes.reserve(2 * runBytes);
    for (const Run& run : found) {
        const auto first = static_cast<std::ptrdiff_t>(run.first);
        const auto last = static_cast<std::ptrdiff_t>(std::size_t(run.first) + run.size);
        step.bytes.insert(step.bytes.end(), before.begin() + first, before.begin() + last);
        step.bytes.insert(step.bytes.end(), cells.begin() + first, cells.begin() + last);
    }
    found = {};
    step.cost = stepCost(step);

    // The redo steps go: this change starts a new branch.
    while (m_steps.size() > m_next)
        dropNewest();

    std::size_t afterBytes = 0;
    step.selectionBefore = selectionBefore;
    m_pendingSelection = selectionBefore;   // lets share() reuse it for the selection after
    step.selectionAfter = share(selection, afterBytes);
    m_pendingSelection.reset();
    selectionBefore.reset();
    step.number = m_budget->m_nextStep++;

    // A packed selection is counted from the step that made it until the
    // last step holding it goes.
    const std::size_t added = step.cost + m_pendingSelectionBytes + afterBytes;
    m_used += added;
    m_budget->m_used += added;
    m_steps.push_back(std::move(step));
    m_next = m_steps.size();
    m_budget->trim(*this);
    return true;
}

namespace {

// Bytes of the step's packed selections that go with it: those that no
// later step shares.
template <typename Step>
std::size_t releasedSelectionBytes(const Step& step)
{
    std::size_t bytes = 0;
    const auto& before = step.selectionBefore;
    const auto& after = step.selectionAfter;
    if (before && before.use_count() == (before == after ? 2 : 1))
        bytes += before->bytes();
    if (after && after != before && after.use_count() == 1)
        bytes += after->bytes();
    return bytes;
}

} // namespace

void EditHistory::dropNewest()
{
    const std::size_t freed = m_steps.back().cost + releasedSelectionBytes(m_steps.back());
    m_used -= freed;
    m_budget->m_used -= freed;
    m_steps.pop_back();
    m_next = std::min(m_next, m_steps.size());
}

void EditHistory::dropOldest()
{
    if (m_next == 0) {
        while (!m_steps.empty())
            dropNewest();
        return;
    }
    const std::size_t freed = m_steps.front().cost + releasedSelectionBytes(m_steps.front());
    m_used -= freed;
    m_budget->m_used -= freed;
    m_steps.pop_front();
    --m_next;
}

void HistoryBudget::trim(const EditHistory& newest)
{
    while (m_used > m_limit) {
        // The oldest step of all histories; the newest one's last step stays, whatever it costs.
        EditHistory* oldest = nullptr;
        for (EditHistory* history : m_histories) {
            const std::size_t keep = history == &newest ? 1 : 0;
            if (history->m_steps.size() <= keep)
                continue;
            if (!oldest || history->m_steps.front().number < oldest->m_steps.front().number)
                oldest = history;
        }
        if (!oldest)
            return;
        oldest->dropOldest();
    }
}

void EditHistory::rebase(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& oldBase,
                         const std::vector<std::uint8_t>& newBase, std::size_t cellBytes)
{
    const std::size_t n = before.size();
    constexpr std::size_t kWidestCell = 8;
    if (m_steps.empty() || n == 0 || oldBase.size() != n || newBase.size() != n || cellBytes == 0 ||
        cellBytes > kWidestCell)
        return;
    const std::size_t unit = cellBytes;
    // A cell as the take-up leaves it: the new image's where it equalled the old one's.
    auto takenUp = [&](const std::vector<std::uint8_t>& state, std::size_t at, std::uint8_t* out) {
        const std::size_t size = std::min(unit, n - at);
        const bool unchanged = std::memcmp(state.data() + at, oldBase.data() + at, size) == 0;
        std::memcpy(out, (unchanged ? newBase.data() : state.data()) + at, size);
    };

    // Walk from the working copy back through the done steps, then forward
    // through the redo steps: `state` is each state as recorded, `shown` the
    // same taken up; a step becomes the difference of the taken-up states.
    std::vector<std::uint8_t> shown(n);
    for (std::size_t at = 0; at < n; at += unit)
        takenUp(before, at, shown.data() + at);
    const std::vector<std::uint8_t> shownNow = shown;
    for (const bool forward : {false, true}) {
        std::vector<std::uint8_t> state = before;
        if (forward)
            shown = shownNow;
        for (std::size_t k = m_next; forward ? k < m_steps.size() : k > 0; forward ? ++k : --k) {
            Step& step = m_steps[forward ? k : k - 1];
            if (step.cellsSize != n)
                break;   // the states before it cannot be told
            std::vector<std::size_t> cells;
            const std::uint8_t* stored = step.bytes.data();
            for (const Run& run : step.runs) {
                for (std::size_t at = run.first / unit * unit; at < std::size_t(run.first) + run.size; at += unit)
                    if (cells.empty() || at > cells.back())
                        cells.push_back(at);
                std::memcpy(state.data() + run.first, stored + (forward ? run.size : 0), run.size);
                stored += 2 * std::size_t(run.size);
            }
            // The step anew: only cells whose taken-up bytes it changes, adjacent ones in one run.
            std::vector<Run> runs;
            std::vector<std::uint8_t> olds, news;
            std::uint8_t taken[kWidestCell];
            for (const std::size_t at : cells) {
                const std::size_t size = std::min(unit, n - at);
                std::uint8_t* current = shown.data() + at;
                takenUp(state, at, taken);
                if (std::memcmp(current, taken, size) == 0)
                    continue;
                if (runs.empty() || std::size_t(runs.back().first) + runs.back().size != at)
                    runs.push_back({static_cast<std::uint32_t>(at), 0});
                runs.back().size += static_cast<std::uint32_t>(size);
                const std::uint8_t* oldBytes = forward ? current : taken;
                const std::uint8_t* newBytes = forward ? taken : current;
                olds.insert(olds.end(), oldBytes, oldBytes + size);
                news.insert(news.end(), newBytes, newBytes + size);
                std::memcpy(current, taken, size);
            }
            std::vector<std::uint8_t> bytes;
            bytes.reserve(olds.size() + news.size());
            std::size_t offset = 0;
            for (const Run& run : runs) {
                const auto first = std::ptrdiff_t(offset), last = std::ptrdiff_t(offset + run.size);
                bytes.insert(bytes.end(), olds.begin() + first, olds.begin() + last);
                bytes.insert(bytes.end(), news.begin() + first, news.begin() + last);
                offset += run.size;
            }
            const std::size_t oldCost = step.cost;
            step.runs = std::vector<Run>(runs.begin(), runs.end());   // exactly sized, as recorded
            step.bytes = std::move(bytes);
            step.cost = stepCost(step);
            m_used = m_used - oldCost + step.cost;
            m_budget->m_used = m_budget->m_used - oldCost + step.cost;
        }
    }
    m_budget->trim(*this);
}

void EditHistory::apply(const Step& step, bool forward, std::vector<std::uint8_t>& cells,
                        CellSelection& selection, std::vector<ByteRange>& touched) const
{
    touched.clear();
    touched.reserve(step.runs.size());
    const std::uint8_t* stored = step.bytes.data();
    for (const Run& run : step.runs) {
        const std::uint8_t* old = stored;
        const std::uint8_t* now = stored + run.size;
        stored += 2 * std::size_t(run.size);
        std::memcpy(cells.data() + run.first, forward ? now : old, run.size);
        // A run also spans short stretches of equal bytes: report only the
        // bytes that change, so that no unchanged cell is redrawn as changed.
        const std::size_t n = run.size;
        std::size_t i = 0;
        while (i < n) {
            while (i < n && old[i] == now[i])
                ++i;
            std::size_t end = i;
            while (end < n && old[end] != now[end])
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
