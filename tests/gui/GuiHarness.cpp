#include "tests/gui/GuiHarness.h"

#include "platform/win32/Handle.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/WholeFile.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace corvane::gui {

namespace {

std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

std::string TextOf(HWND hwnd) {
  char text[512] = {};
  // WM_GETTEXT through SendMessageTimeout: a hung target cannot hang the test.
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &copied);
  return text;
}

struct EnumContext {
  DWORD pid;
  std::vector<WindowInfo> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
  auto* ctx = reinterpret_cast<EnumContext*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid == ctx->pid) ctx->found.push_back(Describe(hwnd));
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
  reinterpret_cast<EnumContext*>(param)->found.push_back(Describe(hwnd));
  return TRUE;
}

}  // namespace

WindowInfo Describe(HWND hwnd) {
  WindowInfo info;
  info.hwnd = hwnd;
  info.className = ClassOf(hwnd);
  info.caption = TextOf(hwnd);
  info.visible = ::IsWindowVisible(hwnd) != 0;
  info.parent = ::GetParent(hwnd);
  ::GetWindowRect(hwnd, &info.rect);
  ::GetWindowThreadProcessId(hwnd, &info.processId);
  return info;
}

std::vector<WindowInfo> TopLevelWindows(DWORD processId) {
  EnumContext context{processId, {}};
  ::EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&context));
  return context.found;
}

std::vector<WindowInfo> Descendants(HWND parent) {
  EnumContext context{0, {}};
  ::EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&context));
  return context.found;
}

std::string DumpTree(HWND root) {
  std::ostringstream out;
  auto line = [&](const WindowInfo& w, int depth) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << w.className << " \"" << w.caption
        << "\" " << (w.visible ? "visible" : "hidden") << " (" << w.rect.left << "," << w.rect.top
        << ")-(" << w.rect.right << "," << w.rect.bottom << ")\n";
  };
  std::function<void(HWND, int)> walk = [&](HWND hwnd, int depth) {
    line(Describe(hwnd), depth);
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
      walk(child, depth + 1);
    }
  };
  walk(root, 0);
  return out.str();
}

std::vector<WindowInfo> Children(HWND parent) {
  std::vector<WindowInfo> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(Describe(child));
  }
  return children;
}

std::optional<HWND> FindChild(HWND parent, const std::string& className) {
  for (const auto& child : Children(parent)) {
    if (child.className == className) return child.hwnd;
  }
  return std::nullopt;
}

int ZIndex(HWND window) {
  int index = 0;
  for (HWND w = ::GetWindow(window, GW_HWNDPREV); w != nullptr; w = ::GetWindow(w, GW_HWNDPREV)) ++index;
  return index;
}

bool IsInFrontOf(HWND a, HWND b) { return ZIndex(a) < ZIndex(b); }

std::vector<WindowInfo> VisibleTopLevelWindows(DWORD processId) {
  std::vector<WindowInfo> visible;
  for (auto& w : TopLevelWindows(processId)) {
    if (w.visible) visible.push_back(w);
  }
  return visible;
}

RECT ClientRectInParent(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  HWND parent = ::GetParent(window);
  if (parent != nullptr) ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool SendText(HWND target, ULONG_PTR kind, const std::string& text) {
  COPYDATASTRUCT data{};
  data.dwData = kind;
  data.cbData = static_cast<DWORD>(text.size() + 1);
  data.lpData = const_cast<char*>(text.c_str());
  DWORD_PTR result = 0;
  LRESULT sent = ::SendMessageTimeoutA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                       SMTO_ABORTIFHUNG, 5000, &result);
  return sent != 0 && result != 0;
}

std::string ScratchFile(const std::string& name) {
  char folder[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, folder);
  std::string path = std::string(folder) + name;
  ::DeleteFileA(path.c_str());
  return path;
}

std::string ReadTextFile(const std::string& path) { return testing::ReadWholeFile(path).value_or(""); }

bool WaitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    if (predicate()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::Sleep(50);
  }
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string self(path, n);
  return self.substr(0, self.find_last_of('\\'));
}

std::unique_ptr<Program> Program::Start(const std::string& exeName, const std::string& arguments) {
  StartOptions options;
  options.exeName = exeName;
  options.arguments = arguments;
  return Start(options);
}

std::unique_ptr<Program> Program::Start(const StartOptions& options) {
  std::unique_ptr<Program> program(new Program());
  std::string exe = ProgramFolder() + "\\" + options.exeName;
  std::string command = "\"" + exe + "\"";
  if (!options.arguments.empty()) command += " " + options.arguments;
  // The child inherits the test's environment; the extra variables are set
  // around its start and put back after.
  std::vector<std::pair<std::string, std::optional<std::string>>> saved;
  for (const auto& [name, value] : options.environment) {
    char old[4096];
    DWORD n = ::GetEnvironmentVariableA(name.c_str(), old, sizeof old);
    saved.emplace_back(name, n > 0 && n < sizeof old ? std::optional<std::string>(old) : std::nullopt);
    ::SetEnvironmentVariableA(name.c_str(), value.c_str());
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  BOOL started = ::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  ProgramFolder().c_str(), &si, &program->pi_);
  for (const auto& [name, value] : saved) {
    ::SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
  }
  if (!started) return nullptr;
  ::WaitForInputIdle(program->pi_.hProcess, 10000);
  return program;
}

Program::~Program() {
  if (pi_.hProcess != nullptr) {
    if (IsRunning()) {
      ::TerminateProcess(pi_.hProcess, 99);
      ::WaitForSingleObject(pi_.hProcess, 5000);
    }
    ::CloseHandle(pi_.hThread);
    ::CloseHandle(pi_.hProcess);
  }
}

bool Program::IsRunning() const {
  return pi_.hProcess != nullptr && ::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Program::WaitForExit(std::chrono::milliseconds timeout) {
  if (::WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

std::optional<HWND> Program::WaitForWindow(const std::string& className,
                                           std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (const auto& w : Windows()) {
          if (w.visible && w.className == className) {
            found = w.hwnd;
            return true;
          }
        }
        return false;
      },
      timeout);
  if (found == nullptr) return std::nullopt;
  return found;
}

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
}

void MoveMouse(int x, int y) {
  // Absolute coordinates on the primary screen, in 0..65535.
  int width = ::GetSystemMetrics(SM_CXSCREEN);
  int height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((x * 65535 + width / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>((y * 65535 + height / 2) / (height - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ::SendInput(1, &input, sizeof input);
  Settle(std::chrono::milliseconds(60));
}

void ClickAt(int x, int y, bool rightButton) {
  MoveMouse(x, y);
  SendMouse(rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  Settle(std::chrono::milliseconds(60));
  SendMouse(rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  Settle(std::chrono::milliseconds(120));
}

void ClickInWindow(HWND window, int clientX, int clientY, bool rightButton) {
  POINT point{clientX, clientY};
  ::ClientToScreen(window, &point);
  ClickAt(point.x, point.y, rightButton);
}

void ClickCentre(HWND window) {
  RECT r{};
  ::GetClientRect(window, &r);
  ClickInWindow(window, r.right / 2, r.bottom / 2);
}

void DragMouse(int fromX, int fromY, int toX, int toY) {
  MoveMouse(fromX, fromY);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Settle(std::chrono::milliseconds(150));
  constexpr int kSteps = 8;
  for (int i = 1; i <= kSteps; ++i) {
    MoveMouse(fromX + (toX - fromX) * i / kSteps, fromY + (toY - fromY) * i / kSteps);
  }
  Settle(std::chrono::milliseconds(100));
  SendMouse(MOUSEEVENTF_LEFTUP);
  Settle(std::chrono::milliseconds(200));
}

void PressKey(WORD virtualKey) {
  INPUT inputs[2]{};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = virtualKey;
  inputs[1] = inputs[0];
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof inputs[0]);
  Settle(std::chrono::milliseconds(120));
}

void KeyEvent(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ::SendInput(1, &input, sizeof input);
}

void SelectLineByKeyboard() {
  KeyEvent(VK_END, false);
  KeyEvent(VK_END, true);
  KeyEvent(VK_SHIFT, false);
  KeyEvent(VK_HOME, false);
  KeyEvent(VK_HOME, true);
  KeyEvent(VK_SHIFT, true);
}

std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout) {
  MessageBoxSeen seen;
  WaitUntil([&] {
    for (const auto& w : VisibleTopLevelWindows(processId)) {
      if (w.className != "#32770") continue;
      seen.hwnd = w.hwnd;
      seen.caption = w.caption;
      for (const auto& child : Descendants(w.hwnd)) {
        if (child.className == "Static" && !child.caption.empty()) seen.text = child.caption;
      }
      return true;
    }
    return false;
  }, timeout);
  if (seen.hwnd == nullptr) return std::nullopt;
  return seen;
}

std::optional<DWORD> ReadRegistryNumber(HKEY root, const char* key, const char* name) {
  auto value = corvane::testing::ReadStoredValue(root, key, name);
  if (!value) return std::nullopt;
  return static_cast<DWORD>(value->number());
}

int CountSnapshotFiles() {
  WIN32_FIND_DATAA found{};
  std::string pattern = ProgramFolder() + "\\Backups\\*.BCK";
  HANDLE find = ::FindFirstFileA(pattern.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    ++count;
  } while (::FindNextFileA(find, &found));
  ::FindClose(find);
  return count;
}

void Settle(std::chrono::milliseconds time) { ::Sleep(static_cast<DWORD>(time.count())); }

COLORREF ScreenPixel(int x, int y) {
  HDC screen = ::GetDC(nullptr);
  COLORREF color = ::GetPixel(screen, x, y);
  ::ReleaseDC(nullptr, screen);
  return color;
}

std::vector<DWORD> CaptureScreen(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return {};
  struct ScreenDc {
    HDC dc = ::GetDC(nullptr);
    ~ScreenDc() { ::ReleaseDC(nullptr, dc); }
  } screen;
  win32::UniqueHdc memory(::CreateCompatibleDC(screen.dc));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win32::UniqueHbitmap bitmap(::CreateDIBSection(screen.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  std::vector<DWORD> pixels;
  if (!memory || !bitmap || bits == nullptr) return pixels;
  HGDIOBJ old = ::SelectObject(memory.get(), bitmap.get());
  ::BitBlt(memory.get(), 0, 0, width, height, screen.dc, area.left, area.top, SRCCOPY);
  ::GdiFlush();
  const auto* first = static_cast<const DWORD*>(bits);
  pixels.assign(first, first + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (DWORD& p : pixels) p &= 0x00FFFFFFu;
  ::SelectObject(memory.get(), old);
  return pixels;
}

std::string SaveScreenshot(const std::string& name) {
  std::string folder;
  if (const char* unixDir = std::getenv("CORVANE_SCREENSHOT_DIR"); unixDir && *unixDir) {
    folder = std::string("Z:") + unixDir;
    for (char& c : folder) {
      if (c == '/') c = '\\';
    }
  } else {
    folder = ProgramFolder();
  }
  ::CreateDirectoryA(folder.c_str(), nullptr);
  std::string path = folder + "\\" + name + ".bmp";

  // The screen as CaptureScreen reads it, stored top down in 32 bits.
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  std::vector<DWORD> pixels = CaptureScreen(RECT{0, 0, width, height});
  if (pixels.empty()) return path;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  const DWORD imageSize = static_cast<DWORD>(pixels.size() * sizeof(DWORD));
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + imageSize;
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(pixels.data(), 1, imageSize, out);
    std::fclose(out);
  }
  return path;
}

}  // namespace corvane::gui
