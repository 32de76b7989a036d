#include "app/TorvaneStudioApp.h"

wxIMPLEMENT_APP(TorvaneStudioApp);
