#include "platform/UserLocale.h"

#include "platform/DateFormat.h"

#include <QLocale>
#include <QString>

namespace tickforge {

LocaleFormats UserLocaleFormats()
{
    LocaleFormats formats;
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        return formats;
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point[0].unicode() < 0x80)
        formats.decimalSeparator = static_cast<char>(point[0].unicode());
    const std::string pattern = ShortDatePatternOfQtFormat(locale.dateFormat(QLocale::ShortFormat).toStdString());
    if (!pattern.empty() && CheckDatePattern(pattern).empty())
        formats.shortDatePattern = pattern;
    return formats;
}

}  // namespace tickforge
