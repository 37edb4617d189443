#pragma once
// The pictures compiled into the program: the splash and credits pictures and the
// application icon.

#include <QPixmap>
#include <QString>

namespace tickforge {

inline const QString SplashPicturePath = QStringLiteral(":/pictures/splash.jpg");
inline const QString CreditsPicturePath = QStringLiteral(":/pictures/credits.jpg");
inline const QString ApplicationIconPath = QStringLiteral(":/pictures/tickforge.png");

// Makes sure the pictures' resource is linked in and registered; cheap to call again.
void InitPictures();

// The picture at a path above (a null pixmap when it cannot be decoded).
QPixmap LoadPicture(const QString& path);

}  // namespace tickforge
