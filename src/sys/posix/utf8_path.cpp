// POSIX backend: the lossless mapping between wide paths and byte paths.
#include "sys/posix/utf8_path.h"

#include "sys/error.h"
#include "sys/posix/errno_map.h"
#include "sys/posix/utf8_decode.h"

#include <array>
#include <cstdint>

namespace zop::sys::posix {

namespace {

constexpr std::uint32_t kForbiddenBase = 0xF000;  // U+F000 + forbidden character
constexpr std::uint32_t kByteEscapeBase = 0xDC00;  // U+DC00 + undecodable byte

// Characters a Windows name cannot hold (NUL never reaches a name).
constexpr std::array<bool, 128> forbidden_table() {
    std::array<bool, 128> t{};
    for (int c = 1; c < 32; ++c) t[c] = true;
    for (char c : {'\\', ':', '*', '?', '"', '<', '>', '|'}) t[static_cast<unsigned char>(c)] = true;
    return t;
}
constexpr std::array<bool, 128> kForbidden = forbidden_table();

bool forbidden(std::uint32_t c) { return c < 128 && kForbidden[c]; }

// U+F000 + c for a forbidden c: the private-use images of forbidden bytes.
bool forbidden_image(std::uint32_t cp) { return cp >= kForbiddenBase && forbidden(cp - kForbiddenBase); }

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

bool to_system_path(const std::wstring& path, std::string& out) {
    out.clear();
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        std::uint32_t u = static_cast<std::uint32_t>(path[i]);
        if (u > 0xFFFF) return fail(kErrorInvalidName);  // no UTF-16 unit: no name holds it
        if (u == '\\') {
            out.push_back('/');
        } else if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (forbidden_image(u)) {
            out.push_back(static_cast<char>(u - kForbiddenBase));
        } else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < path.size() &&
                   (static_cast<std::uint32_t>(path[i + 1]) & 0xFC00) == 0xDC00) {
            std::uint32_t lo = static_cast<std::uint32_t>(path[++i]) & 0x3FF;
            append_utf8(out, 0x10000 + ((u - 0xD800) << 10) + lo);
        } else if (u >= kByteEscapeBase + 0x80 && u <= kByteEscapeBase + 0xFF) {
            out.push_back(static_cast<char>(u - kByteEscapeBase));
        } else {
            append_utf8(out, u);  // unpaired surrogates included: three bytes
        }
    }
    return true;
}

std::wstring from_system_path(const std::string& path) {
    std::wstring out;
    from_system_path(path.data(), path.size(), out);
    return out;
}

void from_system_path(const char* path, std::size_t n, std::wstring& out) {
    const auto* s = reinterpret_cast<const unsigned char*>(path);
    // Names are nearly always plain ASCII: copy those in one pass.
    std::size_t plain = 0;
    while (plain < n && s[plain] < 0x80 && !kForbidden[s[plain]]) ++plain;
    out.resize(plain);
    for (std::size_t i = 0; i < plain; ++i) out[i] = static_cast<wchar_t>(s[i]);
    for (std::size_t i = plain; i < n;) {
        unsigned char b = s[i];
        if (b < 0x80) {
            out.push_back(static_cast<wchar_t>(kForbidden[b] ? kForbiddenBase + b : b));
            ++i;
            continue;
        }
        std::uint32_t cp;
        bool valid;
        const std::size_t len = decode_utf8(s + i, n - i, cp, valid);
        if (valid && !forbidden_image(cp)) {
            append_utf16(out, cp);
            i += len;
            continue;
        }
        // Not UTF-8 (one byte escaped, the next looked at afresh), or a
        // private-use character that would read as a forbidden one (each of
        // its bytes escaped).
        std::size_t end = i + (valid ? len : 1);
        for (; i < end; ++i) out.push_back(static_cast<wchar_t>(kByteEscapeBase + s[i]));
    }
}

}  // namespace zop::sys::posix
