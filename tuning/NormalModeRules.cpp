#include "tuning/NormalModeRules.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace corvane {

const ConnectionRecommendation* RecommendationFor(int connectionType) {
  if (connectionType < 0 || connectionType >= static_cast<int>(kConnectionRecommendations.size())) {
    return nullptr;
  }
  return &kConnectionRecommendations[static_cast<std::size_t>(connectionType)];
}

int DefaultMultiplier(int connectionType) { return connectionType == 0 ? 3 : 44; }

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // The syntax is checked here; from_chars alone would take "inf", "nan"
  // and hexadecimal forms.
  std::size_t i = 0;
  int digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t e = i + 1;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    std::size_t exponentDigits = 0;
    while (e < text.size() && IsDigit(text[e])) ++e, ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
    i = e;
  }
  if (i != text.size()) return std::nullopt;

  std::string plain(text);
  // from_chars takes no "+" in the exponent's place either; it does take
  // "e+5", and a number without digits before the point (".5").
  double value = 0;
  auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value,
                                   std::chars_format::general);
  if (ec != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
  return negative ? -value : value;
}

std::string NumberText(double value) {
  if (value == 0 || std::isnan(value)) return "0";
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  if (ec != std::errc()) return "0";
  return std::string(buffer, end);
}

std::int32_t ToInt32(double value) {
  if (std::isnan(value)) return 0;
  double rounded = std::nearbyint(value);
  if (rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  if (rounded <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  return static_cast<std::int32_t>(rounded);
}

std::optional<std::int32_t> TextToInt32(std::string_view text) {
  std::optional<double> number = ParseNumber(text);
  if (!number) return std::nullopt;
  return ToInt32(*number);
}

bool AcceptNumber(std::string_view text, Bounds bounds, Check check) {
  std::optional<double> number = ParseNumber(text);
  if (!number || *number > bounds.maximum) return false;
  return check == Check::Typing || *number >= bounds.minimum;
}

MultiplierVerdict CheckMultiplier(std::string_view text, std::int32_t mss, Check check) {
  std::optional<double> multiplier = ParseNumber(text);
  if (!multiplier) return {true, 0};
  double window = ReceiveWindow(mss, *multiplier);
  bool refused = window > kMaxReceiveWindow ||
                 (check == Check::Complete && static_cast<double>(mss) > window);
  return {refused, window};
}

}  // namespace corvane
