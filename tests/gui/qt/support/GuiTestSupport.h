#pragma once

#include "GuiApplication.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `act` on the next modal window once it is up, from the event loop
// that the modal window runs; gives up (with null) after about two seconds.
inline void OnNextModal(std::function<void(QWidget*)> act, int triesLeft = 200)
{
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && triesLeft > 0) {
            OnNextModal(std::move(act), triesLeft - 1);
            return;
        }
        act(modal);
    });
}
