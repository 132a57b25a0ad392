#include "view/DialogScreenshot.h"

#include "app/AtomicFile.h"
#include "app/LittleEndian.h"
#include "app/MessageCatalog.h"

#include <limits>

namespace qv {

namespace {

constexpr uint32_t kHeadersSize = 14 + 40;

// 0xAARRGGBB to the 16-bit bitmap pixel: 0 RRRRR GGGGG BBBBB.
uint16_t ToRgb555(uint32_t argb)
{
    const uint32_t r = (argb >> 19) & 0x1F;
    const uint32_t g = (argb >> 11) & 0x1F;
    const uint32_t b = (argb >> 3) & 0x1F;
    return static_cast<uint16_t>(r << 10 | g << 5 | b);
}

} // namespace

std::string ScreenshotPath(std::string_view desktopDir, ScreenshotDialog dialog, const LocalTime& time,
                           int32_t language)
{
    const Msg name =
        dialog == ScreenshotDialog::MachineSettings ? Msg::ScreenshotNameMachine : Msg::ScreenshotNameAdvanced;
    std::string path(desktopDir);
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + FormatMessage(name, language, {time.year, time.month, time.day, time.hour, time.minute, time.second});
}

std::vector<uint8_t> ScreenshotBitmap(const ScreenPixels& image)
{
    if (image.width < 0 || image.height < 0 ||
        image.pixels.size() != static_cast<uint64_t>(image.width) * static_cast<uint64_t>(image.height))
        return {};
    const uint64_t rowBytes = (static_cast<uint64_t>(image.width) * 16 + 31) / 32 * 4;
    const uint64_t imageSize = rowBytes * static_cast<uint64_t>(image.height);
    if (imageSize + kHeadersSize > std::numeric_limits<uint32_t>::max())
        return {};

    std::vector<uint8_t> bmp(kHeadersSize + imageSize, 0);
    uint8_t* p = bmp.data();
    p[0] = 'B';
    p[1] = 'M';
    StoreLE(p + 2, static_cast<uint32_t>(bmp.size()));
    StoreLE(p + 10, kHeadersSize);
    StoreLE(p + 14, uint32_t{40});
    StoreLE(p + 18, image.width);
    StoreLE(p + 22, image.height);
    StoreLE(p + 26, uint16_t{1});
    StoreLE(p + 28, uint16_t{16});
    StoreLE(p + 34, static_cast<uint32_t>(imageSize));
    // Compression (30), resolution (38, 42) and palette counts (46, 50) stay zero.
    const std::size_t width = static_cast<std::size_t>(image.width);
    for (std::size_t row = 0; row < static_cast<std::size_t>(image.height); ++row) {
        const uint32_t* source = image.pixels.data() + (static_cast<std::size_t>(image.height) - 1 - row) * width;
        uint8_t* target = p + kHeadersSize + row * rowBytes;
        for (std::size_t x = 0; x < width; ++x)
            StoreLE(target + 2 * x, ToRgb555(source[x]));
    }
    return bmp;
}

DialogMessage SaveScreenshot(const std::string& path, const ScreenPixels& image, int32_t language)
{
    const std::vector<uint8_t> bmp = ScreenshotBitmap(image);
    const bool written =
        !bmp.empty() && WriteFileAtomically(path, {reinterpret_cast<const char*>(bmp.data()), bmp.size()});
    if (!written)
        return {std::string(MessageText(Msg::ScreenshotCreateFailed, language)), "", MsgButtons::Ok, MsgIcon::Error};
    return {FormatMessage(Msg::ScreenshotSaved, language, {path}), std::string(MessageText(Msg::CaptionNote, language)),
            MsgButtons::Ok, MsgIcon::Information};
}

} // namespace qv
