#pragma once

#include "gui/qt/LinkApp.h"
#include "gui/qt/Sheet.h"
#include "settings/CommandLine.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <functional>
#include <vector>

// A sheet readied as the program readies it, on the simulated calculator
// unless the test wires its own backend first.
inline void PrepareSimulated(CSheet& sheet)
{
    CCommandLine commandLine;
    commandLine.bSimulate = true;
    CLinkApp::PrepareSheet(sheet, commandLine);
}

// Creates the window and shows it, as the modal run would, without a loop.
inline void Open(CSheet& sheet)
{
    sheet.Create();
    sheet.show();
    QApplication::processEvents();
}

inline void ShowPage(CSheet& sheet, QWidget* page)
{
    sheet.GetTabControl()->setCurrentWidget(page);
    QApplication::processEvents();
}

// The push buttons of the sheet itself, not those of its pages.
inline std::vector<QPushButton*> SheetButtons(const CSheet& sheet)
{
    std::vector<QPushButton*> buttons;
    for (QPushButton* button : sheet.findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
        buttons.push_back(button);
    return buttons;
}

// Runs `action` on the next modal window once a modal loop is running.
inline void OnNextModal(std::function<void(QWidget*)> action, int delayMs = 0)
{
    QTimer::singleShot(delayMs, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        action(modal);
    });
}
