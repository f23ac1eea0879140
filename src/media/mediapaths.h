#pragma once

#include <QString>

/// The two working folders below the user's documents folder and the path of the most recent
/// still. Made once in main() and passed by reference to every part that names, lists or
/// copies media files.
class MediaPaths {
public:
    /// Folders below DOCUMENTSFOLDER (tests pass a temporary folder).
    explicit MediaPaths(const QString& documentsFolder);

    /// Folders below the user's documents folder (made when missing), or below the home
    /// folder where the system knows no documents folder.
    static MediaPaths forCurrentUser();

    const QString& documentsFolder() const { return m_documentsFolder; }
    /// ".../Quillon files"
    const QString& mediaRoot() const { return m_mediaRoot; }
    /// ".../Quillon files/Picture": the stills (BMP)
    const QString& pictureFolder() const { return m_pictureFolder; }
    /// ".../Quillon files/Video": the clips (AVI)
    const QString& videoFolder() const { return m_videoFolder; }

    /// Makes the media root, then the video folder, then the picture folder. A folder that
    /// exists already or cannot be made is left as it is: the file writes report it later.
    void createFolders() const;

    /// Full path of the most recent still written (empty before the first one).
    const QString& lastStillPath() const { return m_lastStillPath; }
    void setLastStillPath(const QString& path) { m_lastStillPath = path; }

private:
    QString m_documentsFolder;
    QString m_mediaRoot;
    QString m_pictureFolder;
    QString m_videoFolder;
    QString m_lastStillPath;
};
