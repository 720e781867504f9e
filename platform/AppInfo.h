// The program's own names.
#pragma once

namespace corvane {

// The title of the program's message boxes.
inline constexpr char kAppTitle[] = "Pellavon";
// The product name, shown on the main window and in the help.
inline constexpr char kProductName[] = "Corvane";

}  // namespace corvane
