#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

class Clock;
class MediaPaths;
class Prompter;

/// Names for new stills and clips: a fixed prefix, the local date and time and a running
/// number that is one above the highest number found in the folder.
class MediaNames {
public:
    /// Only the first 19 characters of the scale box's text take part in a still's name.
    static constexpr int kMaxScaleTextLength = 19;

    MediaNames(const MediaPaths& paths, Prompter& prompter, const Clock& clock);

    /// Next running number for a still ("*.bmp" in the picture folder).
    int nextStillNumber() const;
    /// Next running number for a clip ("*.avi" in the video folder).
    int nextClipNumber() const;

    /// Full path for a new still, e.g. ".../Picture/Still_2009-03-05_101530_200.0X_N0012.bmp";
    /// an empty SCALETEXT gives ".../Picture/Still_2009-03-05_101530_N0012.bmp".
    QString makeStillName(const QString& scaleText) const;
    /// Full path for a new clip, e.g. ".../Video/Video_2009-03-05_101530_N0003.avi".
    QString makeClipName() const;

    /// Scans FOLDER for entries matching "*.EXTENSION" (extension compared without regard
    /// to case) and returns the highest running number plus 1. Each matching directory
    /// shows ERRORTEXT in a plain message box; the scan goes on.
    static int nextSequenceNumber(const QString& folder, const QString& extension,
                                  const QString& errorText, Prompter& prompter);

    /// The running number a file name contributes: the text after its last upper-case "N",
    /// without its last "." and what follows, read as a leading decimal integer (0 when it
    /// has no digits). Empty when the name has no "N".
    static std::optional<int> sequenceNumberOf(const QString& fileName);

    static QString formatStillName(const QString& pictureFolder, const QDateTime& localTime,
                                   const QString& scaleText, int number);
    static QString formatClipName(const QString& videoFolder, const QDateTime& localTime,
                                  int number);

private:
    const MediaPaths& m_paths;
    Prompter& m_prompter;
    const Clock& m_clock;
};
