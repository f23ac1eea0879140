#pragma once

#include "ui/picturebutton.h"

/// A picture button that stays lit: while latched it shows its highlight picture (kept in
/// the pressed slot) instead of the normal one. Being pressed does not change its picture;
/// only its owner latches and unlatches it.
class LatchBitmapButton : public PictureButton {
    Q_OBJECT

public:
    explicit LatchBitmapButton(QWidget* parent = nullptr);

    /// Makes this the control `controlId` of parent and loads its pictures (an empty name
    /// loads nothing), sized to the normal picture. False, with nothing loaded, when there
    /// is no parent or the button has been set up already.
    bool setUp(int controlId, QWidget* parent, const QString& normal, const QString& highlight,
               const QString& focus = QString());

    void setLatched(bool latched);
    bool isLatched() const { return m_latched; }

    /// Disabled picture if disabled and there is one, else focus picture if focused and
    /// there is one, else highlight picture if latched, else normal picture.
    Slot shownSlot() const override;

private:
    bool m_latched = false;
    bool m_setUp = false;
};
