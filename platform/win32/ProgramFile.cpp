#include "platform/win32/ProgramFile.h"

#include <optional>
#include <vector>

#include "platform/AppInfo.h"
#include "platform/ProgramPath.h"

namespace corvane::win32 {

namespace {

bool IsNt() { return (::GetVersion() & 0x80000000u) == 0; }

// The wide functions are asked for at run time: 95/98/ME export them only
// as stubs that fail, and the ANSI path serves there.
template <typename Fn>
Fn WideFunction(const char* module, const char* name) {
  HMODULE handle = ::GetModuleHandleA(module);
  return handle != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(handle, name)))
                           : nullptr;
}

// The whole path, however long (the system allows 32767 characters).
std::wstring ModulePathWide() {
  using Fn = DWORD(WINAPI*)(HMODULE, LPWSTR, DWORD);
  auto get = WideFunction<Fn>("kernel32.dll", "GetModuleFileNameW");
  if (get == nullptr) return {};
  for (DWORD size = MAX_PATH + 1; size <= 32768; size *= 2) {
    std::vector<wchar_t> buffer(size);
    DWORD length = get(nullptr, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) return std::wstring(buffer.data(), length);
  }
  return {};
}

// The ANSI form, only when it gives back exactly the same characters.
std::optional<std::string> ExactAnsi(const std::wstring& wide) {
  if (wide.empty()) return std::nullopt;
  int wideLength = static_cast<int>(wide.size());
  int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(n), '\0');
  BOOL usedDefault = FALSE;
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), n, nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  // A best-fit mapping ("ö" as "o") uses no default character but names
  // another file.
  int back = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, nullptr, 0);
  std::wstring roundTrip(static_cast<std::size_t>(back > 0 ? back : 0), L'\0');
  if (back > 0) ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, roundTrip.data(), back);
  if (roundTrip != wide) return std::nullopt;
  return ansi;
}

std::wstring ShortPathWide(const std::wstring& longPath) {
  using Fn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
  auto get = WideFunction<Fn>("kernel32.dll", "GetShortPathNameW");
  if (get == nullptr) return {};
  // Past MAX_PATH the wide call needs the "\\?\" form of the path.
  const std::wstring prefix = L"\\\\?\\";
  std::wstring asked = longPath.size() >= MAX_PATH && longPath.rfind(prefix, 0) != 0 ? prefix + longPath : longPath;
  DWORD size = get(asked.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::vector<wchar_t> buffer(size + 1);
  DWORD length = get(asked.c_str(), buffer.data(), size + 1);
  if (length == 0 || length > size) return {};
  std::wstring result(buffer.data(), length);
  if (result.rfind(prefix, 0) == 0) result.erase(0, prefix.size());
  return result;
}

// The path as the ANSI calls take it; empty when there is none. The wide
// path is asked first on every system that has it (NT, and Wine whatever
// version it poses as); 95/98/ME have only the ANSI one.
std::string UsableAnsiPath() {
  std::wstring wide = ModulePathWide();
  if (!wide.empty()) {
    for (const std::wstring& candidate : {wide, ShortPathWide(wide)}) {
      auto ansi = ExactAnsi(candidate);
      if (!ansi) continue;
      auto parts = SplitProgramPath(*ansi);
      if (parts && FolderFitsAnsiCalls(parts->folder)) return *ansi;
    }
    return {};
  }
  char buffer[MAX_PATH + 1] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  // A path cut at MAX_PATH is no path, and one with a "?" is a name the
  // code page could not show, never a file's real name.
  if (length == 0 || length >= MAX_PATH) return {};
  std::string path(buffer, length);
  if (path.find('?') != std::string::npos) return {};
  auto parts = SplitProgramPath(path);
  return parts && FolderFitsAnsiCalls(parts->folder) ? path : std::string();
}

const std::string& ProgramPath() {
  // The program does not move while it runs.
  static const std::string path = UsableAnsiPath();
  return path;
}

}  // namespace

std::string ProgramFolder() {
  auto parts = SplitProgramPath(ProgramPath());
  return parts ? parts->folder : std::string();
}

std::string ProgramFileName() {
  auto parts = SplitProgramPath(ProgramPath());
  return parts ? parts->fileName : std::string();
}

std::wstring ProgramFolderUnusableText() {
  std::wstring folder;
  if (std::wstring whole = ModulePathWide(); !whole.empty()) {
    folder = SplitProgramFolder(whole).value_or(L"");
  } else {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string ansi(buffer, length < MAX_PATH ? length : 0);
    int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    folder = SplitProgramFolder(wide).value_or(L"");
  }
  if (folder.empty()) folder = L"(its path could not be read)";
  return L"Corvane cannot be used from the folder\n\n" + folder +
         L"\n\nWindows gives this folder no name that the program can use: the name has characters "
         L"this system's language settings cannot show, or the path is too long. Nothing was loaded.\n\n"
         L"Move the Corvane folder to a place with a shorter, plain name, such as C:\\Corvane, and start it "
         L"again.";
}

void TellProgramFolderUnusable(HWND owner) {
  std::wstring text = ProgramFolderUnusableText();
  using Fn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
  auto box = IsNt() ? WideFunction<Fn>("user32.dll", "MessageBoxW") : nullptr;
  if (box != nullptr) {
    std::wstring title(kAppTitle, kAppTitle + sizeof kAppTitle - 1);
    (void)box(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    return;
  }
  // 95/98/ME: the folder's name is ANSI there, so the ANSI box shows it.
  int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), n, nullptr, nullptr);
  }
  (void)::MessageBoxA(owner, ansi.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
}

}  // namespace corvane::win32
