// POSIX backend: the user's language as a Windows language identifier, from
// the locale variables LC_ALL, LC_MESSAGES and LANG (the first that is set
// and not empty), written "language[_COUNTRY][.charset][@modifier]".
//
// An identifier is the primary language in the low ten bits and the
// sublanguage above them.  Known language-country pairs get their own
// identifier; a known language with another or no country gets its default
// sublanguage (1); an unknown language, "C" and "POSIX" give US English.
#include "sys/time.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace zop::sys {

namespace {

struct LanguageEntry {
    const char* name;
    std::uint16_t primary;
};

// Primary language identifiers of the languages most often met.
constexpr LanguageEntry kLanguages[] = {
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
    {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C},
    {"he", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12},
    {"nl", 0x13}, {"nb", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18},
    {"ru", 0x19}, {"hr", 0x1A}, {"sk", 0x1B}, {"sv", 0x1D}, {"th", 0x1E}, {"tr", 0x1F},
    {"id", 0x21}, {"uk", 0x22}, {"vi", 0x2A}, {"hi", 0x39},
};

struct CountryEntry {
    const char* name;  // language_COUNTRY
    std::uint16_t id;
};

// Identifiers whose sublanguage is not the default one (1), and plain
// Chinese, whose default sublanguage would be Taiwan's.
constexpr CountryEntry kCountries[] = {
    {"zh_TW", 0x0404}, {"zh_CN", 0x0804}, {"zh_HK", 0x0C04}, {"zh_SG", 0x1004},
    {"zh_MO", 0x1404}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009},
    {"en_NZ", 0x1409}, {"en_IE", 0x1809}, {"de_CH", 0x0807}, {"de_AT", 0x0C07},
    {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"es_MX", 0x080A},
    {"es_ES", 0x0C0A}, {"pt_PT", 0x0816}, {"nl_BE", 0x0813}, {"it_CH", 0x0810},
    {"sv_FI", 0x081D}, {"nn_NO", 0x0814},
    {"zh", 0x0804},  // Chinese without a country: the simplified script
};

constexpr std::uint16_t kUsEnglish = 0x0409;

const char* locale_variable() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return "";
}

}  // namespace

std::uint16_t user_default_language() {
    std::string value = locale_variable();
    value = value.substr(0, value.find_first_of(".@"));
    for (const CountryEntry& entry : kCountries) {
        if (value == entry.name) return entry.id;
    }
    const std::string language = value.substr(0, value.find('_'));
    for (const LanguageEntry& entry : kLanguages) {
        if (language == entry.name) return static_cast<std::uint16_t>(0x0400 | entry.primary);
    }
    return kUsEnglish;
}

}  // namespace zop::sys
