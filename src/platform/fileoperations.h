#pragma once

#include <QString>

#include <optional>

/// Copying and removing the user's files, with the system's own text for what went wrong.
namespace FileOperations {

/// Copies SOURCE to DESTINATION, replacing a file of that name. The copy is written beside
/// DESTINATION and renamed over it at the end, so a copy that fails half way (a full disk)
/// leaves DESTINATION as it was. Empty on success, else the system's text for the error.
std::optional<QString> copyReplacing(const QString& source, const QString& destination);

/// Removes the file (or link) PATH. Empty on success, else the system's text for the error.
std::optional<QString> removeFile(const QString& path);

/// Whether both paths name one and the same file, also through links or hard links.
bool isSameFile(const QString& first, const QString& second);

}  // namespace FileOperations
