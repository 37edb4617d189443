#pragma once
// The user's number and date formats, from the locale environment (LC_ALL, LC_NUMERIC,
// LC_TIME, LANG), read without changing the process's own C locale.

#include "platform/LocaleFormats.h"

namespace tickforge::cli {

// The C and POSIX locales, and any locale that cannot be loaded, give the program's
// defaults: a full stop and d/MM/yyyy.
LocaleFormats UserLocaleFormats();

}  // namespace tickforge::cli
