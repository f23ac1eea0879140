#pragma once

#include "platform/camerasource.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

/// One picture control as the user last set it.
struct StoredControl {
    int value = 0;
    bool automatic = false;  ///< the control was left to the camera's automatic mode

    bool operator==(const StoredControl&) const = default;
};

using StoredControls = std::map<PictureControl, StoredControl>;

/// The picture controls of every microscope the user has adjusted, by device key (see
/// VideoDevice::key), so a camera gets its settings back after it is unplugged or the
/// program restarts. Kept in one JSON file of the per-user config folder.
///
/// Changes are written shortly after they are made (a slider drag is one write, not fifty)
/// and when the store goes away. A file that cannot be read as a whole is renamed aside and
/// the store starts empty; one that cannot be set aside is never written over.
class ControlStore : public QObject {
    Q_OBJECT

public:
    /// One device's entry.
    struct Entry {
        std::string key;
        StoredControls controls;

        bool operator==(const Entry&) const = default;
    };

    static constexpr qint64 kLargestFile = 256 * 1024;
    /// More devices than this and the one changed longest ago is forgotten.
    static constexpr std::size_t kMostDevices = 64;
    static constexpr std::size_t kLongestKey = 256;
    static constexpr int kWriteDelayMs = 500;

    explicit ControlStore(std::filesystem::path file, QObject* parent = nullptr);
    /// Writes what is not written yet.
    ~ControlStore() override;

    /// What is stored for KEY; nothing for an empty key.
    StoredControls controls(const std::string& key) const;
    /// Stores CONTROL of device KEY; an empty key stores nothing.
    void remember(const std::string& key, PictureControl control, StoredControl setting);
    /// Writes the changes now. False when they could not be written (they stay pending).
    bool flush();

    /// Where a damaged file was moved at start; empty when none was.
    const std::filesystem::path& setAside() const { return m_setAside; }

    /// The entries of a file's content, most recently changed first; nothing when anything
    /// in it is out of shape.
    static std::optional<std::vector<Entry>> parse(const QByteArray& content);
    static QByteArray serialize(const std::vector<Entry>& entries);

private:
    void load();
    void setDamagedFileAside();

    std::filesystem::path m_file;
    std::filesystem::path m_setAside;
    std::vector<Entry> m_entries;  // most recently changed first
    bool m_changed = false;
    bool m_writable = true;  // false while a file we could not read or move aside is there
    QTimer m_writeTimer;
};
