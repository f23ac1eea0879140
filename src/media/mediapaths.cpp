#include "media/mediapaths.h"

#include <QDir>
#include <QStandardPaths>

MediaPaths::MediaPaths(const QString& documentsFolder)
    : m_documentsFolder(QDir::cleanPath(documentsFolder))
    , m_mediaRoot(m_documentsFolder + QStringLiteral("/Quillon files"))
    , m_pictureFolder(m_mediaRoot + QStringLiteral("/Picture"))
    , m_videoFolder(m_mediaRoot + QStringLiteral("/Video"))
{
}

MediaPaths MediaPaths::forCurrentUser()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) {
        documents = QDir::homePath();
    }
    // Like the documents folder of a fresh account, it is made when missing.
    QDir().mkpath(documents);
    return MediaPaths(documents);
}

void MediaPaths::createFolders() const
{
    // One level at a time, in this order, and failures are ignored: an existing folder is
    // the normal case, and a folder that cannot be made shows up when a file is written.
    QDir dir;
    dir.mkdir(m_mediaRoot);
    dir.mkdir(m_videoFolder);
    dir.mkdir(m_pictureFolder);
}
