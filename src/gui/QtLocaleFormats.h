#pragma once
// The user's number and date formats as Qt knows them, in the form the core expects.

#include "platform/LocaleFormats.h"

#include <QLocale>
#include <QString>

#include <string>

namespace tickforge {

// Decimal separator and short date pattern of locale. A process without a locale
// (Qt's "C" locale) gets the core's defaults.
LocaleFormats LocaleFormatsOf(const QLocale& locale);

// A Qt date format reduced to the fields d, dd, M, MM, yy and yyyy: month names become
// two-digit months, weekday names are dropped with the separator after them, years of
// any other length become four-digit years. Quoted text and separators stay.
std::string ShortDatePatternOf(const QString& qtFormat);

}  // namespace tickforge
