#include "cli/UserLocale.h"

#include "cli/DatePattern.h"

#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <string>

namespace tickforge::cli {

namespace {

// The locale name that governs a category, as the C library chooses it.
std::string LocaleName(const char* categoryVariable)
{
    for (const char* variable : {"LC_ALL", categoryVariable, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return "C";
}

bool IsPlainC(const std::string& name)
{
    return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// Runs read(locale) on the named locale; false when it cannot be loaded.
template <typename Read>
bool WithLocale(int mask, const std::string& name, Read read)
{
    locale_t locale = newlocale(mask, name.c_str(), static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return false;
    read(locale);
    freelocale(locale);
    return true;
}

}  // namespace

LocaleFormats UserLocaleFormats()
{
    LocaleFormats formats;
    const std::string numeric = LocaleName("LC_NUMERIC");
    if (!IsPlainC(numeric)) {
        WithLocale(LC_NUMERIC_MASK, numeric, [&](locale_t locale) {
            const char* radix = nl_langinfo_l(RADIXCHAR, locale);
            if (radix != nullptr && std::strlen(radix) == 1)
                formats.decimalSeparator = radix[0];
        });
    }
    const std::string time = LocaleName("LC_TIME");
    if (!IsPlainC(time)) {
        WithLocale(LC_TIME_MASK, time, [&](locale_t locale) {
            const char* format = nl_langinfo_l(D_FMT, locale);
            const std::string pattern = format != nullptr ? PatternFromStrftime(format) : std::string();
            if (!pattern.empty() && CheckDatePattern(pattern).empty())
                formats.shortDatePattern = pattern;
        });
    }
    return formats;
}

}  // namespace tickforge::cli
