// The manifest is in the built corvane.exe as resource 1 of type 24, reads as
// well-formed XML with the five supportedOS ids and one trustInfo, and the
// system accepts it as the program's activation context.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/ProgramFile.h"
#include "tests/shell/manifest/ManifestXml.h"

namespace corvane::testing {
namespace {

std::string ProgramPath() { return win32::ProgramFolder() + "\\corvane.exe"; }

TEST(ProgramManifest, IsInCorvaneExeAndAcceptedByTheSystem) {
  const std::string path = ProgramPath();
  HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr) << path;
  HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(resource, nullptr) << "no RT_MANIFEST resource 1 in corvane.exe";
  const DWORD size = ::SizeofResource(module, resource);
  HGLOBAL loaded = ::LoadResource(module, resource);
  ASSERT_NE(loaded, nullptr);
  const std::string text(static_cast<const char*>(::LockResource(loaded)), size);
  ::FreeLibrary(module);

  XmlReading xml = ReadXml(text);
  ASSERT_TRUE(xml.wellFormed) << xml.error;
  int trustInfos = 0;
  int supported = 0;
  for (const XmlElement& e : xml.elements) {
    if (e.name.find("trustInfo") != std::string::npos) ++trustInfos;
    if (e.name == "supportedOS") ++supported;
  }
  EXPECT_EQ(trustInfos, 1);
  EXPECT_EQ(supported, 5);
  for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                         "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                         "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(text.find(id), std::string::npos) << id;
  }

  ACTCTXA context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = path.c_str();
  context.lpResourceName = MAKEINTRESOURCEA(1);
  HANDLE handle = ::CreateActCtxA(&context);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE) << "the system refused the manifest: " << ::GetLastError();
  ::ReleaseActCtx(handle);
}

}  // namespace
}  // namespace corvane::testing
