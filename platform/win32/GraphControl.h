// The graph control: a window class drawn in code that shows a scrolling
// line graph of samples 0..100, green on black, with a grid that travels
// with the line and the latest value written in its top-right corner. It
// paints into a back buffer and never erases its background on its own, so
// that a graph sampled several times a second never flickers.
//
// Any process may ask a graph what it shows (SendMessage, no pointers), as
// one asks a trackbar its position.
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>

namespace corvane::win32 {

inline constexpr char kGraphClassName[] = "CorvaneGraph";

// Samples taken since the graph was made (LRESULT).
inline constexpr UINT kGraphGetCount = WM_APP + 0x60;
// The latest sample, 0 before the first.
inline constexpr UINT kGraphGetLatest = WM_APP + 0x61;
// The number of lines across the graph.
inline constexpr UINT kGraphGetZoom = WM_APP + 0x62;

// Registers the class once per module; later calls do nothing.
bool RegisterGraphControl(HINSTANCE instance);

// Gives a graph what to show: the visible samples, oldest first, its zoom
// and the samples taken so far; it repaints at the next chance.
void SetGraphSamples(HWND graph, std::span<const int> visible, int zoom, std::size_t total);

// Paints the graph's picture into a device context of width x height (the
// window's WM_PAINT does this into its back buffer).
void DrawGraph(HWND graph, HDC dc, int width, int height);

}  // namespace corvane::win32
