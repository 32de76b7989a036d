#pragma once
// Window names and texts of the three BIN panels (index 0 = BIN #1), shared
// by the window tests.
#include <wx/string.h>

struct BinPanelNames {
    const char* radio;
    const char* radioLabel;
    const char* radioTip;
    const char* fileBox;
    const char* button;
    const char* buttonTip;
    // Summary rows "Size", "ECU", "HW", "SW", "Chk. Type", "Chk. 8", "Chk. 16", "Chk. 32".
    int labels[8];
    int values[8];
};

inline const BinPanelNames kBinPanels[3] = {
    {"ID_RADIOBUTTON1", "Select BIN #1", "Select BIN #1 as the default for edit operations", "ID_TEXTCTRL4",
     "ID_BUTTON3", "Load BIN #1 from your hard drive",
     {47, 1, 3, 5, 7, 9, 11, 13}, {46, 2, 4, 6, 8, 10, 12, 14}},
    {"ID_RADIOBUTTON2", "Select BIN #2", "Select BIN #2 as the default for edit operations", "ID_TEXTCTRL3",
     "ID_BUTTON2", "Load BIN #2 from your hard drive",
     {49, 15, 17, 19, 21, 23, 25, 27}, {48, 16, 18, 20, 22, 24, 26, 28}},
    {"ID_RADIOBUTTON3", "Select BIN #3", "Select BIN #3 as the default for edit operations", "ID_TEXTCTRL2",
     "ID_BUTTON1", "Load BIN #3 from your hard drive",
     {51, 29, 31, 33, 35, 37, 39, 41}, {50, 30, 32, 34, 36, 38, 40, 42}},
};

// Row positions in `labels` and `values`.
enum BinPanelRow { RowSize = 0, RowChk8 = 5, RowChk16 = 6, RowChk32 = 7 };

inline wxString staticName(int number)
{
    return wxString::Format("ID_STATICTEXT%d", number);
}
