// POSIX backend: the message formatter, which knows the English Windows
// texts of english_messages.h.
#include "sys/error.h"
#include "sys/posix/english_messages.h"

#include <algorithm>
#include <iterator>

namespace zop::sys {

namespace {

// The POSIX system's only formatter; its address is the handle.
struct EnglishTable {
    int unused;
};
constexpr EnglishTable kEnglish{0};

}  // namespace

// Only the name Windows would load the formatter from is known.
const MessageFormatter* load_message_formatter(const std::wstring& library) {
    if (library != L"kernel32.dll") return nullptr;
    return reinterpret_cast<const MessageFormatter*>(&kEnglish);
}

bool format_message(const MessageFormatter*, std::uint32_t code, std::wstring& text) {
    text.clear();
    using posix::kEnglishMessages;
    auto it = std::lower_bound(std::begin(kEnglishMessages), std::end(kEnglishMessages), code,
                               [](const posix::EnglishMessage& e, std::uint32_t c) { return e.code < c; });
    if (it == std::end(kEnglishMessages) || it->code != code) return false;
    for (const char* p = it->text; *p != '\0'; ++p) text.push_back(static_cast<wchar_t>(*p));
    return true;
}

}  // namespace zop::sys
