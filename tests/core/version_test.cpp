#include <zop/version.h>

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>

#include <vector>
#endif

namespace {

// The library that runs is the one these headers describe.
TEST(Version, LibraryMatchesHeaders) {
    EXPECT_EQ(zop::version(), ZOP_VERSION_STRING);
}

#if defined(_WIN32)
// The version resource of the loaded zop0.1.dll, read as Explorer reads it.
TEST(Version, DllResourceNamesTheSameRelease) {
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(GetModuleHandleW(L"zop0.1.dll"), path, MAX_PATH), 0u);
    std::vector<char> info(GetFileVersionInfoSizeW(path, nullptr));
    ASSERT_TRUE(!info.empty() && GetFileVersionInfoW(path, 0, DWORD(info.size()), info.data()));
    const std::string v = ZOP_VERSION_STRING;
    const std::wstring version(v.begin(), v.end());
    for (auto [name, want] : {std::pair<std::wstring, std::wstring>{L"FileVersion", version},
             {L"ProductVersion", version}, {L"ProductName", L"zop"}, {L"OriginalFilename", L"zop0.1.dll"}}) {
        void* text = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), (L"\\StringFileInfo\\040904B0\\" + name).c_str(), &text, &length)) << name;
        EXPECT_EQ(static_cast<const wchar_t*>(text), want);
    }
    void* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &fixed, &length));
    EXPECT_EQ(static_cast<VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS, DWORD(ZOP_VERSION_MAJOR << 16 | ZOP_VERSION_MINOR));
    EXPECT_EQ(static_cast<VS_FIXEDFILEINFO*>(fixed)->dwFileVersionLS, DWORD(ZOP_VERSION_PATCH << 16));
}
#endif

}  // namespace
