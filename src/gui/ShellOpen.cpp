#include "gui/ShellOpen.h"

#include <QDesktopServices>

#include <utility>

namespace tickforge {

namespace {

constexpr int MaxTargetLength = 79;

UrlOpener& CurrentOpener()
{
    static UrlOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

}  // namespace

void OpenWithShell(const QString& target)
{
    const UrlOpener& opener = CurrentOpener();
    if (opener)
        (void)opener(QUrl(target.left(MaxTargetLength)));
}

UrlOpener SetUrlOpener(UrlOpener opener)
{
    return std::exchange(CurrentOpener(), std::move(opener));
}

}  // namespace tickforge
