#pragma once

#include <QAbstractButton>
#include <QPixmap>

/// A button drawn entirely by its pictures: normal, pressed, focused and disabled. It
/// takes the size of its normal picture and shows the pressed one while it is held down.
/// Empty slots fall back to the normal picture.
class PictureButton : public QAbstractButton {
    Q_OBJECT

public:
    enum class Slot { Normal, Pressed, Focus, Disabled };

    explicit PictureButton(QWidget* parent = nullptr);

    /// Loads the pictures from files or resources; an empty name leaves its slot empty.
    /// False when the normal picture does not load (the other slots are still filled).
    bool loadPictures(const QString& normal, const QString& pressed,
                      const QString& focus = QString(), const QString& disabled = QString());
    void setPictures(const QPixmap& normal, const QPixmap& pressed,
                     const QPixmap& focus = QPixmap(), const QPixmap& disabled = QPixmap());
    QPixmap picture(Slot slot) const;
    bool hasPicture(Slot slot) const { return !picture(slot).isNull(); }

    /// Gives the button exactly the size of its normal picture.
    void sizeToContent();

    /// The id the owner knows the button by (tool tips, commands); 0 when none was given.
    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }

    /// The slot shown for the button's present state.
    virtual Slot shownSlot() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_pictures[4];
    int m_controlId = 0;
};
