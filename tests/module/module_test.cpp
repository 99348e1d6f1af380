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

// The system's calls for loading a library, finding a function in it,
// unloading it, and asking whether zop is loaded.
#if defined(_WIN32)
void* load_probe() { return LoadLibraryW(L"zop_probe.dll"); }
void* find(void* lib, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(lib), name));
}
void unload(void* lib) { FreeLibrary(static_cast<HMODULE>(lib)); }
bool zop_is_loaded() { return GetModuleHandleW(L"zop0.1.dll") != nullptr; }
#else
void* load_probe() { return dlopen(g_probe_path.c_str(), RTLD_NOW | RTLD_LOCAL); }
void* find(void* lib, const char* name) { return dlsym(lib, name); }
void unload(void* lib) { dlclose(lib); }
bool zop_is_loaded() {
    void* h = dlopen("libzop.so.0.1", RTLD_NOW | RTLD_NOLOAD);
    if (h != nullptr) dlclose(h);
    return h != nullptr;
}
#endif

// Calls an `int f()` of the plug-in; -100 when it has none of that name.
int call(void* lib, const char* name) {
    auto* fn = reinterpret_cast<int (*)()>(find(lib, name));
    return fn != nullptr ? fn() : -100;
}

TEST(LibraryLifecycle, UnloadFreesAndReloadStartsFresh) {
    ASSERT_FALSE(zop_is_loaded());
    // The second round is a process that never touches dates.
    for (bool use_dates : {true, false}) {
        void* plugin = load_probe();
        ASSERT_NE(plugin, nullptr);
        EXPECT_TRUE(zop_is_loaded());
        EXPECT_EQ(call(plugin, "zop_probe_fresh_state"), 0);
        if (use_dates) {
            EXPECT_GT(call(plugin, "zop_probe_use_dates"), 0);
        }
        unload(plugin);
        EXPECT_FALSE(zop_is_loaded());
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_probe_path = argv[1];
    return RUN_ALL_TESTS();
}
