#include "media/videoplayer.h"

#include "platform/nativepath.h"
#include "platform/prompter.h"
#include "texts/localtext.h"
#include "ui/densepicture.h"
#include "ui/latchbitmapbutton.h"
#include "ui/picturebutton.h"
#include "ui/tooltipstyle.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QSlider>

#include <cmath>

// Resources of a static library are linked only when something names them.
static void initialisePlayerResources()
{
    Q_INIT_RESOURCE(player);
}

namespace {

constexpr QRect kPictureArea(2, 1, 589, 410);
constexpr QPoint kProgressAt(40, 414);
constexpr int kProgressWidth = 513;
constexpr int kTimerMs = 50;

QString picturePath(const QString& name)
{
    return QStringLiteral(":/player/buttons/%1.png").arg(name);
}

/// Shows the latest picture of the clip scaled into its rectangle, keeping its proportions.
class PictureArea : public QWidget {
public:
    using QWidget::QWidget;

    void show(const QImage& image)
    {
        m_image = image;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (m_image.isNull()) {
            return;
        }
        const QSize size = m_image.size().scaled(this->size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_image);
    }

private:
    QImage m_image;
};

}  // namespace

VideoPlayer::VideoPlayer(const QString& clip, const LocalText& text, Prompter& prompter, QWidget* parent)
    : QDialog(parent)
    , m_engine(new PlaybackEngine(this))
{
    initialisePlayerResources();
    setModal(true);
    setWindowTitle(text.read(Text::VideoPlayer));
    m_background = densePixmap(QStringLiteral(":/player/background.png"), qApp->devicePixelRatio());
    setFixedSize(m_background.deviceIndependentSize().toSize());

    auto* area = new PictureArea(this);
    area->setGeometry(kPictureArea);
    connect(m_engine, &PlaybackEngine::frameReady, area, &PictureArea::show);

    buildButtons(text);
    m_progress = new QSlider(Qt::Horizontal, this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setGeometry(QRect(kProgressAt, QSize(kProgressWidth, m_progress->sizeHint().height())));
    m_progress->setPageStep(10);
    m_progress->setSingleStep(1);
    m_progress->setFocusPolicy(Qt::NoFocus);

    connect(m_engine, &PlaybackEngine::complete, this, &VideoPlayer::stop);
    m_positionTimer.setInterval(kTimerMs);
    connect(&m_positionTimer, &QTimer::timeout, this, &VideoPlayer::showPosition);
    m_stateTimer.setInterval(kTimerMs);
    connect(&m_stateTimer, &QTimer::timeout, m_engine, &PlaybackEngine::poll);

    if (m_engine->open(clip)) {
        m_progress->setRange(0, static_cast<int>(std::floor(m_engine->duration() * 10.0)));
    } else {
        m_progress->setRange(0, 0);
        const QString reason = NativePath::display(QFileInfo(clip).fileName()) + QStringLiteral(" (") + m_engine->errorText() + ')';
        prompter.message(this, text.read(Text::ClipCannotPlay).arg(reason), Prompter::Icon::Warning);
    }
    m_progress->setValue(0);
    m_stateTimer.start();
}

VideoPlayer::~VideoPlayer()
{
    m_stateTimer.stop();
    m_positionTimer.stop();
}

void VideoPlayer::buildButtons(const LocalText& text)
{
    m_play = new LatchBitmapButton(this);
    m_play->setUp(0, this, picturePath("play"), picturePath("play-hi"));
    m_play->move(162, 426);
    m_play->setObjectName(QStringLiteral("play"));
    // Only the buttons that the player disables have a picture for it.
    const struct {
        PictureButton** button;
        const char* name;
        QPoint at;
        TextEntry tip;
        bool greysOut;
    } plain[] = {
        {&m_stop, "stop", {212, 432}, Text::TipStop, false},
        {&m_first, "first", {254, 432}, Text::TipFirst, true},
        {&m_backward, "backward", {296, 432}, Text::TipReward, true},
        {&m_forward, "forward", {330, 432}, Text::TipForward, true},
        {&m_last, "last", {372, 432}, Text::TipLast, true},
    };
    auto* style = new ToolTipStyle;
    style->setParent(this);
    style->give(*m_play, text.read(Text::TipPlay));
    m_play->setFocusPolicy(Qt::NoFocus);
    for (const auto& entry : plain) {
        auto* button = new PictureButton(this);
        const QString name = QLatin1String(entry.name);
        button->loadPictures(picturePath(name), picturePath(name + "-hi"), QString(),
                             entry.greysOut ? picturePath(name + "-off") : QString());
        button->sizeToContent();
        button->move(entry.at);
        button->setObjectName(name);
        button->setFocusPolicy(Qt::NoFocus);
        style->give(*button, text.read(entry.tip));
        *entry.button = button;
    }
    connect(m_play, &QAbstractButton::clicked, this, &VideoPlayer::play);
    connect(m_stop, &QAbstractButton::clicked, this, &VideoPlayer::stop);
    connect(m_first, &QAbstractButton::clicked, this, [this] { m_engine->seek(0); });
    connect(m_backward, &QAbstractButton::clicked, this, [this] {
        m_engine->pause();
        m_engine->back();
    });
    connect(m_forward, &QAbstractButton::clicked, this, [this] {
        m_engine->pause();
        m_engine->forward();
    });
    connect(m_last, &QAbstractButton::clicked, m_engine, &PlaybackEngine::last);
}

void VideoPlayer::play()
{
    if (m_engine->state() == PlaybackState::Closed) {
        return;
    }
    if (m_play->isLatched()) {
        m_play->setLatched(false);
        m_engine->pause();
        m_positionTimer.stop();
    } else {
        m_play->setLatched(true);
        m_engine->run();
        m_positionTimer.start();
    }
    updateEnabling();
}

void VideoPlayer::stop()
{
    if (m_engine->state() == PlaybackState::Closed) {
        return;
    }
    m_play->setLatched(false);
    updateEnabling();
    m_engine->pause();
    m_positionTimer.stop();
    m_progress->setValue(0);
    m_engine->seek(0);
}

void VideoPlayer::updateEnabling()
{
    for (PictureButton* button : {m_first, m_backward, m_forward, m_last}) {
        button->setEnabled(m_play->isLatched());
    }
}

void VideoPlayer::showPosition()
{
    m_progress->setValue(static_cast<int>(std::floor(m_engine->currentPosition() * 10.0)));
    if (m_progress->value() >= m_progress->maximum()) {
        stop();
    }
}

void VideoPlayer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
}

void VideoPlayer::keyPressEvent(QKeyEvent* event)
{
    // The window closes only through its close box.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Enter:
    case Qt::Key_Return:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void VideoPlayer::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_centred) {
        m_centred = true;
        if (const QScreen* screen = this->screen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
}
