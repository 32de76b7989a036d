#pragma once
#include <wx/app.h>

class TorvaneStudioApp : public wxApp {
public:
    bool OnInit() override;
};

wxDECLARE_APP(TorvaneStudioApp);
