#pragma once

#include <QDialog>

#include <optional>

class LocalText;
class QCheckBox;
class QLineEdit;
class QPushButton;
class Recorder;

/// The Recorder Setting dialog: the frame rate to capture at, an optional time limit and
/// the Compress button. OK settles the compressor, then refuses numbers out of range.
class RecorderSettingDialog : public QDialog {
    Q_OBJECT

public:
    RecorderSettingDialog(Recorder& recorder, const LocalText& text, QWidget* parent = nullptr);

    /// Frames a second, 1 to 30 (read after OK).
    int frameRate() const;
    /// Seconds, 1 to 99999; nothing when the time limit is off.
    std::optional<int> timeLimit() const;

    QLineEdit* frameRateEdit() const { return m_frameRate; }
    QCheckBox* timeLimitBox() const { return m_limitOn; }
    QLineEdit* secondsEdit() const { return m_seconds; }
    QPushButton* compressButton() const { return m_compress; }

    void accept() override;

private:
    Recorder& m_recorder;
    QLineEdit* m_frameRate = nullptr;
    QCheckBox* m_limitOn = nullptr;
    QLineEdit* m_seconds = nullptr;
    QPushButton* m_compress = nullptr;
};
