#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
#include "cli/ProgressMeter.h"
#include "screen/ImageExport.h"
#include "screen/PictureBits.h"
#include "screen/ScreenCapture.h"
#include "screen/ScreenPicture.h"
#include "shell/StringIds.h"

#include <QFile>
#include <QImageWriter>

#include <array>
#include <ostream>

namespace {

std::string KnownImageExtensions()
{
    std::string names;
    for (const QByteArray& format : QImageWriter::supportedImageFormats())
        names += (names.empty() ? "" : ", ") + format.toStdString();
    return names;
}

} // namespace

int RunScreenCommand(CCliContext& context)
{
    const std::string& path = context.options.files.front();
    const QString qPath = QFile::decodeName(path.c_str());
    if (FindImageFormat(qPath).isEmpty()) {
        context.err << "vantrel92-cli: " << path << " does not end in the extension of an image format ("
                    << KnownImageExtensions() << ") (see vantrel92-cli --help)\n";
        return EXIT_STATUS_USAGE;
    }
    if (!MayReplaceFile(context, path))
        return EXIT_STATUS_FILE;

    // The screen starts all light, as on the screen page before any capture.
    std::array<uint8_t, SCREEN_BYTES> screen;
    screen.fill(0xFF);
    context.meter.Begin("capturing the screen", SCREEN_BYTES);
    const bool captured = ReceiveScreen(context.link, screen);
    context.meter.End();
    if (!captured) {
        context.messages.ShowMessage(IDS_CAPTURE_FAILED);
        return EXIT_STATUS_LINK;
    }

    std::vector<uint8_t> bits;
    if (!BuildPictureBits(screen, context.options.zoom, bits)) {
        context.messages.ShowMessage(IDS_OUT_OF_MEMORY);
        return EXIT_STATUS_FILE;
    }
    QString reason;
    if (!SaveImageAs(MakeScreenPicture(bits, context.options.zoom), qPath, reason)) {
        context.err << "vantrel92-cli: cannot save " << path << ": " << reason.toStdString() << '\n';
        return EXIT_STATUS_FILE;
    }
    context.out << path << '\n';
    return EXIT_STATUS_OK;
}
