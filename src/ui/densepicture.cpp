#include "ui/densepicture.h"

#include <QFile>

namespace {

// Empty when there is no @2x rendering or the screen does not need one.
QString densePath(const QString& path, qreal ratio)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (ratio <= 1.0 || dot < 0) {
        return {};
    }
    QString dense = path;
    dense.insert(dot, QLatin1String("@2x"));
    return QFile::exists(dense) ? dense : QString();
}

}  // namespace

QImage denseImage(const QString& path, qreal ratio)
{
    const QString dense = densePath(path, ratio);
    if (dense.isEmpty()) {
        return QImage(path);
    }
    // Set by hand: Qt's own "@2x" name rule can be switched off from the environment.
    QImage picture(dense);
    picture.setDevicePixelRatio(2.0);
    return picture;
}

QPixmap densePixmap(const QString& path, qreal ratio)
{
    return QPixmap::fromImage(denseImage(path, ratio));
}
