#pragma once
// The user's number and date formats, read in one place for both front ends: through
// Qt Core's QLocale, from the locale environment (LC_ALL, LC_NUMERIC, LC_TIME, LANG).
// Qt carries its own locale data, so a locale the C library lacks is read all the same,
// and no display is needed.

#include "platform/LocaleFormats.h"

namespace tickforge {

// The C and POSIX locales give the program's defaults: a full stop and d/MM/yyyy. A
// decimal separator that is not one ASCII character keeps the full stop.
LocaleFormats UserLocaleFormats();

}  // namespace tickforge
