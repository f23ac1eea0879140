#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

/// The resource picture PATH (".../NAME.png") for a screen of device pixel RATIO: its "@2x"
/// rendering when RATIO is above 1 and the resources hold one, else PATH itself. The @2x
/// picture carries the ratio 2, so it keeps the 1x picture's size in logical pixels and draws
/// sharp where the 1x one would be stretched.
QImage denseImage(const QString& path, qreal ratio);
QPixmap densePixmap(const QString& path, qreal ratio);
