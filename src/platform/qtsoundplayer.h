#pragma once

#include "platform/soundplayer.h"

#include <QObject>

#include <array>
#include <memory>

class QSoundEffect;

/// The three sounds through Qt Multimedia, loaded once; silent without an audio device.
class QtSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT

public:
    explicit QtSoundPlayer(QObject* parent = nullptr);
    ~QtSoundPlayer() override;

    void play(Sound sound) override;

private:
    std::array<QSoundEffect*, 3> m_effects{};
};
