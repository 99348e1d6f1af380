// Locale: the predefined locales, the language registry and the current
// locale.
#include <zop/time.h>

#include "sys/time.h"
#include "time/locale_internal.h"

#include <map>
#include <new>

namespace zop {

// Created while the library loads; a failed allocation leaves the pointer
// null, which the registry and current_locale() cope with.
const Locale* const Locale::CHINA = new (std::nothrow) Locale(L"zh", L"CN", L"", 156);
const Locale* const Locale::US = new (std::nothrow) Locale(L"en", L"US", L"", 840);
const Locale* const Locale::TAIWAN = new (std::nothrow) Locale(L"zh", L"TW", L"", 158);

const Locale* Locale::_cur_locale = nullptr;

Locale::Locale(const std::wstring& language, const std::wstring& country,
               const std::wstring& variant, int country_code)
    : language(language), country(country), variant(variant), country_code(country_code) {}

Locale::Locale(const Locale& other) = default;
Locale& Locale::operator=(const Locale& other) = default;
Locale::~Locale() = default;

std::wstring Locale::to_string() const {
    if (language.empty() && country.empty()) return std::wstring();
    if (country.empty() && variant.empty()) return language;
    std::wstring text = language + L"_" + country;
    if (!variant.empty()) text += L"_" + variant;
    return text;
}

namespace {

// The locale of the user's language, chosen once; out of line, so that the
// calls that find a locale set stay short.
[[gnu::noinline]] const Locale* user_locale() {
    const Locale* locale = detail::locale_for_language(sys::user_default_language());
    if (locale == nullptr) throw OutOfMemoryException();
    return locale;
}

}  // namespace

const Locale* Locale::current_locale() {
    if (_cur_locale == nullptr) _cur_locale = user_locale();
    return _cur_locale;
}

void Locale::current_locale(const Locale* locale) { _cur_locale = locale; }

namespace detail {

const Locale* current_locale() { return Locale::current_locale(); }

const Locale* locale_for_language(std::uint16_t language) {
    // Filled from the predefined pointers as they are at the first lookup.
    static std::map<std::uint16_t, const Locale*> registry;
    if (registry.empty()) {
        registry = {
            {0x0000, Locale::US},     {0x007F, Locale::US},    {0x0400, Locale::US},
            {0x0800, Locale::US},     {0x0404, Locale::TAIWAN}, {0x0804, Locale::CHINA},
            {0x0C04, Locale::CHINA},  {0x0409, Locale::US},
        };
    }
    auto it = registry.find(language);
    return it != registry.end() ? it->second : Locale::US;
}

}  // namespace detail
}  // namespace zop
