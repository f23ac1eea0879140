#include "ui/picturebutton.h"

#include <QPainter>

PictureButton::PictureButton(QWidget* parent)
    : QAbstractButton(parent)
{
}

bool PictureButton::loadPictures(const QString& normal, const QString& pressed,
                                 const QString& focus, const QString& disabled)
{
    auto load = [](const QString& name) { return name.isEmpty() ? QPixmap() : QPixmap(name); };
    setPictures(load(normal), load(pressed), load(focus), load(disabled));
    return hasPicture(Slot::Normal);
}

void PictureButton::setPictures(const QPixmap& normal, const QPixmap& pressed,
                                const QPixmap& focus, const QPixmap& disabled)
{
    m_pictures[static_cast<int>(Slot::Normal)] = normal;
    m_pictures[static_cast<int>(Slot::Pressed)] = pressed;
    m_pictures[static_cast<int>(Slot::Focus)] = focus;
    m_pictures[static_cast<int>(Slot::Disabled)] = disabled;
    updateGeometry();
    update();
}

QPixmap PictureButton::picture(Slot slot) const
{
    return m_pictures[static_cast<int>(slot)];
}

void PictureButton::sizeToContent()
{
    const QPixmap& normal = m_pictures[static_cast<int>(Slot::Normal)];
    if (!normal.isNull()) {
        // In device-independent pixels, so a picture made for a 200% screen keeps its size.
        setFixedSize(normal.deviceIndependentSize().toSize());
    }
}

QSize PictureButton::sizeHint() const
{
    const QPixmap& normal = m_pictures[static_cast<int>(Slot::Normal)];
    return normal.isNull() ? QSize(0, 0) : normal.deviceIndependentSize().toSize();
}

PictureButton::Slot PictureButton::shownSlot() const
{
    if (isDown() && hasPicture(Slot::Pressed)) {
        return Slot::Pressed;
    }
    if (hasFocus() && hasPicture(Slot::Focus)) {
        return Slot::Focus;
    }
    if (!isEnabled() && hasPicture(Slot::Disabled)) {
        return Slot::Disabled;
    }
    return Slot::Normal;
}

void PictureButton::paintEvent(QPaintEvent*)
{
    const QPixmap shown = picture(shownSlot());
    if (shown.isNull()) {
        return;
    }
    // Unscaled from the top-left corner: the pictures are made at the button's size.
    QPainter painter(this);
    painter.drawPixmap(0, 0, shown);
}
