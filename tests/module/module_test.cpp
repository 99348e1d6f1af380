// Loads and unloads zop at run time through a plug-in that uses it: after
// the unload the library is gone, and loading it again finds it fresh.
// Under LeakSanitizer (the sanitizer build) this also proves that unloading
// freed the time zone, the locales and the shared formatter.
#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <gtest/gtest.h>

#include <string>

namespace {

std::string g_probe_path;

class Plugin {
public:
    Plugin() {
#if defined(_WIN32)
        handle_ = LoadLibraryW(L"zop_probe.dll");
#else
        handle_ = dlopen(g_probe_path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
    }
    ~Plugin() { unload(); }
    bool loaded() const { return handle_ != nullptr; }
    int call(const char* name) {
#if defined(_WIN32)
        auto fn = reinterpret_cast<int (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(handle_, name)));
#else
        auto fn = reinterpret_cast<int (*)()>(dlsym(handle_, name));
#endif
        return fn != nullptr ? fn() : -100;
    }
    void unload() {
        if (handle_ == nullptr) return;
#if defined(_WIN32)
        FreeLibrary(handle_);
#else
        dlclose(handle_);
#endif
        handle_ = nullptr;
    }

private:
#if defined(_WIN32)
    HMODULE handle_ = nullptr;
#else
    void* handle_ = nullptr;
#endif
};

bool zop_is_loaded() {
#if defined(_WIN32)
    return GetModuleHandleW(L"zop0.1.dll") != nullptr;
#else
    void* h = dlopen("libzop.so.0.1", RTLD_NOW | RTLD_NOLOAD);
    if (h != nullptr) dlclose(h);
    return h != nullptr;
#endif
}

TEST(LibraryLifecycle, UnloadFreesAndReloadStartsFresh) {
    ASSERT_FALSE(zop_is_loaded());
    {
        Plugin plugin;
        ASSERT_TRUE(plugin.loaded());
        EXPECT_TRUE(zop_is_loaded());
        EXPECT_EQ(plugin.call("zop_probe_fresh_state"), 0);
        EXPECT_GT(plugin.call("zop_probe_use_dates"), 0);
    }
    EXPECT_FALSE(zop_is_loaded());
    // A process that never touches dates: load and unload again.
    {
        Plugin plugin;
        ASSERT_TRUE(plugin.loaded());
        EXPECT_EQ(plugin.call("zop_probe_fresh_state"), 0);
    }
    EXPECT_FALSE(zop_is_loaded());
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_probe_path = argv[1];
    return RUN_ALL_TESTS();
}
