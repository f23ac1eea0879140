#include "app/maintoolbar.h"

#include "app/appresources.h"
#include "texts/localtext.h"
#include "ui/latchbitmapbutton.h"
#include "ui/picturebutton.h"
#include "ui/tooltipstyle.h"
#include "ui/typinglimit.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QToolButton>

namespace {

QString picturePath(const QString& name, const char* look, bool twice)
{
    return QStringLiteral(":/app/buttons/%1%2%3.png").arg(name, QLatin1String(look), twice ? "@2x" : "");
}

// Normal, lit (pressed or latched) and disabled pictures, at 2x on a screen that scales.
void givePictures(PictureButton& button, const QString& name)
{
    const bool twice = qApp->devicePixelRatio() > 1.0 && QFile::exists(picturePath(name, "", true));
    const auto load = [&](const char* look) {
        QPixmap picture(picturePath(name, look, twice));
        picture.setDevicePixelRatio(twice ? 2.0 : 1.0);
        return picture;
    };
    button.setPictures(load(""), load("-hi"), QPixmap(), load("-off"));
    button.sizeToContent();
    button.setFocusPolicy(Qt::NoFocus);
}

PictureButton* plainButton(QWidget& client, int id, const QPoint& at, const QString& name)
{
    auto* button = new PictureButton(&client);
    button->setControlId(id);
    givePictures(*button, name);
    button->move(at);
    return button;
}

LatchBitmapButton* latchButton(QWidget& client, int id, const QPoint& at, const QString& name)
{
    auto* button = new LatchBitmapButton(&client);
    button->setUp(id, &client, QString(), QString());
    givePictures(*button, name);
    button->move(at);
    return button;
}

}  // namespace

MainToolBar::MainToolBar(QWidget& client)
{
    initAppResources();
    preview = latchButton(client, PreviewId, {6, 1}, QStringLiteral("preview"));
    camera = plainButton(client, CameraId, {15, 13}, QStringLiteral("camera"));
    video = latchButton(client, VideoId, {51, 13}, QStringLiteral("video"));
    clock = plainButton(client, ClockId, {98, 13}, QStringLiteral("clock"));
    setting = plainButton(client, SettingId, {425, 0}, QStringLiteral("setting"));
    save = plainButton(client, SaveId, {184, 13}, QStringLiteral("save"));
    email = plainButton(client, EMailId, {134, 13}, QStringLiteral("email"));
    preview->hide();
    setting->hide();

    scaleBox = new QLineEdit(&client);
    scaleBox->setObjectName(QStringLiteral("scaleBox"));
    scaleBox->setGeometry(800, 5, 56, 22);
    new TypingLimit(kScaleBoxLength, scaleBox);
    scaleChoice = new QToolButton(&client);
    scaleChoice->setObjectName(QStringLiteral("scaleChoice"));
    scaleChoice->setArrowType(Qt::DownArrow);
    scaleChoice->setGeometry(857, 5, 12, 22);
    scaleChoice->setFocusPolicy(Qt::NoFocus);
}

std::array<PictureButton*, 7> MainToolBar::buttons() const
{
    return {preview, camera, video, clock, setting, save, email};
}

void MainToolBar::setButtonsEnabled(bool enabled)
{
    for (PictureButton* button : buttons()) {
        button->setEnabled(enabled);
    }
}

void MainToolBar::setShownInNormalLayout(bool shown)
{
    for (PictureButton* button : {camera, static_cast<PictureButton*>(video), clock, save, email}) {
        button->setVisible(shown);
    }
    scaleBox->setVisible(shown);
    scaleChoice->setVisible(shown);
}

void MainToolBar::createToolTips(const LocalText& text, QWidget& window)
{
    const struct {
        PictureButton* button;
        TextEntry entry;
    } tips[] = {
        {preview, Text::TipPreview}, {camera, Text::TipCamera},
        {video, Text::TipVideo}, {clock, Text::TipTimer},
        {setting, Text::TipSetting}, {save, Text::TipSave},
        {email, Text::TipEMail},
    };
    auto* style = new ToolTipStyle;
    style->setParent(&window);
    for (const auto& tip : tips) {
        style->give(*tip.button, text.read(tip.entry));
    }
}
