// The rules of the hook on the movie player's window: which child window is
// the player, and which messages it must never see.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvane::shell {

// The player's class name, lower case, as the search compares it.
inline constexpr char kMoviePlayerClassLower[] = "corvanemovieplayer";
// The class-name buffer of the search holds this many characters.
inline constexpr std::size_t kClassNameBufferSize = 250;

// Whether a window of that class is the movie player: its name, converted
// to lower case, contains "corvanemovieplayer".
bool IsMoviePlayerClass(std::string_view className);

// The message the player's original window procedure receives instead of
// the given one. A right-button press, and the keyboard's context-menu key
// (the Applications key, 93, pressed or released, and the WM_CONTEXTMENU it
// would bring) become WM_NULL with the same parameters; every other message
// passes unchanged.
std::uint32_t FilterMoviePlayerMessage(std::uint32_t message, std::uintptr_t wParam);

inline constexpr std::uint32_t kWmNull = 0x0000;
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmKeyUp = 0x0101;
inline constexpr std::uint32_t kWmContextMenu = 0x007B;
inline constexpr std::uint32_t kWmRButtonDown = 0x0204;
inline constexpr std::uintptr_t kVkApps = 93;

}  // namespace corvane::shell
