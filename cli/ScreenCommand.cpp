#include "cli/CliContext.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleMessages.h"
#include "cli/ExitStatus.h"
#include "link/LinkProgress.h"
#include "screen/MonoImageFile.h"
#include "screen/PictureBits.h"
#include "screen/ScreenCapture.h"
#include "text/StringIds.h"
#include "transfer/ReplacingFile.h"

#include <array>
#include <ostream>

int RunScreenCommand(CCliContext& context)
{
    const std::string& path = context.options.files.front();
    const MonoImageFormat format = MonoImageFormatFromPath(path);
    if (format == MonoImageFormat::None) {
        context.err << "vantrel92-cli: " << path << " does not end in the extension of an image format ("
                    << MonoImageExtensions() << ") (see vantrel92-cli --help)\n";
        return EXIT_STATUS_USAGE;
    }
    if (!MayReplaceFile(context, path)) {
        context.err << "vantrel92-cli: nothing was changed\n";
        return EXIT_STATUS_DECLINED;
    }

    // The screen starts all light, as on the screen page before any capture.
    std::array<uint8_t, SCREEN_BYTES> screen;
    screen.fill(0xFF);
    if (!ReceiveScreen(context.link, screen)) {
        context.messages.ShowMessage(ExchangeFailureMessage(context.link, IDS_CAPTURE_FAILED));
        return EXIT_STATUS_LINK;
    }

    std::vector<uint8_t> bits;
    if (!BuildPictureBits(screen, context.options.zoom, bits)) {
        context.messages.ShowMessage(IDS_OUT_OF_MEMORY);
        return EXIT_STATUS_FILE;
    }
    const int zoom = static_cast<int>(context.options.zoom);
    const MonoPicture picture{SCREEN_WIDTH * zoom, SCREEN_HEIGHT * zoom, bits.data(),
                              static_cast<size_t>(SCREEN_ROW_BYTES * zoom)};
    // Written beside the target and moved over it once complete, so a
    // failed save leaves an existing picture as it was.
    CReplacingFile file;
    std::string reason;
    if (!file.Create(path, reason) || !file.Commit(EncodeMonoImage(picture, format), reason)) {
        // The reason names the file already.
        context.err << "vantrel92-cli: the screen was not saved: " << reason << '\n';
        return EXIT_STATUS_FILE;
    }
    context.messages.ShowMessage(IDS_SCREEN_SAVED, path);
    context.out << path << '\n';
    return EXIT_STATUS_OK;
}
