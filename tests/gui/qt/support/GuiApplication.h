#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

// One application object for every test of a program, as the toolkit needs
// before any widget or image plug-in is used.
class CGuiApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "vantrel_gui_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

// Registered once for the whole program, however many files include this.
inline ::testing::Environment* const g_guiApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new CGuiApplicationEnvironment);
