#pragma once

#include "platform/clock.h"

#include <QObject>

#include <functional>

class CaptureEngine;
class MediaPaths;
class Prompter;
class SoundPlayer;
class ThumbnailGallery;

/// Serves still requests on the main thread: when the engine has kept a still it writes it
/// as a BMP into the picture folder, adds it to the gallery as the selected picture and
/// plays the shutter.
class StillCapture : public QObject {
    Q_OBJECT

public:
    /// SCALETEXT reads the scale box at the moment of the capture; WINDOW parents messages.
    StillCapture(CaptureEngine& engine, MediaPaths& paths, Prompter& prompter, SoundPlayer& sounds,
                 ThumbnailGallery& gallery, std::function<QString()> scaleText, QWidget* window);

    /// One still-ready notice: writes the picture unless an earlier notice served the request.
    /// FROMSNAPSHOT (the camera's button) restarts the stream afterwards, as does a recording.
    /// Returns whether a file was written.
    bool serve(bool fromSnapshot);

private:
    CaptureEngine& m_engine;
    MediaPaths& m_paths;
    Prompter& m_prompter;
    SoundPlayer& m_sounds;
    ThumbnailGallery& m_gallery;
    std::function<QString()> m_scaleText;
    QWidget* m_window;
    SystemClock m_clock;
};
