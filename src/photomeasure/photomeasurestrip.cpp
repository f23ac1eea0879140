#include "photomeasure/photomeasurestrip.h"

#include "texts/localtext.h"
#include "ui/latchbitmapbutton.h"
#include "ui/picturebutton.h"
#include "ui/typinglimit.h"
#include "ui/tooltipstyle.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPainter>

namespace {

constexpr int kButtonY = 5;
constexpr int kBoxHeight = 20;
const QColor kLabelColor(0, 125, 255);

// Control ids of the buttons.
enum ControlId {
    OpenId = 1001,
    SaveId,
    DrawId,
    MeasureId,
    PenId,
    TextId,
    UndoId,
    RedoId,
    CalibrationId,
};

QString picturePath(const char* name)
{
    return QStringLiteral(":/photomeasure/buttons/%1.png").arg(QLatin1String(name));
}

// The buttons take their size from the 1x picture; on a 200% screen they then show the 2x
// picture at that same size, so they stay sharp.
void useSharpPictures(PictureButton& button, const char* name, const char* pressedName)
{
    const qreal ratio = button.devicePixelRatioF() > 1.0 ? button.devicePixelRatioF() : qApp->devicePixelRatio();
    if (ratio <= 1.0) {
        return;
    }
    const QString normal = picturePath(name).replace(".png", "@2x.png");
    const QString pressed = picturePath(pressedName).replace(".png", "@2x.png");
    if (!QFile::exists(normal) || !QFile::exists(pressed)) {
        return;
    }
    const QSize size = button.picture(PictureButton::Slot::Normal).size();
    button.setPictures(QPixmap(normal), QPixmap(pressed));
    button.setFixedSize(size);
}

PictureButton* plainButton(QWidget& window, int id, int x, const char* name)
{
    auto* button = new PictureButton(&window);
    const QString pressed = QString(name) + "-hi";
    button->loadPictures(picturePath(name), picturePath(pressed.toLatin1().constData()));
    button->setControlId(id);
    button->sizeToContent();
    useSharpPictures(*button, name, pressed.toLatin1().constData());
    button->setFocusPolicy(Qt::NoFocus);
    button->move(x, kButtonY);
    return button;
}

LatchBitmapButton* latchButton(QWidget& window, int id, int x, const char* name)
{
    auto* button = new LatchBitmapButton(&window);
    const QString highlight = QString(name) + "-hi";
    button->setUp(id, &window, picturePath(name), picturePath(highlight.toLatin1().constData()));
    useSharpPictures(*button, name, highlight.toLatin1().constData());
    button->setFocusPolicy(Qt::NoFocus);
    button->move(x, kButtonY);
    return button;
}

QLineEdit* box(QWidget& window, const char* objectName, int x, int width)
{
    auto* edit = new QLineEdit(&window);
    edit->setObjectName(QLatin1String(objectName));
    edit->setGeometry(x, kButtonY, width, kBoxHeight);
    return edit;
}

// The program's medium interface font: the system font at 10 pixels, normal weight. The
// historical font was also 10 pixels wide; stretched like that "Scale:" would run into the
// rate box, so it keeps its natural width.
QFont mediumInterfaceFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(10);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace

PhotoMeasureStrip::PhotoMeasureStrip(QWidget& window, const LocalText& text)
    : m_scaleLabel(text.read(Text::Rate))
{
    openButton = plainButton(window, OpenId, 24, "open");
    saveButton = plainButton(window, SaveId, 62, "save");
    drawButton = latchButton(window, DrawId, 100, "draw");
    measureButton = latchButton(window, MeasureId, 136, "measure");
    penButton = plainButton(window, PenId, 175, "pen");
    textButton = plainButton(window, TextId, 214, "text");
    undoButton = latchButton(window, UndoId, 256, "undo");
    redoButton = latchButton(window, RedoId, 294, "redo");
    calibrationButton = latchButton(window, CalibrationId, 340, "calibration");
    undoButton->setEnabled(false);
    redoButton->setEnabled(false);

    calibratedBox = box(window, "calibratedScaleBox", 376, 96);
    calibratedBox->setReadOnly(true);
    calibratedBox->setEnabled(false);
    toolNameBox = box(window, "toolNameBox", 480, 66);
    toolNameBox->setReadOnly(true);
    toolNameBox->setEnabled(false);
    rateBox = box(window, "rateBox", 600, 40);
    // A scale text set from a picture's name shows whole even when longer than five.
    new TypingLimit(kRateLength, rateBox);

    giveToolTips(window, text);
}

PhotoMeasureStrip::~PhotoMeasureStrip() = default;

void PhotoMeasureStrip::giveToolTips(QWidget& window, const LocalText& text)
{
    const struct {
        QWidget* button;
        TextEntry entry;
    } tips[] = {
        {openButton, Text::TipOpen},
        {saveButton, Text::TipSaveStrip},
        {drawButton, Text::TipLine},
        {measureButton, Text::TipCircle},
        {penButton, Text::TipRectangle},
        {textButton, Text::TipText},
        {undoButton, Text::TipDelete},
        {redoButton, Text::TipResume},
        {calibrationButton, Text::TipCalibrationStrip},
    };
    auto* style = new ToolTipStyle;
    style->setParent(&window);
    for (const auto& tip : tips) {
        style->give(*tip.button, text.read(tip.entry));
    }
}

void PhotoMeasureStrip::applyLayout(Layout layout, int clientWidth)
{
    if (layout == Layout::Maximised) {
        toolNameBox->move(clientWidth - 180, 4);
        rateBox->move(clientWidth - 41, 6);
    } else {
        toolNameBox->move(480, 4);
        rateBox->move(602, 6);
    }
}

QRect PhotoMeasureStrip::scaleLabelRect(Layout layout, int clientWidth)
{
    // The label is as wide as the room before the rate box.
    const int x = layout == Layout::Maximised ? clientWidth - 92 : 550;
    return QRect(x, 7, 50, 16);
}

void PhotoMeasureStrip::paintScaleLabel(QPainter& painter, Layout layout, int clientWidth) const
{
    const QRect rect = scaleLabelRect(layout, clientWidth);
    painter.save();
    painter.setClipRect(rect);
    painter.setFont(mediumInterfaceFont());
    painter.setPen(kLabelColor);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_scaleLabel);
    painter.restore();
}
