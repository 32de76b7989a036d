#include "differences/differences_commands_ui.h"

#include <wx/app.h>
#include <wx/listctrl.h>

#include "differences/BinDifferencesFrame.h"
#include "workspace/command_context_ui.h"

BinDifferencesFrame& showBinDifferences(CommandContext& context)
{
    const int source = context.selectedBuffer();
    BinDifferencesFrame* frame = nullptr;
    for (wxWindow* child : context.window()->GetChildren()) {
        auto* candidate = dynamic_cast<BinDifferencesFrame*>(child);
        if (candidate && !wxTheApp->IsScheduledForDestruction(candidate))
            frame = candidate;
    }
    if (!frame)
        frame = new BinDifferencesFrame(context);
    frame->compareFrom(source);
    frame->Show();
    frame->Raise();
    // The keys go to the list, not to the BIN choice above it: Down there
    // would silently change what is compared.
    frame->list()->SetFocus();
    return *frame;
}
