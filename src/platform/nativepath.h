#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

#include <sys/stat.h>

/// File paths that keep the system's bytes. A Linux file name is any string of bytes; one
/// from a memory stick written elsewhere (Latin-1 "é" as the single byte E9) is not UTF-8,
/// and Qt's own conversion turns such bytes into U+FFFD and so names a file that does not
/// exist. Here valid UTF-8 decodes as usual and each other byte b becomes the lone
/// surrogate U+DC00 + b, which encodes back to b: every name survives the trip into a
/// QString and back. Paths held this way are for the system only; what is shown to the user
/// goes through display().
namespace NativePath {

/// The bytes of a path as a QString, without loss.
QString decode(QByteArrayView bytes);

/// The bytes decode() was made from. Lone surrogates that decode() never makes become the
/// UTF-8 of U+FFFD, so no string encodes to a "/" or NUL it does not show.
QByteArray encode(QStringView path);

/// PATH for people: bytes that were not UTF-8 read as Latin-1 (what memory sticks written
/// on Western systems hold), the C1 control range as U+FFFD. Never holds a lone surrogate,
/// so it is safe for painters, text boxes and other programs.
QString display(QStringView path);

/// PATH made absolute against the current folder's own bytes, "." and ".." resolved as text.
QString absolute(const QString& path);

/// Whether PATH holds a byte that is not UTF-8.
bool hasRawBytes(QStringView path);

/// stat() of PATH, following links; empty when it fails (errno tells why).
std::optional<struct stat> status(const QString& path);
bool exists(const QString& path);
bool isFile(const QString& path);
bool isDirectory(const QString& path);

/// ::open() on PATH's bytes, close-on-exec; -1 and errno on failure.
int openDescriptor(const QString& path, int flags, mode_t mode = 0);

/// Opens FILE on PATH for reading: the descriptor is opened here from the bytes and closed
/// with FILE. Fails for a folder (which opens for reading on Linux but is no file).
bool openForReading(QFile& file, const QString& path, QIODevice::OpenMode extra = {});

/// One entry of a folder, "." and ".." left out. Type and size are those of what a link
/// points to, as QDir reports them.
struct Entry {
    QString name;
    bool isFile = false;
    bool isDirectory = false;
    qint64 size = 0;
};

/// The entries of FOLDER sorted by name (QString order); empty when it cannot be read.
std::vector<Entry> list(const QString& folder);

/// Whether NAME ends in "." + EXTENSION, without regard to case (a Windows "*.bmp").
bool hasExtension(QStringView name, QStringView extension);

/// The mode new files get: 0666 less the process's umask.
mode_t newFileMode();

/// Writes a new file beside PATH and renames it over PATH when committed, so a write that
/// fails half way (a full disk) leaves PATH as it was; QSaveFile's contract for any name.
/// The data is on the disk (fsync) before the rename. A PATH that is a link is written
/// through: the file it points to is replaced.
class SaveFile {
public:
    /// The temporary file as a device. Every write goes straight to the system and a write
    /// that does not go through whole fails (-1): image writers ignore a short count, and a
    /// picture cut short by a full disk must not be taken for saved.
    class Device : public QIODevice {
    public:
        int fd = -1;
        int error = 0;  ///< errno of the first write that failed
    protected:
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char* data, qint64 size) override;
    };

    explicit SaveFile(const QString& path);
    ~SaveFile();
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    /// Makes the temporary file.
    bool open();
    /// The temporary file to write to, valid after open().
    QIODevice& device() { return m_device; }
    /// Flushes, syncs and renames over the target; on failure removes the temporary file.
    bool commit();
    /// Drops the temporary file.
    void cancel();
    /// What went wrong, in the system's words.
    QString errorString() const { return m_error; }

private:
    QByteArray m_target;
    QByteArray m_temporary;
    Device m_device;
    QString m_error;
};

}  // namespace NativePath
