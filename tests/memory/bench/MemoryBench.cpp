// The memory windows' benchmark, on the real corvane.exe:
//  1. how long the user-interface thread leaves messages unanswered while
//     "Optimize Now" claims 512 MB, and while the alarm monitor's automatic
//     check claims 10 x 10 MB every 100 ms (goal: under 50 ms each), with
//     the idle program as the baseline. A probe thread of this process sends
//     WM_NULL to the main window (the user-interface thread's) every 2 ms
//     with SendMessageTimeout and keeps the longest wait, and the waits of
//     20 ms or more with their times; the program's private bytes show when
//     a claim runs and ends.
//  2. the idle program with every timer running, at start (the memory
//     windows hidden) and with the status window shown: this program says
//     when ("cpu.begin <label> <seconds> [goal]") and tools/bench.d/memory.sh
//     reads the processor time of corvane.exe and its wineserver from Linux
//     meanwhile (goal: under 1% of one core).
//  3. one repaint of a graph of 100 samples at zoom 100, in this process,
//     against a window that only fills its area.
// Prints figures with their goals; "graph" as argument prints only the third.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "memory/SystemStatus.h"
#include "platform/win32/GraphControl.h"
#include "tests/gui/GuiHarness.h"
#include "tests/pinger/win/ResponsivenessProbe.h"
#include "tests/support/BenchClock.h"

namespace {

using namespace corvane;
using namespace corvane::memory;
using namespace std::chrono_literals;
using testing::Now;

constexpr char kStatusClass[] = "CorvaneSystemStatus";
constexpr char kRamSettingsKey[] = "SOFTWARE\\Tarvik\\Pellavon\\Settings\\RamSettings";
constexpr ULONG_PTR kTestFsCommand = 0x43564D01;  // shell/win32/MainWindow.h
constexpr DWORD kGoalMs = 50;
constexpr SIZE_T kMiB = 1024 * 1024;

void Line(const char* name, double value, const char* unit, double goal, const char* note) {
  std::printf("%-34s %9.2f %-3s goal < %-4g %s  %s\n", name, value, unit, goal, value < goal ? "PASS" : "OVER", note);
  std::fflush(stdout);
}

// The running program; `status` once its System Status window is shown.
struct Corvane {
  std::unique_ptr<gui::Program> program;
  HANDLE process = nullptr;
  HWND main = nullptr;
  HWND status = nullptr;

  ~Corvane() {
    if (main != nullptr && ::IsWindow(main)) ::PostMessageA(main, WM_CLOSE, 0, 0);
    if (program) program->WaitForExit(15s);
    if (process != nullptr) ::CloseHandle(process);
  }
  PROCESS_MEMORY_COUNTERS Counters() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters)) counters = {};
    return counters;
  }
  // Private bytes of the program (what a claim adds), 0 when unknown.
  SIZE_T Private() const { return Counters().PagefileUsage; }
};

// Shows the System Status window as the movie's command does.
bool ShowStatus(Corvane& c, std::string* why) {
  if (!gui::SendText(c.main, kTestFsCommand, "IDC_FS_systemSatus")) return *why = "the command was refused", false;
  auto find = [&] {
    for (const auto& w : gui::Descendants(c.main)) {
      if (w.className == kStatusClass && w.visible) c.status = w.hwnd;
    }
    for (const auto& w : c.program->Windows()) {
      if (w.className == kStatusClass && w.visible) c.status = w.hwnd;
    }
    return c.status != nullptr;
  };
  if (!gui::WaitUntil(find, 10s)) return *why = "no visible System Status window:\n" + gui::DumpTree(c.main), false;
  ::Sleep(1000);
  return true;
}

std::unique_ptr<Corvane> Start(std::string* why) {
  auto c = std::make_unique<Corvane>();
  gui::StartOptions options;
  options.environment.emplace_back("CORVANE_TEST_COMMANDS", "1");
  c->program = gui::Program::Start(options);
  if (!c->program) return *why = "corvane.exe did not start", nullptr;
  c->process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, c->program->pid());
  auto main = c->program->WaitForWindow("CorvaneMainWindow");
  if (!main) return *why = "no main window", nullptr;
  c->main = *main;
  // The splash and the movie's opening settle first.
  ::Sleep(3000);
  return c;
}

struct Watch {
  DWORD longestMs = 0;
  long answered = 0;
  bool gaveUp = false;
  double claimFrom = -1, claimTo = -1;  // seconds after the start: a claim's memory in use
  SIZE_T peakMiB = 0;                   // the most private memory above the start
  std::vector<testing::ResponsivenessProbe::Wait> longWaits;
  double t0 = 0;
};

// Probes the program's user-interface thread from `act` on, for at most
// `seconds`; with `untilClaimEnds`, stops half a second after the first
// claim of at least `claimMiB` is given back.
Watch Probe(Corvane& c, double seconds, void (*act)(Corvane&), bool untilClaimEnds = false, SIZE_T claimMiB = 8) {
  Watch w;
  const SIZE_T base = c.Private();
  testing::ResponsivenessProbe probe(c.main, 2, 20);
  w.t0 = Now();
  if (act != nullptr) act(c);
  while (Now() - w.t0 < seconds) {
    const SIZE_T now = c.Private();
    const SIZE_T extra = now > base ? (now - base) / kMiB : 0;
    if (extra > w.peakMiB) w.peakMiB = extra;
    if (extra >= claimMiB) {
      if (w.claimFrom < 0) w.claimFrom = Now() - w.t0;
      w.claimTo = Now() - w.t0;
    } else if (untilClaimEnds && w.claimFrom >= 0 && Now() - w.t0 - w.claimTo > 0.5) {
      break;
    }
    ::Sleep(5);
  }
  probe.Stop();
  w.longestMs = probe.LongestMs();
  w.answered = probe.Answered();
  w.gaveUp = probe.GaveUp();
  w.longWaits = probe.LongWaits();
  return w;
}

void Report(const char* name, const Watch& w, const char* what) {
  char note[240];
  std::snprintf(note, sizeof note, "(%s; %ld answers%s; private bytes +%lu MiB at most)", what, w.answered,
                w.gaveUp ? ", one unanswered for 30 s" : "", static_cast<unsigned long>(w.peakMiB));
  Line(name, static_cast<double>(w.longestMs), "ms", kGoalMs, note);
  if (w.claimFrom >= 0) std::printf("  claim's memory in use from +%.2f s to +%.2f s\n", w.claimFrom, w.claimTo);
  if (w.longestMs >= kGoalMs || std::getenv("CORVANE_BENCH_WAITS") != nullptr) {
    for (const auto& wait : w.longWaits) std::printf("  wait of %lu ms sent at +%.3f s\n", wait.ms, wait.sentAt - w.t0);
  }
  std::fflush(stdout);
}

void OptimizeNow(Corvane& c) {
  HWND slider = ::GetDlgItem(c.status, kIdSldFreeMomoryReq);
  ::SendMessageA(slider, TBM_SETPOS, TRUE, 512);
  ::SendMessageA(c.status, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 512), reinterpret_cast<LPARAM>(slider));
  char label[80] = {};
  ::GetWindowTextA(::GetDlgItem(c.status, kIdLblTargetMemoryNeeded), label, sizeof label);
  if (std::string(label) != "Target Level Of RAM 512MB.") std::printf("  (the label reads \"%s\")\n", label);
  ::PostMessageA(::GetDlgItem(c.status, kIdCmdOptimaize), BM_CLICK, 0, 0);
}

void WriteRamSettings(bool automatic) {
  if (!automatic) {
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRamSettingsKey);
    return;
  }
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRamSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    std::printf("  (the RAM settings could not be written)\n");
    return;
  }
  const char* values[][2] = {{"chkAutomatic", "1"},         {"txtAlarm", "32767"}, {"txtFreeAlarm", "10"},
                             {"txtRetryOptimization", "10"}, {"txtRunOnly", "0"},   {"txtTimeCheck", "100"}};
  for (const auto& [name, value] : values) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                     static_cast<DWORD>(std::strlen(value) + 1));
  }
  ::RegCloseKey(key);
}

// tools/bench.d/memory.sh reads the program's processor time from Linux
// meanwhile; a goal in percent of one core, or "" for none.
void MeasureProcessorTime(const char* label, int seconds, const char* goal) {
  std::printf("cpu.begin %s %d %s\n", label, seconds, goal);
  std::fflush(stdout);
  // Margin for the script to find the processes before it starts.
  ::Sleep(static_cast<DWORD>(seconds + 5) * 1000u);
}

struct GraphFigures {
  double repaintUs = -1;  // RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW) on the window
  double drawUs = -1;     // DrawGraph into a memory bitmap alone
  double bareUs = -1;     // the same repaint of a window that only fills its area
  double bufferUs = -1;   // a back buffer made, copied to the window and deleted
  double copyUs = -1;     // a kept back buffer copied to the window
};

LRESULT CALLBACK BareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    ::FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::EndPaint(hwnd, &ps);
    return 0;
  }
  return message == WM_ERASEBKGND ? 1 : ::DefWindowProcA(hwnd, message, wParam, lParam);
}

template <typename F>
double MicrosecondsEach(int times, F f) {
  const double t0 = Now();
  for (int i = 0; i < times; ++i) f();
  return (Now() - t0) * 1e6 / times;
}

// A graph of the status window's size on a host window, as the form has it.
GraphFigures TimeGraph(int repaints) {
  GraphFigures f;
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  win32::RegisterGraphControl(instance);
  HWND host = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 240, 120, nullptr, nullptr, instance,
                                nullptr);
  HWND graph = ::CreateWindowExA(0, win32::kGraphClassName, "", WS_CHILD | WS_VISIBLE, 10, 10, 186, 74, host, nullptr,
                                 instance, nullptr);
  if (graph != nullptr) {
    std::vector<int> samples(100);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int>(i * 37 % 101);
    win32::SetGraphSamples(graph, samples, 100, samples.size());
    auto redraw = [](HWND w) { return [w] { ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }; };
    redraw(graph)();
    f.repaintUs = MicrosecondsEach(repaints, redraw(graph));
    HDC screen = ::GetDC(graph);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 186, 74);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    f.drawUs = MicrosecondsEach(repaints, [&] { win32::DrawGraph(graph, memory, 186, 74); });
    f.copyUs = MicrosecondsEach(repaints, [&] { ::BitBlt(screen, 0, 0, 186, 74, memory, 0, 0, SRCCOPY); });
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    f.bufferUs = MicrosecondsEach(repaints, [&] {
      HDC buffer = ::CreateCompatibleDC(screen);
      HBITMAP picture = ::CreateCompatibleBitmap(screen, 186, 74);
      HGDIOBJ was = ::SelectObject(buffer, picture);
      ::BitBlt(screen, 0, 0, 186, 74, buffer, 0, 0, SRCCOPY);
      ::SelectObject(buffer, was);
      ::DeleteObject(picture);
      ::DeleteDC(buffer);
    });
    ::ReleaseDC(graph, screen);
  }
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &BareProc;
  wc.hInstance = instance;
  wc.lpszClassName = "CorvaneBenchBare";
  ::RegisterClassExA(&wc);
  if (HWND bare = ::CreateWindowExA(0, wc.lpszClassName, "", WS_CHILD | WS_VISIBLE, 10, 10, 186, 74, host, nullptr,
                                    instance, nullptr)) {
    ::SetWindowPos(bare, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    f.bareUs = MicrosecondsEach(repaints, [bare] { ::RedrawWindow(bare, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
  }
  ::DestroyWindow(host);
  return f;
}

void PrintGraph() {
  // The repaint against the cheapest painted window of the same size: what
  // the graph adds to a repaint that Wine and X make anyway.
  const int repaints = 200;
  const GraphFigures g = TimeGraph(repaints);
  char note[240];
  std::snprintf(note, sizeof note,
                "(186 x 74, 100 samples, zoom 100, mean of %d; DrawGraph into a bitmap %.0f us, a back buffer made, "
                "copied and deleted %.0f us, a kept one copied %.0f us)",
                repaints, g.drawUs, g.bufferUs, g.copyUs);
  Line("graph.repaint_us", g.repaintUs, "us", 1000, note);
  std::snprintf(note, sizeof note, "(against a window of the same size that only fills its area: %.0f us)", g.bareUs);
  Line("graph.repaint_ratio", g.bareUs > 0 ? g.repaintUs / g.bareUs : -1, "x", 1.5, note);
}

}  // namespace

int main(int argc, char** argv) {
  // "graph": the graph's figure alone.
  if (argc > 1 && std::string(argv[1]) == "graph") {
    PrintGraph();
    return 0;
  }
  const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 30;
  std::string why;

  WriteRamSettings(false);
  auto c = Start(&why);
  if (!c) {
    std::printf("corvane.exe: %s\n", why.c_str());
    return 1;
  }
  MeasureProcessorTime("idle_at_start", idleSeconds, "1");
  if (!ShowStatus(*c, &why)) {
    std::printf("corvane.exe: %s\n", why.c_str());
    return 1;
  }
  Report("ui.idle_longest_ms", Probe(*c, 5, nullptr), "idle, the status window shown, 5 s");
  MeasureProcessorTime("idle_status_shown", idleSeconds, "1");
  // Three claims; the worst one is reported, with the longest wait of each.
  Watch worst;
  std::string each;
  for (int i = 0; i < 3; ++i) {
    Watch w = Probe(*c, 15, &OptimizeNow, true, 256);
    each += (i > 0 ? ", " : "") + std::to_string(w.longestMs);
    if (i == 0 || w.longestMs > worst.longestMs) worst = w;
    ::Sleep(1000);
  }
  Report("ui.optimize_512mb_longest_ms", worst, ("\"Optimize Now\" of 512 MB, 3 times: " + each + " ms").c_str());
  c.reset();

  WriteRamSettings(true);
  c = Start(&why);
  if (!c) {
    std::printf("corvane.exe with the automatic check: %s\n", why.c_str());
    return 1;
  }
  Report("ui.alarm_check_longest_ms", Probe(*c, 5, nullptr), "alarm checks of 10 x 10 MB every 100 ms, 5 s");
  MeasureProcessorTime("alarm_checks", 10, "");
  c.reset();
  WriteRamSettings(false);

  PrintGraph();
  return 0;
}
