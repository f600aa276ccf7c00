#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

// One application object for every test of the program, as the toolkit needs
// before any widget or image plug-in is used.
class CGuiEnvironment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "screen_gui_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};
