// corvane.exe's application manifest: well-formed, one trustInfo in one
// namespace, the supportedOS ids of Vista, 7, 8, 8.1 and 10, asInvoker.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "tests/shell/manifest/ManifestXml.h"

namespace corvane::testing {
namespace {

std::string ManifestText() {
  std::ifstream in(CORVANE_MANIFEST_PATH, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Manifest, IsWellFormedWithOneTrustInfoAndTheFiveSupportedOs) {
  const std::string text = ManifestText();
  ASSERT_FALSE(text.empty()) << CORVANE_MANIFEST_PATH;
  XmlReading xml = ReadXml(text);
  ASSERT_TRUE(xml.wellFormed) << xml.error;
  ASSERT_FALSE(xml.elements.empty());
  EXPECT_EQ(xml.elements[0].name, "assembly");
  EXPECT_EQ(xml.elements[0].attributes["xmlns"], "urn:schemas-microsoft-com:asm.v1");
  EXPECT_EQ(xml.elements[0].attributes["manifestVersion"], "1.0");

  int trustInfos = 0;
  std::set<std::string> namespaces;
  std::multiset<std::string> supported;
  std::string level;
  for (const XmlElement& e : xml.elements) {
    const std::string local = e.name.substr(e.name.find(':') + 1);
    if (local == "trustInfo") {
      ++trustInfos;
      for (const auto& [name, value] : e.attributes) {
        if (name.rfind("xmlns", 0) == 0) namespaces.insert(value);
      }
    }
    // No other element may bring a namespace of its own for trustInfo.
    for (const auto& [name, value] : e.attributes) {
      if (name.rfind("xmlns", 0) == 0 && value.find("asm.v") != std::string::npos &&
          local != "trustInfo" && local != "assembly") {
        ADD_FAILURE() << e.name << " declares " << value;
      }
    }
    if (e.name == "assembly") {
      for (const auto& [name, value] : e.attributes) {
        if (name.rfind("xmlns:", 0) == 0) ADD_FAILURE() << "a prefixed namespace on the root: " << value;
      }
    }
    if (local == "supportedOS") {
      EXPECT_EQ(e.parent, "application");
      supported.insert(e.attributes.at("Id"));
    }
    if (local == "requestedExecutionLevel") level = e.attributes.at("level");
  }
  EXPECT_EQ(trustInfos, 1);
  EXPECT_EQ(namespaces, (std::set<std::string>{"urn:schemas-microsoft-com:asm.v3"}));
  EXPECT_EQ(supported, (std::multiset<std::string>{
                           "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
                           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
                       }));
  EXPECT_EQ(level, "asInvoker");
}

TEST(Manifest, TheReaderRefusesWhatIsNotWellFormed) {
  for (const char* bad : {"<a><b></a></b>", "<a>", "<a x=1/>", "<a x=\"1\" x=\"2\"/>", "<a/><b/>",
                          "text<a/>", "<a><!-- -- --></a>", ""}) {
    EXPECT_FALSE(ReadXml(bad).wellFormed) << bad;
  }
  EXPECT_TRUE(ReadXml("<?xml version=\"1.0\"?>\n<a x='1'><b/><!-- c --><c>t</c></a>\n").wellFormed);
}

}  // namespace
}  // namespace corvane::testing
