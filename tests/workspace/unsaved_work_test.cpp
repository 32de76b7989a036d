#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "test_support.h"
#include "workspace/workspace.h"

namespace {

// Each row: what happened, in order, then the parts left unsaved and the
// question asked on quitting.
TEST(UnsavedWork, ChangesLastUntilSavedAndTheQuestionNamesThem)
{
    enum Event { Told0, Told2, Saved0, Saved2, DefsChanged, DefsSaved };
    struct Row {
        std::vector<Event> events;
        std::vector<int> parts;
        const char* quitQuestion;
    };
    const Row rows[] = {
        {{}, {}, ""},
        {{Told0}, {0}, "BIN #1 has unsaved changes. Save before quitting?"},
        {{Told0, Saved0}, {}, ""},
        {{Told2, Told0, Told0}, {0, 2}, "BIN #1 and BIN #3 have unsaved changes. Save before quitting?"},
        {{DefsChanged}, {kDefinitionsPart}, "The map definitions have unsaved changes. Save before quitting?"},
        {{DefsChanged, DefsSaved}, {}, ""},
        {{Told0, Told2, DefsChanged, Saved2},
         {0, kDefinitionsPart},
         "BIN #1 and the map definitions have unsaved changes. Save before quitting?"},
        {{DefsChanged, Told2, Told0},
         {0, 2, kDefinitionsPart},
         "BIN #1, BIN #3 and the map definitions have unsaved changes. Save before quitting?"},
    };
    for (const Row& row : rows) {
        // A buffer "told" is one whose bytes listeners heard about (Apply, a copy).
        const auto owner = std::make_unique<Workspace>();
        Workspace& workspace = *owner;
        for (Event event : row.events) {
            switch (event) {
            case Told0: workspace.bufferListeners.notify(0); break;
            case Told2: workspace.bufferListeners.notify(2); break;
            case Saved0: workspace.unsaved.bufferSaved(0); break;
            case Saved2: workspace.unsaved.bufferSaved(2); break;
            case DefsChanged: workspace.unsaved.definitionsChanged(); break;
            case DefsSaved: workspace.unsaved.definitionsSaved(); break;
            }
        }
        const std::vector<int> parts = workspace.unsaved.parts();
        EXPECT_EQ(parts, row.parts) << row.quitQuestion;
        if (!parts.empty()) {
            EXPECT_EQ(unsavedQuestion(parts, UnsavedMoment::Quit).plain(), row.quitQuestion);
        }
    }

    // Before a replacement only the part replaced is named; indices outside
    // the three buffers change nothing.
    EXPECT_EQ(unsavedQuestion({1}, UnsavedMoment::Replace).plain(), "BIN #2 has unsaved changes. Save first?");
    EXPECT_EQ(unsavedQuestion({kDefinitionsPart}, UnsavedMoment::Replace).plain(),
              "The map definitions have unsaved changes. Save first?");
    UnsavedWork unsaved;
    unsaved.bufferChanged(3);
    unsaved.bufferChanged(-1);
    EXPECT_TRUE(unsaved.parts().empty());
    EXPECT_FALSE(unsaved.bufferUnsaved(3));
}

// A save over the file that held another buffer's image leaves that image in
// no file: it is unsaved again, unless the bytes written are its own. A file
// that Save BIN as wrote stays the writer's, whatever the writer loads next.
TEST(UnsavedWork, ASaveOverAnotherBuffersFileLeavesThatBufferUnsaved)
{
    struct Write {
        int index;
        const char* file;   // nullptr: a load into the buffer
    };
    struct Row {
        const char* name;
        std::uint8_t second;   // BIN #2's byte; BIN #1 holds 1 from a.bin, BIN #3 3 from a.bin
        std::vector<int> changed;   // told before the writes
        std::vector<Write> writes;
        std::vector<int> parts;
        int savedAsA;   // whose image Save BIN as left in a.bin
    };
    const Row rows[] = {
        {"saved as onto BIN #1's file", 2, {}, {{1, "a.bin"}}, {0, 2}, 1},
        {"the same bytes lose nothing", 1, {}, {{1, "a.bin"}}, {2}, 1},
        {"and a load into BIN #2 does not forget it", 2, {}, {{1, "a.bin"}, {1, nullptr}}, {0, 2}, 1},
        {"an unsaved BIN #1 saved there takes the file back", 2, {0}, {{1, "a.bin"}, {0, "a.bin"}}, {1, 2}, -1},
        {"saved to its own file", 2, {}, {{1, "b.bin"}}, {}, -1},
        {"saved as elsewhere, then saved home", 2, {}, {{1, "c.bin"}, {1, "b.bin"}}, {}, -1},
        {"buffers loaded from one file", 2, {0}, {{0, "a.bin"}}, {2}, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RomBuffers buffers;
        const std::uint8_t bytes[] = {1, row.second, 3};
        const char* paths[] = {"a.bin", "b.bin", "a.bin"};
        for (int k = 0; k < kRomBufferCount; ++k)
            buffers[k] = {{bytes[k]}, 1, paths[k], paths[k]};
        UnsavedWork unsaved;
        for (int index : row.changed)
            unsaved.bufferChanged(index);
        for (const Write& write : row.writes) {
            if (write.file)
                unsaved.bufferWritten(buffers, write.index, write.file);
            else
                unsaved.bufferSaved(write.index);
        }
        EXPECT_EQ(unsaved.parts(), row.parts);
        EXPECT_EQ(unsaved.savedAsBy("a.bin"), row.savedAsA);
    }
    // The file BIN #1 came from, saved over under another spelling of its name.
    TempDir dir;
    writeText(dir.file("a.bin"), "x");
    std::filesystem::create_directory_symlink(dir.path(), dir.file("same"));
    RomBuffers buffers;
    buffers[0] = {{1}, 1, dir.file("a.bin"), "a.bin"};
    buffers[1] = {{2}, 1, dir.file("b.bin"), "b.bin"};
    UnsavedWork unsaved;
    unsaved.bufferWritten(buffers, 1, dir.file("same/a.bin"));
    EXPECT_EQ(unsaved.parts(), std::vector<int>{0});
    EXPECT_EQ(unsaved.savedAsBy(dir.file("a.bin")), 1);
}

} // namespace
