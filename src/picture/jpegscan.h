#pragma once

#include <QByteArrayView>

/// True when the JPEG in DATA decodes to every one of its rows with no entropy-coded data
/// missing. A file that merely lacks its end-of-image marker passes; one cut inside its scan
/// data, whose last rows a decoder would invent, does not. Decodes at an eighth of the size,
/// which still reads every coded coefficient.
bool jpegScanComplete(QByteArrayView data);
