// Placeholder until the remembered session lands.
#include "app/TorvaneStudioFrame.h"

void TorvaneStudioFrame::restoreSession() {}
void TorvaneStudioFrame::saveWindowPositions() {}
void TorvaneStudioFrame::rememberBinFile(int, const wxString&, const wxString&) {}
void TorvaneStudioFrame::rememberMapsFile(const wxString&) {}
