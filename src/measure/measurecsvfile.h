#pragma once

#include <QString>

#include <optional>
#include <string>

/// Writes TEXT to PATH through a temporary file renamed into place, so a failed export
/// neither leaves half a table behind nor spoils a file that was there. Returns the
/// system's reason when the file could not be written; nothing when it was.
std::optional<QString> writeMeasurementsFile(const QString& path, const std::string& text);
