#include "ui/latchbitmapbutton.h"

LatchBitmapButton::LatchBitmapButton(QWidget* parent)
    : PictureButton(parent)
{
}

bool LatchBitmapButton::setUp(int controlId, QWidget* parent, const QString& normal,
                               const QString& highlight, const QString& focus)
{
    if (parent == nullptr || m_setUp) {
        return false;
    }
    if (parentWidget() != parent) {
        setParent(parent);
        // A re-parented widget starts hidden; under a window already on screen it would
        // otherwise never appear.
        if (parent->isVisible()) {
            show();
        }
    }
    setControlId(controlId);
    loadPictures(normal, highlight, focus);
    sizeToContent();
    m_setUp = true;
    return true;
}

void LatchBitmapButton::setLatched(bool latched)
{
    m_latched = latched;
    update();
}

PictureButton::Slot LatchBitmapButton::shownSlot() const
{
    if (!isEnabled() && hasPicture(Slot::Disabled)) {
        return Slot::Disabled;
    }
    if (hasFocus() && hasPicture(Slot::Focus)) {
        return Slot::Focus;
    }
    if (m_latched && hasPicture(Slot::Pressed)) {
        return Slot::Pressed;
    }
    return Slot::Normal;
}
