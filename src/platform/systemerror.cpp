#include "platform/systemerror.h"

#include <cstring>

QString systemErrorText(int errorNumber)
{
    // The GNU strerror_r returns its own static text for known numbers and fills the buffer
    // for unknown ones; either way the result is the pointer it gives back.
    char buffer[256] = {};
    const char* text = strerror_r(errorNumber, buffer, sizeof buffer);
    return QString::fromLocal8Bit(text);
}
