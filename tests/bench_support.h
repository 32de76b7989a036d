#pragma once
// Shared by the window benchmarks (bench_main.cpp starts the toolkit).

// Whether the toolkit found a display; window benchmarks skip without one.
bool benchDisplayAvailable();

class wxWindow;

// Runs the event loop until the window has painted once more (at most 5 s).
void paintNow(wxWindow* window);
