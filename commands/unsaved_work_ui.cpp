#include "commands/unsaved_work_ui.h"

#include <string>
#include <vector>

#include <wx/intl.h>
#include <wx/msgdlg.h>

#include "commands/maps_commands_ui.h"
#include "commands/rom_commands_ui.h"
#include "common/status_text.h"
#include "tableeditor/TableEditorFrame.h"
#include "workspace/command_context_ui.h"

namespace {

bool savePart(CommandContext& context, int part)
{
    return part == kDefinitionsPart ? saveMapsCommand(context) : saveRomFile(context, part);
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
    for (int part : parts)
        if (!savePart(context, part))
            return false;
    return true;
}

bool isWithin(const wxWindow* window, const wxWindow* ancestor)
{
    for (; window; window = window->GetParent())
        if (window == ancestor)
            return true;
    return false;
}

// Table editors hang below the main window or the map viewer.
bool closeTableEditors(wxWindow* mainWindow)
{
    std::vector<TableEditorFrame*> editors;
    for (wxWindow* window : wxTopLevelWindows) {
        auto* editor = dynamic_cast<TableEditorFrame*>(window);
        if (editor && !editor->IsBeingDeleted() && isWithin(editor, mainWindow))
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
    // First the editors: one that applies on its way out leaves its buffer unsaved.
    if (!closeTableEditors(context.window()))
        return false;
    return settle(context, context.workspace().unsaved.parts(), UnsavedMoment::Quit);
}
