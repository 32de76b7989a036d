// Placeholder until the map viewer lands.
#include "app/TorvaneStudioFrame.h"

void TorvaneStudioFrame::showMapViewer() {}
void TorvaneStudioFrame::rebuildMapList() {}
