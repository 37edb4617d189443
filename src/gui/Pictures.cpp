#include "gui/Pictures.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitPictureResource()
{
    Q_INIT_RESOURCE(tickforge);
}

namespace tickforge {

void InitPictures()
{
    static const bool registered = [] {
        InitPictureResource();
        return true;
    }();
    (void)registered;
}

QPixmap LoadPicture(const QString& path)
{
    InitPictures();
    return QPixmap(path);
}

}  // namespace tickforge
