// What the built executables carry: the manifest, the version resource and the
// icon, read back as Windows reads them. The 32-bit release build cannot run
// here, but it can be opened as data.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/win_test_support.h"

namespace pavrelin {
namespace {

struct Case {
  const char* path;  // relative to the test's folder
  const char* processor;
};

void PrintTo(const Case& build, std::ostream* out) { *out << build.processor; }

// The win64 test build beside the test, and the win32 release build.
const Case kBuilds[] = {{"Pavrelin.exe", "amd64"}, {"..\\..\\win32\\bin\\Pavrelin.exe", "x86"}};

class Resources : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    const std::string path = test::ExeDirectory() + "\\" + GetParam().path;
    if (!test::FileExists(path)) GTEST_SKIP() << path << " is not built";
    module_ = LoadLibraryExA(path.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(module_) << path;
    path_ = path;
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  std::string Resource(LPCSTR type, LPCSTR name) const {
    HRSRC found = FindResourceA(module_, name, type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module_, found);
    return std::string(static_cast<const char*>(LockResource(loaded)),
                       SizeofResource(module_, found));
  }

  HMODULE module_ = nullptr;
  std::string path_;
};

TEST_P(Resources, TheManifestAsksForAdministratorAndCommonControlsSix) {
  const std::string manifest = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
  ASSERT_FALSE(manifest.empty());
  const std::string processor =
      std::string("processorArchitecture=\"") + GetParam().processor + "\"";
  for (const std::string& piece :
       {std::string("level=\"requireAdministrator\""), std::string("uiAccess=\"false\""),
        std::string("name=\"Microsoft.Windows.Common-Controls\""),
        std::string("version=\"6.0.0.0\""), std::string("publicKeyToken=\"6595b64144ccf1df\""),
        std::string("language=\"*\""), std::string("name=\"dazediz.exe\""),
        std::string("version=\"5.1.0.0\""), std::string("type=\"win32\""),
        std::string("<description>Vore Duvor Arozudezuva</description>")})
    EXPECT_NE(manifest.find(piece), std::string::npos) << piece;
  // Both the program's identity and its dependency name the processor.
  const std::size_t first = manifest.find(processor);
  ASSERT_NE(first, std::string::npos) << processor;
  EXPECT_NE(manifest.find(processor, first + 1), std::string::npos);
  EXPECT_EQ(manifest.find(GetParam().processor == std::string("x86") ? "amd64" : "\"x86\""),
            std::string::npos);
}

TEST_P(Resources, TheVersionIsOnePointZeroPointTwoInAChineseStringTable) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path_.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::string data(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00020000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00020000u);
  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 936);
  const auto text = [&](const char* key) {
    char* value = nullptr;
    UINT chars = 0;
    const std::string query = std::string("\\StringFileInfo\\080403a8\\") + key;
    if (!VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &chars))
      return std::string("<missing>");
    return std::string(value);
  };
  EXPECT_EQ(text("ProductName"), "Pavrelin");
  EXPECT_EQ(text("FileVersion"), "1.0.2.0");
  EXPECT_EQ(text("ProductVersion"), "1.0.2.0");
  EXPECT_EQ(text("FileDescription"), "Pavrelin 无线网络共享工具");
}

TEST_P(Resources, TheIconHasItsFiveSizes) {
  const std::string group = Resource(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(1));  // RT_GROUP_ICON
  ASSERT_GE(group.size(), 6u);
  const int count = static_cast<unsigned char>(group[4]) | static_cast<unsigned char>(group[5])
                                                               << 8;
  ASSERT_EQ(count, 5);
  std::vector<int> sizes;
  for (int i = 0; i < count; ++i) {
    const int width = static_cast<unsigned char>(group[6 + 14 * i]);
    sizes.push_back(width == 0 ? 256 : width);
  }
  EXPECT_EQ(sizes, (std::vector<int>{256, 128, 48, 32, 16}));
}

INSTANTIATE_TEST_SUITE_P(Builds, Resources, ::testing::ValuesIn(kBuilds),
                         [](const auto& info) { return std::string(info.param.processor); });

}  // namespace
}  // namespace pavrelin
