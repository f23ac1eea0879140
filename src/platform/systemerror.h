#pragma once

#include <QString>

/// The system's own text for an error number (strerror), as the user sees it in an error box.
QString systemErrorText(int errorNumber);
