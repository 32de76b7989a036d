#pragma once
// Shared by the window benchmarks (bench_main.cpp starts the toolkit).

// Whether the toolkit found a display; window benchmarks skip without one.
bool benchDisplayAvailable();
