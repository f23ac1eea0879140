#pragma once

#include <QString>

#include <string>

class LocalText;
class Prompter;
class QWidget;

/// The photo-measure window's export of its measurements as a CSV table, apart from the
/// window like the picture save.
namespace MeasurementExport {

/// Offers the save chooser for a table of PICTUREPATH's measurements (proposing its name
/// with ".csv" for its extension), adds ".csv" to a name
/// typed without an extension, asks before replacing an existing file and writes TABLE
/// through a temporary file renamed into place. A failure is told with the file and the
/// system's reason. The process's current directory is the same afterwards. Returns true
/// when the table was written.
bool run(QWidget* parent, Prompter& prompter, const LocalText& text, const QString& picturePath,
         const std::string& table);

}  // namespace MeasurementExport
