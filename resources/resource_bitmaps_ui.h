#pragma once
// Bitmaps decoded from the PNG images compiled into the program.
#include <wx/bitmap.h>
#include <wx/icon.h>

// Names (file names under resources/ without ".png"):
//   icon_app (64x64 window icon), about_logo, and the 48x48 tools
//   tool_load_bin, tool_save_bin, tool_load_map, tool_map_viewer, tool_map_editor,
//   tool_table_editor, tool_2d_editor, tool_preferences, tool_about, tool_quit.
// An unknown name gives an invalid bitmap.
wxBitmap resourceBitmap(const char* name);
wxIcon resourceIcon(const char* name);
