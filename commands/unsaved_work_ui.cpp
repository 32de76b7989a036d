#include "commands/unsaved_work_ui.h"

#include <algorithm>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>

#include "commands/maps_commands_ui.h"
#include "commands/rom_commands_ui.h"
#include "common/file_name.h"
#include "common/status_text.h"
#include "tableeditor/TableEditorFrame.h"
#include "workspace/command_context_ui.h"

namespace {

// Another loaded buffer whose image came from the same file as `index`'s and
// whose image that file holds, or will hold no longer once this round is
// saved (any but one saved later in `round`), or -1. `savedAs`: the buffer
// found is one whose image Save BIN as wrote there, whatever it holds now.
int bufferSharingFile(const Workspace& workspace, int index, const std::vector<int>& round, bool& savedAs)
{
    const RomBuffers& buffers = workspace.buffers;
    const auto savedLater = [&](int k) {
        return k > index && std::find(round.begin(), round.end(), k) != round.end();
    };
    savedAs = false;
    for (int k = 0; k < kRomBufferCount; ++k) {
        if (k != index && !savedLater(k) && !buffers[k].empty() && sameFile(buffers[k].path, buffers[index].path))
            return k;
    }
    const int writer = workspace.unsaved.savedAsBy(buffers[index].path);
    if (writer >= 0 && writer != index && !savedLater(writer)) {
        savedAs = true;
        return writer;
    }
    return -1;
}

// Asks over `parts` and acts on the answer; true when the caller may go on.
bool settle(CommandContext& context, const std::vector<int>& parts, UnsavedMoment moment)
{
    if (parts.empty())
        return true;
    switch (askAboutUnsavedWork(context.window(), unsavedQuestion(parts, moment), moment == UnsavedMoment::Quit)) {
    case UnsavedAnswer::Discard:
        return true;
    case UnsavedAnswer::Keep:
        return false;
    case UnsavedAnswer::Save:
        break;
    }
    // A failed or cancelled save stops here: what it did not write is kept.
    // Buffers copied from one another share a file; saving one unasked would
    // overwrite the other's (the stock image the tuner started from, or the
    // other's saved changes), so such a buffer asks for a name of its own.
    for (int part : parts) {
        if (part == kDefinitionsPart) {
            if (!saveMapsCommand(context))
                return false;
            continue;
        }
        bool savedAs = false;
        const int sharing = bufferSharingFile(context.workspace(), part, parts, savedAs);
        if (sharing < 0) {
            if (!saveRomFile(context, part))
                return false;
            continue;
        }
        // Said in the dialog's title too, which covers the status line; the
        // narrow status field shows the line's start: what to do.
        const wxString what =
            savedAs ? wxString::Format(_("Save BIN #%d under its own name: BIN #%d was saved to its file."), part + 1,
                                       sharing + 1)
                    : wxString::Format(_("Save BIN #%d under its own name: BIN #%d shares its file."), part + 1,
                                       sharing + 1);
        context.showStatus(what);
        if (!saveRomFileAs(context, part, what)) {
            // Cancelled, the request is over; a failure shows its own message.
            const wxFrame* frame = wxDynamicCast(context.window(), wxFrame);
            if (frame && frame->GetStatusBar() && frame->GetStatusBar()->GetStatusText(1) == what)
                context.showStatus(wxString());
            return false;
        }
    }
    // A save may have taken another buffer's file (the tuner picked it as
    // the new name): that buffer's image is in no file now, so ask again.
    if (moment == UnsavedMoment::Quit) {
        const std::vector<int> left = context.workspace().unsaved.parts();
        if (!left.empty())
            return settle(context, left, moment);
    }
    return true;
}

bool isWithin(const wxWindow* window, const wxWindow* ancestor)
{
    for (; window; window = window->GetParent())
        if (window == ancestor)
            return true;
    return false;
}

// Table editors hang below the main window or the map viewer; `changedOnly`:
// those holding changes not applied.
bool closeTableEditors(wxWindow* mainWindow, bool changedOnly)
{
    std::vector<TableEditorFrame*> editors;
    for (wxWindow* window : wxTopLevelWindows) {
        auto* editor = dynamic_cast<TableEditorFrame*>(window);
        if (editor && !wxTheApp->IsScheduledForDestruction(editor) && isWithin(editor, mainWindow)
            && (!changedOnly || editor->holdsUnappliedChanges()))
            editors.push_back(editor);
    }
    for (TableEditorFrame* editor : editors)
        if (!editor->Close(false))
            return false;
    return true;
}

} // namespace

UnsavedAnswer askAboutUnsavedWork(wxWindow* parent, const StatusText& question, bool quitting)
{
    const std::string text =
        question.compose([](const std::string& piece) { return wxGetTranslation(piece).utf8_string(); });
    wxMessageDialog dialog(parent, wxString::FromUTF8(text), _("Torvane Studio"),
                           wxYES_NO | wxCANCEL | wxCANCEL_DEFAULT | wxICON_QUESTION);
    dialog.SetYesNoCancelLabels(_("Save"), _("Discard"), quitting ? _("Keep running") : _("Cancel"));
    switch (dialog.ShowModal()) {
    case wxID_YES:
        return UnsavedAnswer::Save;
    case wxID_NO:
        return UnsavedAnswer::Discard;
    default:
        return UnsavedAnswer::Keep;
    }
}

bool definitionsMayBeReplaced(CommandContext& context)
{
    if (!context.workspace().unsaved.definitionsUnsaved())
        return true;
    return settle(context, {kDefinitionsPart}, UnsavedMoment::Replace);
}

bool bufferMayBeReplaced(CommandContext& context, int index)
{
    if (!context.workspace().unsaved.bufferUnsaved(index))
        return true;
    return settle(context, {index}, UnsavedMoment::Replace);
}

bool mayQuit(CommandContext& context)
{
    // First the editors holding changes: one that applies on its way out
    // leaves its buffer unsaved. The others stay open if the tuner keeps running.
    return closeTableEditors(context.window(), true)
           && settle(context, context.workspace().unsaved.parts(), UnsavedMoment::Quit)
           && closeTableEditors(context.window(), false);
}
