// Placeholder until the maps file commands land.
#include "app/TorvaneStudioFrame.h"

bool TorvaneStudioFrame::loadMapsFile(const wxString&) { return false; }
void TorvaneStudioFrame::loadMapsCommand() {}
void TorvaneStudioFrame::saveMapsFile() {}
void TorvaneStudioFrame::clearDefinitions() { ::clearDefinitions(m_workspace->definitions); }
void TorvaneStudioFrame::connectDefinitionCommands() {}
