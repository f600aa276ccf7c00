#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// One application object for all tests of a program, as widgets need.
class CGuiEnvironment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "transfer_gui_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

// Registered once for the whole program, however many files include this.
inline ::testing::Environment* const g_guiEnvironment =
    ::testing::AddGlobalTestEnvironment(new CGuiEnvironment);

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
