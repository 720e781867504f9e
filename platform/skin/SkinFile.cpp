#include "platform/skin/SkinFile.h"

#include <algorithm>
#include <charconv>

#include "platform/Text.h"

namespace corvane::skin {

namespace {

constexpr std::string_view kHeader = "CorvaneSkin 1";

std::string_view Trim(std::string_view s) {
  auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<int> ParseInt(std::string_view text, int low, int high) {
  std::optional<int> value = WholeNumber(text);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// Applies one setting; false when its value is malformed.
bool ApplySetting(SkinObject& object, std::string_view key, std::string_view value) {
  struct ColorField {
    std::string_view key;
    Rgb SkinObject::*field;
  };
  static constexpr ColorField kColors[] = {
      {"face", &SkinObject::face},       {"face2", &SkinObject::face2},
      {"text", &SkinObject::text},       {"border", &SkinObject::border},
      {"accent", &SkinObject::accent},   {"hover", &SkinObject::hover},
      {"hover2", &SkinObject::hover2},   {"pressed", &SkinObject::pressed},
      {"pressed2", &SkinObject::pressed2}, {"disabledText", &SkinObject::disabledText},
  };
  for (const auto& c : kColors) {
    if (key == c.key) {
      auto color = ParseColor(value);
      if (!color) return false;
      object.*(c.field) = *color;
      // A flat face unless the file gives the gradient's other end too.
      if (key == "face") object.face2 = *color;
      if (key == "hover") object.hover2 = *color;
      if (key == "pressed") object.pressed2 = *color;
      return true;
    }
  }
  if (key == "radius") {
    auto v = ParseInt(value, 0, 32);
    if (!v) return false;
    object.radius = *v;
  } else if (key == "fontSize") {
    auto v = ParseInt(value, 6, 36);
    if (!v) return false;
    object.fontSize = *v;
  } else if (key == "bold") {
    auto v = ParseInt(value, 0, 1);
    if (!v) return false;
    object.bold = *v == 1;
  } else if (key == "font") {
    if (value.empty() || value.size() > 31) return false;
    if (std::any_of(value.begin(), value.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
      return false;
    }
    object.font = std::string(value);
  }
  // Anything else: a setting of a newer skin, skipped.
  return true;
}

}  // namespace

const SkinObject* SkinFile::Find(std::string_view name) const {
  for (const auto& object : objects) {
    if (object.name == name) return &object;
  }
  return nullptr;
}

std::optional<Rgb> ParseColor(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  int digits[6];
  for (int i = 0; i < 6; ++i) {
    digits[i] = HexDigit(text[static_cast<std::size_t>(i) + 1]);
    if (digits[i] < 0) return std::nullopt;
  }
  return Rgb{static_cast<std::uint8_t>(digits[0] * 16 + digits[1]),
             static_cast<std::uint8_t>(digits[2] * 16 + digits[3]),
             static_cast<std::uint8_t>(digits[4] * 16 + digits[5])};
}

SkinParseResult ParseSkin(std::string_view text) {
  SkinParseResult result;
  auto fail = [&](int line, std::string message) {
    result.skin.reset();
    result.error = std::move(message);
    result.line = line;
    return result;
  };
  if (text.size() > kMaxSkinFileSize) return fail(0, "the skin file is larger than 64 KiB");

  SkinFile skin;
  SkinObject* current = nullptr;
  bool headerSeen = false;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    ++lineNumber;
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end + 1;

    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (!headerSeen) {
      if (line != kHeader) return fail(lineNumber, "not a skin file: the first line must be \"CorvaneSkin 1\"");
      headerSeen = true;
      continue;
    }
    if (line.front() == '[') {
      if (line.back() != ']' || line.size() < 3) return fail(lineNumber, "a section line must be [Name]");
      std::string_view name = line.substr(1, line.size() - 2);
      if (name.size() > 32 || !std::all_of(name.begin(), name.end(), IsNameChar)) {
        return fail(lineNumber, "an object name is 1 to 32 letters, digits or '_'");
      }
      if (skin.Find(name) != nullptr) return fail(lineNumber, "the object " + std::string(name) + " is named twice");
      if (skin.objects.size() >= kMaxSkinObjects) return fail(lineNumber, "more than 64 objects");
      skin.objects.push_back(SkinObject{});
      current = &skin.objects.back();
      current->name = std::string(name);
      continue;
    }
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return fail(lineNumber, "a setting line must be name = value");
    if (current == nullptr) return fail(lineNumber, "a setting before the first [object]");
    std::string_view key = Trim(line.substr(0, equals));
    std::string_view value = Trim(line.substr(equals + 1));
    if (key.empty() || !std::all_of(key.begin(), key.end(), IsNameChar)) {
      return fail(lineNumber, "a setting name is letters, digits or '_'");
    }
    if (!ApplySetting(*current, key, value)) {
      return fail(lineNumber, "the value of " + std::string(key) + " is malformed or out of range");
    }
  }
  if (!headerSeen) return fail(lineNumber, "not a skin file: the first line must be \"CorvaneSkin 1\"");
  result.skin = std::move(skin);
  return result;
}

}  // namespace corvane::skin
