#pragma once

#include <QFont>

/// The main window's three fonts, all made from the system font at normal weight.
struct InterfaceFonts {
    QFont large;   ///< status message, ESC hint, recording counter: cells 20 high, 10 wide
    QFont medium;  ///< the "Scale:" label
    QFont small;   ///< the resolution label

    /// Needs a QGuiApplication (the sizes come from the face's metrics).
    static InterfaceFonts fromSystemFont();
};
