#include "screen/MonoPictureWriter.h"

#include "screen/MonoImageFile.h"
#include "screen/PictureTexts.h"
#include "screen/ScreenImage.h"
#include "transfer/ReplacingFile.h"

std::vector<std::string> CMonoPictureWriter::GetFormats() const
{
    return {"bmp", "png", "pbm"};
}

bool CMonoPictureWriter::WritePicture(const std::vector<uint8_t>& bits, unsigned zoom, const std::string& path,
                                      const std::string& format, std::string& reason)
{
    const MonoImageFormat kind = MonoImageFormatFromPath("." + format);
    if (zoom == 0 || bits.size() != SCREEN_BYTES * zoom * zoom || kind == MonoImageFormat::None) {
        reason = NoPictureText();
        return false;
    }
    const int z = static_cast<int>(zoom);
    const MonoPicture picture{SCREEN_WIDTH * z, SCREEN_HEIGHT * z, bits.data(),
                              static_cast<size_t>(SCREEN_ROW_BYTES) * zoom};
    // Written beside the target and moved over it once complete.
    CReplacingFile file;
    return file.Create(path, reason) && file.Commit(EncodeMonoImage(picture, kind), reason);
}
