#pragma once

#include <QByteArray>
#include <QDate>
#include <QObject>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

/// A calibration the user kept, to use again on pictures taken at the same magnification
/// and picture size instead of calibrating at every opening.
struct KeptCalibration {
    QString name;
    double magnification = 0.0;  ///< the rate box's number when it was made
    int width = 0;               ///< picture size it was made on
    int height = 0;
    double value = 0.0;     ///< the calibration value
    double distance = 0.0;  ///< the actual distance entered, mm
    QDate date;

    /// Made at MAGNIFICATION on a WIDTH x HEIGHT picture.
    bool fits(double magnification, int width, int height) const;
    bool operator==(const KeptCalibration&) const = default;
};

/// "200X" for a magnification of 200, "12.5X" for 12.5.
QString magnificationText(double magnification);

/// The file's content as entries, every value checked: nothing, with PROBLEM set, when the
/// bytes are not a list of sound entries. One bad entry refuses the whole file, so that no
/// entry is lost by writing back the rest.
std::optional<std::vector<KeptCalibration>> parseKeptCalibrations(const QByteArray& bytes, QString* problem);
/// The file's content for ENTRIES.
QByteArray serialiseKeptCalibrations(const std::vector<KeptCalibration>& entries);

/// The kept calibrations, one file in the per-user config folder. A file that cannot be used
/// gives no entries and a note for the user, and is set aside (renamed, never overwritten)
/// before the first change writes a new one. Every change is written at once through a
/// temporary file, and only a written change takes effect.
class CalibrationStore : public QObject {
    Q_OBJECT

public:
    /// Limits of the reader: anything beyond is no file of ours.
    static constexpr qint64 kMaxFileBytes = 1 << 20;
    static constexpr std::size_t kMaxEntries = 1000;
    static constexpr int kMaxNameLength = 80;

    /// A store kept in the file PATH; nothing is read before load().
    explicit CalibrationStore(QString path, QObject* parent = nullptr);

    /// The store's file in the per-user config folder CONFIGFOLDER.
    static QString pathIn(const QString& configFolder);
    const QString& path() const { return m_path; }

    /// Reads the file. A missing file is an empty store.
    void load();

    /// Why the file could not be used (its path and the reason), once: nothing afterwards.
    std::optional<QString> takeProblem();

    const std::vector<KeptCalibration>& entries() const { return m_entries; }
    /// The entry made at MAGNIFICATION on a WIDTH x HEIGHT picture, if any.
    std::optional<KeptCalibration> find(double magnification, int width, int height) const;

    /// Keeps ENTRY, in place of one made at the same magnification and size (whose name
    /// stays). Each change gives the reason it could not be written, or nothing when done.
    std::optional<QString> keep(const KeptCalibration& entry);
    /// A blank name is refused (returns a reason); a long one is cut.
    std::optional<QString> rename(std::size_t index, const QString& name);
    std::optional<QString> remove(std::size_t index);

signals:
    void changed();

private:
    std::optional<QString> write(std::vector<KeptCalibration> entries);
    std::optional<QString> setAside();

    QString m_path;
    std::vector<KeptCalibration> m_entries;
    std::optional<QString> m_problem;
    /// The file on disk holds something we could not read; it is renamed before a write.
    bool m_fileUnusable = false;
};
