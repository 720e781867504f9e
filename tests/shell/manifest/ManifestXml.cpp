#include "tests/shell/manifest/ManifestXml.h"

#include <cctype>

namespace corvane::testing {

namespace {

bool NameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':' || c == '-' || c == '.';
}

}  // namespace

XmlReading ReadXml(std::string_view text) {
  XmlReading r;
  std::vector<std::string> open;
  bool rootSeen = false;
  std::size_t i = 0;
  auto fail = [&](const std::string& why) {
    r.wellFormed = false;
    r.error = why + " at offset " + std::to_string(i);
    return r;
  };
  auto skipSpace = [&] {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  };
  auto name = [&] {
    std::size_t start = i;
    while (i < text.size() && NameChar(text[i])) ++i;
    return std::string(text.substr(start, i - start));
  };
  if (text.substr(0, 5) == "<?xml") {
    std::size_t end = text.find("?>");
    if (end == std::string_view::npos) return fail("unclosed declaration");
    i = end + 2;
  }
  while (true) {
    std::size_t lt = text.find('<', i);
    // Text between tags: only whitespace outside the root.
    std::string_view between = text.substr(i, (lt == std::string_view::npos ? text.size() : lt) - i);
    if (open.empty()) {
      for (char c : between) {
        if (!std::isspace(static_cast<unsigned char>(c))) return fail("text outside the root");
      }
    } else if (between.find('&') != std::string_view::npos) {
      return fail("an entity in text");
    }
    if (lt == std::string_view::npos) break;
    i = lt;
    if (text.substr(i, 4) == "<!--") {
      std::size_t end = text.find("-->", i + 4);
      if (end == std::string_view::npos) return fail("unclosed comment");
      if (text.substr(i + 4, end - i - 4).find("--") != std::string_view::npos) {
        return fail("-- inside a comment");
      }
      i = end + 3;
      continue;
    }
    if (text.substr(i, 2) == "</") {
      i += 2;
      std::string closing = name();
      skipSpace();
      if (i >= text.size() || text[i] != '>') return fail("bad closing tag");
      ++i;
      if (open.empty() || open.back() != closing) return fail("</" + closing + "> does not match");
      open.pop_back();
      continue;
    }
    ++i;
    XmlElement element;
    element.name = name();
    if (element.name.empty()) return fail("a tag without a name");
    if (open.empty() && rootSeen) return fail("a second root");
    element.parent = open.empty() ? "" : open.back();
    while (true) {
      skipSpace();
      if (i >= text.size()) return fail("unclosed tag");
      if (text[i] == '>' || text.substr(i, 2) == "/>") break;
      std::string attribute = name();
      if (attribute.empty()) return fail("bad attribute");
      skipSpace();
      if (i >= text.size() || text[i] != '=') return fail("attribute without a value");
      ++i;
      skipSpace();
      if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) return fail("unquoted value");
      const char quote = text[i++];
      std::size_t end = text.find(quote, i);
      if (end == std::string_view::npos) return fail("unclosed value");
      std::string value(text.substr(i, end - i));
      if (value.find('<') != std::string::npos) return fail("< in a value");
      if (!element.attributes.emplace(attribute, value).second) return fail("attribute twice");
      i = end + 1;
    }
    rootSeen = true;
    const bool empty = text[i] == '/';
    i += empty ? 2 : 1;
    if (!empty) open.push_back(element.name);
    r.elements.push_back(std::move(element));
  }
  if (!open.empty()) return fail("<" + open.back() + "> is never closed");
  if (!rootSeen) return fail("no root");
  r.wellFormed = true;
  return r;
}

}  // namespace corvane::testing
