#include "platform/qtsoundplayer.h"

#include <QSoundEffect>
#include <QUrl>

static void initSoundResources()
{
    Q_INIT_RESOURCE(sounds);
}

QtSoundPlayer::QtSoundPlayer(QObject* parent)
    : QObject(parent)
{
    initSoundResources();
    const char* const files[] = {"qrc:/sounds/recording-start.wav", "qrc:/sounds/shutter.wav",
                                 "qrc:/sounds/recording-stop.wav"};
    for (std::size_t i = 0; i < m_effects.size(); ++i) {
        m_effects[i] = new QSoundEffect(this);
        m_effects[i]->setSource(QUrl(QString::fromLatin1(files[i])));
    }
}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(Sound sound)
{
    QSoundEffect* effect = m_effects[static_cast<std::size_t>(sound)];
    // A sound asked for again while it plays starts over, as a fresh shutter click should.
    effect->stop();
    effect->play();
}
