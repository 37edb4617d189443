#pragma once
// Hands a target (a web address, a "mailto:" address) to the desktop's default
// program for it. The result is of no interest to the callers: without a mail program
// or browser nothing visible happens.

#include <QString>
#include <QUrl>

#include <functional>

namespace tickforge {

// Targets are cut to their first 79 characters.
void OpenWithShell(const QString& target);

// The operation that really opens a target; QDesktopServices::openUrl unless replaced.
// Tests replace it to see what would be opened. Returns the previous one.
using UrlOpener = std::function<bool(const QUrl&)>;
UrlOpener SetUrlOpener(UrlOpener opener);

}  // namespace tickforge
