#include "gui/qt/tools/SimulatedSheetRun.h"

#include "gui/qt/LinkApp.h"
#include "gui/qt/QtMessageBoxes.h"
#include "gui/qt/Sheet.h"
#include "settings/CommandLine.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

void CPrintedMessages::ShowMessage(int id, const std::string& arg)
{
    std::fprintf(stderr, "message %d: %s\n", id, FormatLanguageMessage(id, arg).c_str());
    ++m_nShown;
}

void CPrintedMessages::ShowText(const std::string& text)
{
    std::fprintf(stderr, "message: %s\n", text.c_str());
    ++m_nShown;
}

bool CPrintedMessages::AskYesNo(int id, const std::string& arg)
{
    ShowMessage(id, arg);
    return false;
}

void Settle(int milliseconds)
{
    for (int i = 0; i < milliseconds / 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

int RunOnSimulatedSheet(int& argc, char** argv,
                        const std::function<int(CSheet& sheet, const CPrintedMessages& messages)>& work)
{
    // Fresh settings, unless a picture is to show stored ones: then
    // VANTREL_SHOT_CONFIG names the folder that holds them.
    QTemporaryDir config;
    const QByteArray shown = qgetenv("VANTREL_SHOT_CONFIG");
    qputenv("XDG_CONFIG_HOME", shown.isEmpty() ? config.path().toLocal8Bit() : shown);
    QApplication application(argc, argv);
    CPrintedMessages messages;
    SetUserMessages(&messages);
    CLinkApp app;
    int status = 1;
    {
        CSheet sheet;
        if (sheet.IsLanguageLoaded()) {
            CCommandLine commandLine;
            commandLine.bSimulate = true;
            CLinkApp::PrepareSheet(sheet, commandLine);
            sheet.Create();
            sheet.show();
            status = work(sheet, messages);
            sheet.DestroyWindow();
        }
    }
    SetUserMessages(nullptr);
    return status;
}
