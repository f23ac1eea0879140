#pragma once

#include "measure/shapefont.h"

#include <QColor>
#include <QDialog>

#include <cstdint>

class LinePreview;
class LocalText;
class Prompter;
class QButtonGroup;
class WidthBox;

/// What the pen dialog sets: how new shapes draw their lines and their readout labels.
struct PenSetting {
    int32_t lineType = 0;  ///< 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
    int32_t lineWidth = 1;  ///< pixels, 1 to 3 once the dialog is closed with OK
    QColor lineColor{255, 0, 0};
    ShapeFont labelFont = ShapeFont::arial(14);
    QColor labelColor{255, 0, 0};

    bool operator==(const PenSetting&) const = default;
};

/// The pen dialog of the photo-measure window. The caller hands the view's values in with
/// setValues() before showing it; values() gives the choices made only once the dialog has
/// ended with OK, and the handed-in values until then, so Cancel changes nothing.
///
/// Controls carry their localisation keys as object names ("SolidLine" ... "DashDotDotLine",
/// "PenColor", "Font", "OK", "Cancel", "LinePriview"); the width box is "PenWidthBox".
class PenSettingDialog : public QDialog {
    Q_OBJECT
public:
    PenSettingDialog(Prompter& prompter, const LocalText& localText, QWidget* parent = nullptr);

    void setValues(const PenSetting& values);
    const PenSetting& values() const { return m_handedBack; }

    /// The message shown when OK finds a width outside 1 to 3.
    static QString widthRangeMessage();

public slots:
    void accept() override;

private:
    void selectLineType(int lineType);
    void widthTextChanged(const QString& text);
    void chooseLineColor();
    void chooseLabelFont();
    void updatePreview();

    Prompter& m_prompter;
    PenSetting m_values;  ///< what the controls show now
    PenSetting m_handedBack;
    QButtonGroup* m_lineTypes = nullptr;
    WidthBox* m_widthBox = nullptr;
    LinePreview* m_preview = nullptr;
};
