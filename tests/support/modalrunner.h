#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

/// Runs ACTION on the next modal dialog of type T, from inside that dialog's own event loop.
/// A modal of another type, or none within two seconds, fails the test (and is closed, so the
/// test never hangs).
template <typename T>
void whenModal(std::function<void(T&)> action)
{
    auto* poll = new QTimer;
    auto attempts = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, action, attempts] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            if (auto* dialog = qobject_cast<T*>(modal)) {
                action(*dialog);
            } else {
                ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className();
                modal->close();
            }
            return;
        }
        if (++*attempts > 400) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "no modal window appeared";
        }
    });
    poll->start(5);
}
