#pragma once

#include <QString>

/// A folder that only this user can enter, for short-lived copies handed to other programs
/// (the JPEG copy of a mailed picture). Nothing here follows a symbolic link: a link found in
/// the folder's place is removed and the folder made anew, links inside it are removed as
/// links, and entries that belong to another user are left alone.
class PrivateFolder {
public:
    explicit PrivateFolder(QString path);

    /// Where the mail copies go: $XDG_RUNTIME_DIR/quillon-jpg, or, without a runtime folder,
    /// Quillon/Jpg in the user's cache folder.
    static QString mailLocation();

    const QString& path() const { return m_path; }

    /// Makes the folder with mode 0700, or takes over an existing folder of ours (its mode set
    /// to 0700). A symbolic link in its place is removed first. A folder of another user or a
    /// file in its place is refused. On failure returns false and the system's error text.
    bool create(QString* errorText = nullptr) const;

    /// Removes the entries whose names end in SUFFIX, compared without regard to case
    /// (folders among them are emptied the same way and removed), then the folder itself
    /// when nothing else is left in it. Failures are ignored.
    void removeMatching(const QString& suffix) const;

    /// Removes the folder and everything of ours in it. Failures are ignored.
    void removeAll() const;

    /// Makes NAME in the folder as a new, empty file of ours with mode 0600; fails when
    /// anything of that name exists, a link included. Returns the full path, or empty and
    /// the system's error text.
    QString createFile(const QString& name, QString* errorText = nullptr) const;

    /// Whether NAME in the folder is a regular file (not a link) that belongs to us.
    bool holdsOwnFile(const QString& name) const;

private:
    QString m_path;
};
