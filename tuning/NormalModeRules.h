// The advanced editor's rules that need no window: the recommended values by
// connection type, the receive window, how a number box's text is read and
// when it is refused. frmNormalMode's model (tuning/NormalMode.h) applies
// them to its controls.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// What page 2 recommends for each connection type, and page 4's multiplier.
struct ConnectionRecommendation {
  std::string_view option;  // the option button's caption
  std::int32_t mtu;
  std::int32_t mss;
  std::string_view mtuLabel;
  std::string_view mssLabel;
  int multiplier;
};

// Index = connectionType: dial-up, cable, DSL, LAN.
inline constexpr std::array<ConnectionRecommendation, 4> kConnectionRecommendations{{
    {"Dial Up Connection (Modem).", 576, 536, "576 Byte", "536 Byte", 3},
    {"Cable Modem.", 1500, 1460, "1500 Byte", "1460 Byte", 44},
    {"Digital  Subscriber Line (DSL).", 1492, 1452, "1492 Byte", "1452Byte", 44},
    {"LAN Connection(Ethernet).", 1500, 1460, "1500 Byte", "1460 Byte", 44},
}};

// The recommendation for a connection type; nothing outside 0..3.
const ConnectionRecommendation* RecommendationFor(int connectionType);

// The multiplier that replaces a refused one: 3 for dial-up, 44 otherwise.
int DefaultMultiplier(int connectionType);

// The receive window scale factor: txtScaleFactor always shows it.
inline constexpr int kScaleFactor = 4;
// The largest receive window the multiplier may give.
inline constexpr double kMaxReceiveWindow = 1073741823.0;

// receive window = MSS x multiplier x scale factor, in double precision.
constexpr double ReceiveWindow(std::int32_t mss, double multiplier, double scaleFactor = kScaleFactor) {
  return static_cast<double>(mss) * multiplier * scaleFactor;
}

// A number box's text read as a number: optional blanks around an optional
// sign, digits with at most one decimal point (at least one digit, "5.",
// ".5" and "0." included) and an optional exponent ("1e3"). The decimal
// point is always ".". Anything else, the empty text included, is no
// number.
std::optional<double> ParseNumber(std::string_view text);

// A number as a box shows it: at most 15 significant digits, no trailing
// zeros, no point for whole numbers ("6432", "2920", "0.5").
std::string NumberText(double value);

// A number as the profile keeps it: rounded to the nearest integer (halves
// to the even neighbour) and held within the 32-bit range.
std::int32_t ToInt32(double value);
// The same for a text; nothing when the text is no number.
std::optional<std::int32_t> TextToInt32(std::string_view text);

// When a number box's text is checked. While the user types into the box
// a lower bound is not checked yet, since a short beginning of an allowed
// number ("1" of "10") may lie below it; it is checked when the entry is
// complete: the user leaves the box, presses Next or Back, or the text was
// set as a whole.
enum class Check {
  Typing,    // a key typed in the box: no number, or above the maximum
  Complete,  // every rule
};

struct Bounds {
  double minimum;
  double maximum;
};

// Whether the text may stand (true) or snaps back to the box's field
// (false). The bounds are inclusive.
bool AcceptNumber(std::string_view text, Bounds bounds, Check check);

// The multiplier's verdict for a text: the receive window it gives, or that
// the default multiplier replaces it.
struct MultiplierVerdict {
  bool useDefault;  // no number, a window above kMaxReceiveWindow, or (when complete) below the MSS
  double receiveWindow;  // MSS x multiplier x 4 for the text; 0 when no number
};
MultiplierVerdict CheckMultiplier(std::string_view text, std::int32_t mss, Check check);

}  // namespace corvane
