// Figures of the movie player under the real window system: what a frame
// costs to draw (cold, warm, a hover repaint, a transition), and the
// processor time an idle player takes.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/movie/MovieHitTest.h"
#include "platform/movie/MoviePlayback.h"
#include "platform/movie/MovieReader.h"
#include "platform/movie/MovieRenderer.h"
#include "platform/win32/MoviePlayer.h"
#include "platform/win32/MovieTextGdi.h"
#include "platform/win32/ProgramFile.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string Folder() { return corvane::win32::ProgramFolder(); }

double ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  auto ticks = [](FILETIME t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

void Pump(int ms) {
  auto end = Clock::now() + std::chrono::milliseconds(ms);
  while (Clock::now() < end) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT);
  }
}

// Counts what reaches the idle player (a hook, as the main window has one).
WNDPROC gPrev = nullptr;
int gMessages = 0;
LRESULT CALLBACK CountProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ++gMessages;
  return ::CallWindowProcA(gPrev, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int main() {
  using namespace corvane;
  auto result = movie::ReadMovieFile(Folder() + "\\speed up.swf");
  if (!result.movie) {
    std::printf("movie: cannot read speed up.swf: %s\n", result.error.c_str());
    return 1;
  }
  const movie::Movie& m = *result.movie;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(m.width * m.height));
  movie::PixelBuffer buffer{pixels.data(), m.width, m.height, m.width};
  movie::PixelRect all{0, 0, m.width, m.height};
  win32::GdiTextRasterizer text;
  movie::MovieRenderer renderer(text);
  movie::MoviePlayback playback(m);
  playback.Start(0);

  auto start = Clock::now();
  renderer.Render(m, playback.FrameAt(10000), movie::View{}, buffer, all);
  double cold = Ms(Clock::now() - start);

  const int rounds = 50;
  start = Clock::now();
  for (int i = 0; i < rounds; ++i) renderer.Render(m, playback.FrameAt(10000), movie::View{}, buffer, all);
  double warm = Ms(Clock::now() - start) / rounds;

  // A hover repaint: only the button's bounds.
  int tile = movie::ButtonById(m, "tile-pinger");
  movie::RectF box = movie::ButtonBounds(m, tile);
  playback.PointerMove({box.x + box.w / 2, box.y + box.h / 2}, 10000);
  movie::PixelRect dirty = movie::View{}.ToBuffer(box);
  start = Clock::now();
  for (int i = 0; i < rounds; ++i) {
    renderer.Render(m, playback.FrameAt(10000 + static_cast<std::uint32_t>(i) * 3), movie::View{}, buffer, dirty);
  }
  double hover = Ms(Clock::now() - start) / rounds;

  // A transition frame: everything, two screens blended.
  playback.GoTo(m.ScreenIndex("about"), 20000);
  start = Clock::now();
  for (int i = 0; i < rounds; ++i) renderer.Render(m, playback.FrameAt(20100), movie::View{}, buffer, all);
  double transition = Ms(Clock::now() - start) / rounds;

  std::printf("movie: %zu shapes, %zu buttons, %zu screens\n", m.shapes.size(), m.buttons.size(),
              m.screens.size());
  std::printf("movie: first frame %.1f ms (texts set by GDI), full frame %.2f ms, hover repaint %.3f ms, "
              "transition frame %.2f ms\n", cold, warm, hover, transition);

  // The player idle in a window: processor time over 5 s.
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = &HostProc;
  wc.hInstance = instance;
  wc.lpszClassName = "CorvaneMovieBenchHost";
  ::RegisterClassA(&wc);
  HWND host = ::CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 0, 0, m.width,
                                m.height, nullptr, nullptr, instance, nullptr);
  // The same wait with no player, for comparison: what the process costs idle.
  double baseStart = ProcessCpuMs();
  Pump(5000);
  double base = ProcessCpuMs() - baseStart;
  {
    win32::MoviePlayer player;
    player.Create(host, 0, 0, m.width, m.height, instance);
    start = Clock::now();
    player.LoadMovie(0, Folder() + "\\speed up.swf");
    ::UpdateWindow(player.hwnd());
    double shown = Ms(Clock::now() - start);
    Pump(1000);  // the intro fade ends
    gPrev = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(player.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountProc)));
    double before = ProcessCpuMs();
    Pump(5000);

    double idle = ProcessCpuMs() - before;
    std::printf("movie: load and first paint %.1f ms; idle player %.1f ms of processor time in 5 s "
                "(%.2f%% of a core; the empty window alone %.1f ms); %d messages reached it\n",
                shown, idle, idle / 50.0, base, gMessages);
  }
  return 0;
}
