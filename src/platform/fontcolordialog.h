#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

#include <optional>

class QFontDialog;
class QPushButton;

/// Qt's font chooser with a color button under it: a font chooser "with effects" that
/// hands back a text color together with the font, in one dialog.
class FontColorDialog : public QDialog {
    Q_OBJECT
public:
    /// Without an initial font the chooser opens on the application's default font.
    FontColorDialog(const std::optional<QFont>& initialFont, const QColor& initialColor,
                    QWidget* parent = nullptr);

    QFont selectedFont() const;
    QColor selectedColor() const { return m_color; }
    void setSelectedColor(const QColor& color);

private:
    void chooseColor();

    QFontDialog* m_fonts = nullptr;
    QPushButton* m_colorButton = nullptr;
    QColor m_color;
};
