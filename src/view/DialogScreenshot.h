#pragma once

#include "view/DialogMessage.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// "截图保存" of the two parameter dialogs: a picture of the dialog on the desktop. The widget waits
// kScreenshotDelay (so the pressed button is drawn again), grabs the dialog's screen rectangle, and hands the
// pixels over with the desktop folder and the local time.
inline constexpr std::chrono::milliseconds kScreenshotDelay{500};

enum class ScreenshotDialog : uint8_t { MachineSettings, AdvancedParams };

struct LocalTime {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The grabbed rectangle: rows from the top, each pixel 0xAARRGGBB (alpha ignored), width * height of them.
struct ScreenPixels {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
};

// The file's path: the desktop folder and the dialog's name for the time, e.g. "Para2025-02-03 09h05m07s.jpg".
std::string ScreenshotPath(std::string_view desktopDir, ScreenshotDialog dialog, const LocalTime& time,
                           int32_t language);

// The picture as an uncompressed bitmap, whatever its name says: a 14-byte file header ("BM", file size, two
// reserved zeros, pixel offset 54), a 40-byte information header (width, height, one plane, 16 bits per pixel
// as 5-5-5 RGB, no compression, image size height * ((width * 16 + 31) / 32) * 4), then the rows from the
// bottom, each padded to four bytes. Empty when the pixels do not match the size or the file would exceed
// what its 32-bit sizes can say.
std::vector<uint8_t> ScreenshotBitmap(const ScreenPixels& image);

// Writes the bitmap to `path` so that a failure leaves what was there (never replacing anything but a regular
// file), and returns what to tell the operator: "Capture save to " and the path, titled "Note", or
// "Create File Error!".
DialogMessage SaveScreenshot(const std::string& path, const ScreenPixels& image, int32_t language);

} // namespace qv
