#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

} // namespace
