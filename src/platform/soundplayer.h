#pragma once

/// The program's three sounds.
enum class Sound {
    RecordingStart,  ///< a recording starts, or ends by the AVI button
    Shutter,         ///< a still was asked for and served
    RecordingStop,   ///< a recording ends by F4 or its time limit
};

/// Plays a sound without waiting for it; silent where there is no audio device.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(Sound sound) = 0;
};
