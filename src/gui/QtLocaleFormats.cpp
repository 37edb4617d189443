#include "QtLocaleFormats.h"

namespace tickforge {

namespace {

bool IsFieldLetter(QChar c) { return c == u'd' || c == u'M' || c == u'y'; }

// The separator characters after a dropped weekday name ("dddd, " of "dddd, d MMMM").
qsizetype SkipSeparators(const QString& format, qsizetype at)
{
    while (at < format.size() && !format[at].isLetter() && format[at] != u'\'')
        ++at;
    return at;
}

}  // namespace

std::string ShortDatePatternOf(const QString& qtFormat)
{
    QString pattern;
    qsizetype i = 0;
    while (i < qtFormat.size()) {
        const QChar c = qtFormat[i];
        if (c == u'\'') {
            // Quoted text, with '' standing for one quote, is copied as it stands.
            qsizetype end = i + 1;
            while (end < qtFormat.size()) {
                if (qtFormat[end] == u'\'') {
                    if (end + 1 < qtFormat.size() && qtFormat[end + 1] == u'\'') {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            pattern += qtFormat.mid(i, end + 1 - i);
            i = end + 1;
            continue;
        }
        if (!IsFieldLetter(c)) {
            pattern += c;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < qtFormat.size() && qtFormat[i + run] == c)
            ++run;
        if (c == u'd') {
            if (run <= 2)
                pattern += QString(run, u'd');
            else {
                i = SkipSeparators(qtFormat, i + run);
                continue;
            }
        } else if (c == u'M') {
            pattern += run == 1 ? QStringLiteral("M") : QStringLiteral("MM");
        } else {
            pattern += run == 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
        }
        i += run;
    }
    return pattern.trimmed().toStdString();
}

LocaleFormats LocaleFormatsOf(const QLocale& locale)
{
    LocaleFormats formats;
    if (locale.language() == QLocale::C)
        return formats;
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point[0].unicode() < 0x80)
        formats.decimalSeparator = static_cast<char>(point[0].unicode());
    const std::string pattern = ShortDatePatternOf(locale.dateFormat(QLocale::ShortFormat));
    if (!pattern.empty())
        formats.shortDatePattern = pattern;
    return formats;
}

}  // namespace tickforge
