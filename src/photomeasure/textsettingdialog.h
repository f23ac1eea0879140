#pragma once

#include "measure/shapefont.h"

#include <QColor>
#include <QDialog>
#include <QFont>


class LocalText;
class Prompter;
class QLineEdit;
class TextPreview;

/// The text dialog of the photo-measure window: the text the text tool places, its font
/// and its color. The caller hands color and font in before showing it. The getters give
/// the choices made only once the dialog has ended with OK, and the handed-in values (and
/// no text) until then, so Cancel changes nothing. The text box starts empty every time.
///
/// Controls carry their localisation keys as object names ("EnterText", "Font", "OK",
/// "Cancel", "Preview"); the text box is "TextBox".
class TextSettingDialog : public QDialog {
    Q_OBJECT
public:
    /// Longest text the text box takes.
    static constexpr int kMaxTextLength = 254;

    TextSettingDialog(Prompter& prompter, const LocalText& localText, QWidget* parent = nullptr);

    void setTextColor(const QColor& color);
    void setTextFont(const ShapeFont& font);

    /// The text taken from the box at OK; empty before.
    const QString& text() const { return m_handedBack.text; }
    const QColor& textColor() const { return m_handedBack.textColor; }
    const ShapeFont& textFont() const { return m_handedBack.textFont; }

public slots:
    void accept() override;

private:
    void chooseFont();

    void showFont(const ShapeFont& font);
    void showColor(const QColor& color);

    struct Values {
        QString text;
        QColor textColor{255, 0, 0};
        ShapeFont textFont = ShapeFont::arial(12);
    };

    Prompter& m_prompter;
    Values m_values;  ///< what the dialog shows now
    Values m_handedBack;
    QFont m_font;  ///< made from the current text font; draws the preview
    QLineEdit* m_textBox = nullptr;
    TextPreview* m_preview = nullptr;
};
