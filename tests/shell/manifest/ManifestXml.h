// A small, strict reader of the application manifest for the tests: checks
// that the XML is well-formed (one root, matched tags, quoted and unique
// attributes, nothing after the root) and lists its elements.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::testing {

struct XmlElement {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string parent;  // the enclosing element's name; empty for the root
};

struct XmlReading {
  bool wellFormed = false;
  std::string error;  // why not, with the offset
  std::vector<XmlElement> elements;  // in document order
};

XmlReading ReadXml(std::string_view text);

}  // namespace corvane::testing
