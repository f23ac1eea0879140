#pragma once

#include "media/playbackengine.h"

#include <QDialog>
#include <QPixmap>
#include <QTimer>

class LatchBitmapButton;
class LocalText;
class PictureButton;
class Prompter;
class QSlider;

/// The modal "Video Player" window: one clip in a picture area, a progress bar and the
/// buttons Play, Stop, First, Backward, Forward and Last. A clip that cannot be played is
/// reported through the prompter; the window then still opens, and its buttons do nothing.
class VideoPlayer : public QDialog {
    Q_OBJECT

public:
    VideoPlayer(const QString& clip, const LocalText& text, Prompter& prompter, QWidget* parent = nullptr);
    ~VideoPlayer() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildButtons(const LocalText& text);
    void play();
    void stop();
    void updateEnabling();
    void showPosition();

    QPixmap m_background;
    PlaybackEngine* m_engine;
    LatchBitmapButton* m_play = nullptr;
    PictureButton* m_stop = nullptr;
    PictureButton* m_first = nullptr;
    PictureButton* m_backward = nullptr;
    PictureButton* m_forward = nullptr;
    PictureButton* m_last = nullptr;
    QSlider* m_progress = nullptr;
    QTimer m_positionTimer;
    QTimer m_stateTimer;
    bool m_centred = false;
};
