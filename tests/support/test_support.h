// Helpers shared by the test programs.
#ifndef ZOP_TESTS_SUPPORT_H
#define ZOP_TESTS_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace zop_test {

// The operating system's own text for a Win32 error code, exactly as its
// message formatter returns it (line break included), or empty when it has
// none.  On Windows this asks FormatMessageW directly, bypassing zop; Linux
// has no such formatter, so there it is the English Windows text that the
// library promises to reproduce.
std::wstring os_error_text(std::uint32_t code);

// A fresh, uniquely named temporary directory, removed with everything in
// it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory's path in the system's form.
    const std::wstring& path() const { return path_; }
    // path() joined with a relative name by the system's separator.
    std::wstring operator/(const std::wstring& name) const;

private:
    std::wstring path_;
};

// Creates (or replaces) a file holding `bytes`; creates a directory.
void write_file(const std::wstring& path, const std::string& bytes);
void make_dir(const std::wstring& path);
// True when the entry exists, by the standard library's own view.
bool entry_exists(const std::wstring& path);

// True when the program runs under Wine (whose ntdll exports
// wine_get_version), where some system calls differ from Windows.
bool under_wine();

// The message of the `E` that `action` throws; a test failure (and an
// empty text) when it throws nothing.  Other exceptions pass through, so
// the test fails on them too.
template <typename E, typename F>
std::wstring thrown(F&& action) {
    try {
        action();
    } catch (const E& e) {
        return e.message();
    }
    ADD_FAILURE() << "nothing thrown";
    return L"";
}

// Narrow (UTF-8) form of a wide string, for readable assertion messages.
std::string narrow(const std::wstring& text);

}  // namespace zop_test

#endif
