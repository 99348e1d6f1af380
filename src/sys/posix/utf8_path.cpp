// POSIX backend: lenient UTF-8 <-> UTF-16 for names exchanged with the
// system.  Names are never refused: what cannot be represented becomes
// U+FFFD, so a directory listing always yields something printable.
#include "sys/posix/utf8_path.h"

#include <cstdint>

namespace zop::sys::posix {

namespace {

void append_utf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void append_utf16(std::wstring& out, std::uint32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<wchar_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 | (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 | (cp & 0x3FF)));
    }
}

}  // namespace

std::string to_system_path(const std::wstring& path) {
    std::string out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        std::uint32_t u = static_cast<std::uint32_t>(path[i]) & 0xFFFF;
        if (u == '\\') {
            out.push_back('/');
        } else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < path.size() &&
                   (static_cast<std::uint32_t>(path[i + 1]) & 0xFC00) == 0xDC00) {
            std::uint32_t lo = static_cast<std::uint32_t>(path[++i]) & 0x3FF;
            append_utf8(out, 0x10000 + ((u - 0xD800) << 10) + lo);
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            append_utf8(out, 0xFFFD);
        } else {
            append_utf8(out, u);
        }
    }
    return out;
}

std::wstring from_system_path(const std::string& path) {
    std::wstring out;
    from_system_path(path.data(), path.size(), out);
    return out;
}

void from_system_path(const char* path, std::size_t n, std::wstring& out) {
    const auto* s = reinterpret_cast<const unsigned char*>(path);
    // Names are nearly always ASCII: copy those in one pass.
    std::size_t ascii = 0;
    while (ascii < n && s[ascii] < 0x80) ++ascii;
    out.resize(ascii);
    for (std::size_t i = 0; i < ascii; ++i) out[i] = static_cast<wchar_t>(s[i]);
    for (std::size_t i = ascii; i < n;) {
        unsigned char b = s[i];
        std::uint32_t cp;
        std::size_t len;
        std::uint32_t min;
        if (b < 0x80) { out.push_back(b); ++i; continue; }
        if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; len = 2; min = 0x80; }
        else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; len = 3; min = 0x800; }
        else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; len = 4; min = 0x10000; }
        else { out.push_back(0xFFFD); ++i; continue; }
        std::size_t k = 1;
        for (; k < len && i + k < n && (s[i + k] & 0xC0) == 0x80; ++k) cp = (cp << 6) | (s[i + k] & 0x3F);
        if (k < len || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(0xFFFD);
            i += 1;
            continue;
        }
        append_utf16(out, cp);
        i += len;
    }
}

}  // namespace zop::sys::posix
