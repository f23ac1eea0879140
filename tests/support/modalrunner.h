#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

/// Runs ACTION on the next modal dialog of type T, from inside that dialog's own event loop.
/// A modal of another type, or none within two seconds, fails the test (and is closed, so the
/// test never hangs).
template <typename T>
void whenModal(std::function<void(T&)> action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action, attempts = 0]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        const bool shown = modal != nullptr && modal->isVisible();
        if (!shown && ++attempts <= 400) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (!shown) {
            ADD_FAILURE() << "no modal window appeared";
        } else if (auto* dialog = qobject_cast<T*>(modal)) {
            action(*dialog);
        } else {
            ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className();
            modal->close();
        }
    });
    poll->start(5);
}
