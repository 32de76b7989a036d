#pragma once
// Work that only the workspace holds: images changed since they were last
// loaded or saved, and definitions changed since they were last loaded,
// imported, cleared or saved. Quitting and replacing ask over it.
#include <array>
#include <map>
#include <string>
#include <vector>

#include "common/status_text.h"
#include "rom/rom_image.h"

// A part of the workspace that can hold unsaved work: a buffer index 0 to 2,
// or the definitions.
constexpr int kDefinitionsPart = -1;

class UnsavedWork {
public:
    // Apply and copies between buffers change a buffer; a load or a save
    // leaves it as its file holds it.
    void bufferChanged(int index);
    void bufferSaved(int index);
    // Buffer `index`'s image was written to `file` (its own, or one chosen
    // with Save BIN as): it holds no unsaved change. Another buffer whose
    // image that file held, and which differs, now holds one: its image is
    // in no file any more.
    void bufferWritten(const RomBuffers& buffers, int index, const std::string& file);
    // The buffer whose image Save BIN as last wrote to `file`, another
    // buffer's own, or -1: that file holds its work, whatever the buffer
    // holds now, and saving the file's own buffer there would lose it.
    int savedAsBy(const std::string& file) const;
    // The map editor, Add, Delete and Duplicate change the definitions; a
    // load, an import, New and a save leave nothing unsaved.
    void definitionsChanged() { m_definitions = true; }
    void definitionsSaved() { m_definitions = false; }

    bool bufferUnsaved(int index) const;
    bool definitionsUnsaved() const { return m_definitions; }

    // Every part holding unsaved work: buffers in order, then the definitions.
    std::vector<int> parts() const;

private:
    std::array<bool, kRomBufferCount> m_buffers{};
    std::map<std::string, int> m_savedAs;   // file -> buffer, see savedAsBy
    bool m_definitions = false;
};

// When the question is asked: on quitting, or before a load, an import or New
// replaces the parts named.
enum class UnsavedMoment { Quit, Replace };

// "BIN #1 and the map definitions have unsaved changes. Save before quitting?"
StatusText unsavedQuestion(const std::vector<int>& parts, UnsavedMoment moment);
