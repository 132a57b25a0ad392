#include "app/MessageCatalog.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace qv {

namespace {

constexpr MessageEntry Both(Msg id, const char* zh, const char* en)
{
    return {id, zh, en};
}
constexpr MessageEntry Single(Msg id, const char* text)
{
    return {id, text, text};
}

// The single source of every operator-visible text. Texts are kept exactly as operators know them,
// terse or misspelt English included ("Out of memeory", "Com error"), because operators and service
// staff recognise faults by them. "Ours" marks English wording of our own
// for texts that come from the document framework's string table in Chinese.
constexpr MessageEntry kMessages[] = {
    // Start-up. These run before the language resources are chosen, so they have one text each.
    Single(Msg::SocketLibraryInitFailed, "Windows 通信端口初始化失败。"),
    Single(Msg::EnglishResourcesLoadFailed, "加载英文语言包失败!"),
    Single(Msg::ApplicationRunning, "Application running"),
    Both(Msg::InstanceLockFailed, "无法在 %1 中建立程序锁，程序没有启动", // ours
         "Cannot make the program's lock in %1; the program did not start"),

    // Stroke fonts.
    Single(Msg::FontHzOpenFailed, "Failed to open fon_hz.bin"),
    Single(Msg::FontEnOpenFailed, "Failed to open fon_en.bin"),

    // Task files.
    Both(Msg::OpenDocumentFailed, "打开文档失败。", "Failed to open the document."), // ours
    Both(Msg::SaveDocumentFailed, "保存文档失败。", "Failed to save the document."), // ours
    Both(Msg::ArchiveEndOfFile, "访问 %1 时尝试越过其结尾。",
         "An attempt was made to access %1 past its end."),                                         // ours
    Both(Msg::ArchiveBadIndex, "%1 格式错误。", "%1 has an invalid format."),                       // ours
    Both(Msg::ArchiveUnexpectedObject, "%1 包含意外的对象。", "%1 contains an unexpected object."), // ours
    Both(Msg::ArchiveBadSchema, "%1 包含错误的架构。", "%1 contains an incorrect schema."),         // ours
    Both(Msg::PltExportFailed, "无法创建文件 %1。", "Cannot create the file %1."),                  // ours

    // Task list cells.
    Both(Msg::PageStateManual, "手动开始", "Manual"),
    Both(Msg::PageStateAuto, "自动开始", "Auto"),
    Both(Msg::PageStateDone, "已完成", "Done"),
    Both(Msg::PageStatePrinting, "工作中...", "Printing"),
    Single(Msg::PageName, "%s---第%03d页"),

    // Field checks.
    Both(Msg::EnterNumber, "请输入一个数字。", "Please enter a number."),                      // ours
    Both(Msg::EnterPositiveInteger, "请输入一个正整数。", "Please enter a positive integer."), // ours
    Both(Msg::EnterInteger, "请输入一个整数。", "Please enter an integer."),                   // ours
    Both(Msg::EnterIntegerInRange, "请输入一个 %1 至 %2 之间的整数。",
         "Please enter an integer between %1 and %2."), // ours
    Both(Msg::EnterNumberInRange, "请输入一个 %1 至 %2 之间的数字。",
         "Please enter a number between %1 and %2."), // ours

    // File intake.
    Single(Msg::PltOpenFailed, "文件打开失败!"),
    Both(Msg::PltBadSize, "%1 太小或太大，无法读取（图纸文件为 %2 至 %3 字节）", // ours
         "%1 is too small or too large to read (a drawing file holds %2 to %3 bytes)"),
    Both(Msg::DataDirUnreadable, "无法读取数据目录%1，放入其中的文件不会被添加", // ours
         "Cannot read the data directory %1; files put there are not added"),
    Both(Msg::DataDirMissing, "数据目录 %1 不存在，现在使用 %2；设置中仍保留 %1", // ours
         "The data directory %1 does not exist; %2 is used for now, and the settings keep %1"),
    Both(Msg::NoDrawingIn, "%1 中没有图形（其中有：%2）", "no drawing in %1 (it held: %2)"),                 // ours
    Both(Msg::ReplaceTaskListQuestion, "任务列表中有 %1 页。打开 %2 会替换它们，它们将不再保留。要打开吗？", // ours
         "The task list holds %1 pages. Opening %2 replaces them, and they are not kept. Open it?"),
    Both(Msg::CannotSetAside, "无法把未读入的 %1 移入数据目录的 %2，它留在原处，改动之前不再读取", // ours
         "Cannot move %1, which was not read, into the data directory's %2; it stays where it is and is not read "
         "again until it changes"),
    Both(Msg::DrawingTooLarge, // ours
         "图纸 %1 太大：会超过 %2 页、%3 处分页切断、%4 个文字点或 %5 对相互嵌套的轮廓，或宽度、高度超过 %6 米，"
         "未导入任何内容。",
         "The drawing %1 is too large: it would make more than %2 pages, %3 page-cut crossings, %4 label "
         "points or %5 pairs of nested contours, or be wider or higher than %6 m; nothing of it was imported."),

    // Import report (ours).
    Both(Msg::ReportOnePage, "1 页", "1 page"),
    Both(Msg::ReportPages, "%d 页", "%d pages"),
    Both(Msg::ReportOneCurve, "1 条曲线", "1 curve"),
    Both(Msg::ReportCurves, "%d 条曲线", "%d curves"),
    Both(Msg::ReportLine, "%s：%s，%s，%.1f x %.1f mm，%d 个文字；读入 %s；跳过 %s",
         "%s: %s, %s, %.1f x %.1f mm, %d labels; met %s; skipped %s"),
    Both(Msg::ReportLineMissingGlyphs, "；缺字 %d 个", "; missing glyphs %d"),
    Both(Msg::ReportHead, "%s：%s，%s，%.1f x %.1f mm，线长 %.1f mm，指令集 %d",
         "%s: %s, %s, %.1f x %.1f mm, %.1f mm drawn, dialect %d"),
    Both(Msg::ReportMet, "读入的指令：%s", "met: %s"),
    Both(Msg::ReportSkipped, "跳过的指令：%s", "skipped: %s"),
    Both(Msg::ReportPens, "笔：%s", "pens: %s"),
    Both(Msg::ReportPen, "%d号→%s", "%d %s"),
    Both(Msg::ReportLabels, "文字：%d 个，缺字：%s", "labels: %d, missing glyphs: %s"),
    Both(Msg::ReportNone, "无", "none"),
    Both(Msg::ReportKindPenZero, "0号笔", "plot (pen 0)"),
    Both(Msg::ReportKindPlot, "喷墨", "plot"),
    Both(Msg::ReportKindHalfCut, "半刀", "half cut"),
    Both(Msg::ReportKindFullCut, "全刀", "full cut"),
    Both(Msg::ReportTitle, "导入报告", "Import report"),

    // Status line.
    Single(Msg::StatusInit, "Init..."),
    Both(Msg::StatusSeekOrigin, "正在寻找原点...", "Seek ZP..."),
    Both(Msg::StatusReady, "准备就绪 X%.1fmm Y%.1fmm", "READY X%.1fmm Y%.1fmm"),
    Both(Msg::StatusCleaning, "清洗喷头...", "Plot Test..."),
    Both(Msg::StatusProcessing, "处理中...", "Processing..."),
    Both(Msg::StatusWorking, "工作中...%d/%d", "Working...%d/%d"),
    Both(Msg::StatusPaused, "暂停中..", "Paused.."),
    Both(Msg::StatusMemoryError, "内存错误...", "MEM ERROR..."),
    Both(Msg::StatusStepperLostSteps, "电机丢步...", "Stepm Error..."),
    Both(Msg::StatusDisconnected, "已脱机...", "Disconnected..."),
    Both(Msg::StatusBarIdle, "就绪", "Ready"), // ours

    // Ethernet transport.
    Single(Msg::WinsockStartError, "Winsock start error!\n"),
    Single(Msg::WinsockCreateError, "Winsock create error!\n"),

    // Machine link.
    Both(Msg::FirmwareIncompatible, "输出中心版本与主板软件不兼容，请升级输出中心",
         "Not compatible with mainboard soft version"),
    Both(Msg::SaveParametersFailed, "保存参数失败!", "Failed To Save Parameter!"),
    Both(Msg::SetStartPointOk, "设置起点成功", "Set Start Point OK"),

    // Job output.
    Single(Msg::KnifeDataTooLarge, "切割数据缓冲失败,原因:数据太大"),
    Both(Msg::CommunicationFailed, "通讯失败", "Commu Error"),
    Both(Msg::StartCommandFailed, "发送命令失败,请重试", "Send Command failed,Please retry!"),
    Both(Msg::TooManyBands, "数据溢出，请改为双喷重试", "Out of memeory"),
    Both(Msg::PlotDataOverflow, "打印数据溢出", "Out of memeory"),
    // Our own wording: the job is refused before anything is sent when one band would not fit its buffers.
    Both(Msg::PlotBandTooLong, "喷墨图形Y向太长，超出喷墨数据缓冲区，请缩小图形或分开输出",
         "Plot too long in Y for the print buffer; make the drawing shorter or output it in parts"),
    Both(Msg::CutDataOverflow, "切割数据溢出，请尝试先输出喷墨数据，再输出切割数据，或将切割数据分部输出",
         "Out of memeory"),
    Both(Msg::BulkTransferFailed, "数据传输失败", "Com error"),
    Single(Msg::SegmentCommandFailed, "发送命令失败"),
    // Our own: a job the machine did not finish is never reported as done.
    Both(Msg::JobMachineFault, "机器报告“%1”，任务未完成", "The machine reported \"%1\"; the job did not finish"),
    Both(Msg::JobMachineRestarted, "机器已重新启动，任务未完成", "The machine restarted; the job did not finish"),

    // Working-area checks. The half-cut Y maximum check reports with the full-cut Chinese text;
    // its English text differs from the full-cut one.
    Both(Msg::PlotXOutOfSize, "X向喷墨超出幅面", "Plot X Out of Size"),
    Both(Msg::PlotYOutOfSize, "Y向喷墨超出幅面", "Plot Y Out of Size"),
    Both(Msg::FullCutXOutOfSize, "X向全刀切割超出幅面", "FC X Out of Size"),
    Both(Msg::FullCutYOutOfSize, "Y向全刀切割超出幅面", "FC Y Out of Size"),
    Both(Msg::HalfCutYMinOutOfSize, "Y向半刀切割时可能撞边(原点侧)，请重设起点 或 重设参数设置里的“Y边距”",
         "HC Ymin Out of Size"),
    Both(Msg::HalfCutXMaxOutOfSize, "X向半刀切割超出幅面", "HC XMax Out of Size"),
    Both(Msg::HalfCutYMaxOutOfSize, "Y向全刀切割超出幅面", "FC YMax Out of Size"),

    // Main window. The language-switch notices and the close question are shown as they are
    // whatever the language.
    Single(Msg::SplitterCreateFailed, "Error setting up m_mainSplitter"),
    Single(Msg::SplitterViewCreateFailed, "Error setting up splitter view"),
    Single(Msg::CaptionError, "ERROR"),
    Both(Msg::OfflineShowDefaults, "已脱机,将显示默认参数.", "Offline, Display default parameters."),
    Both(Msg::AdvancedParamsNotReady, "未准备就绪，不能设置高级参数", "Not Ready"),
    Both(Msg::PasswordError, "密码错误", "Password error"),
    Single(Msg::LanguageChangedToChinese, "语言设置改变，重启程序生效"),
    Single(Msg::LanguageChangedToEnglish, "You have changed the language settings,the application will be closed."),
    Single(Msg::CloseWhileRunningQuestion, "机器正在运行,强行关闭可能造成死机!\n是否继续?"),
    Single(Msg::CaptionPrompt, "提示"),

    // Control panel.
    Single(Msg::CancelTaskQuestion, "是否取消？"),
    Single(Msg::CaptionAttention, "注意"),

    // Machine settings dialogs. The screenshot names are file names only; the caller joins them to
    // the desktop folder.
    Both(Msg::OfflineCannotSave, "脱机状态无法保存参数", "Offline!"),
    Single(Msg::ScreenshotCreateFailed, "Create File Error!"),
    Both(Msg::ScreenshotSaved, "截图成功保存到%s", "Capture save to %s"),
    Single(Msg::CaptionNote, "Note"),
    Both(Msg::ScreenshotNameMachine, "参数%d年%02d月%02d日%02d时%02d分%02d秒.jpg",
         "Para%04d-%02d-%02d %02dh%02dm%02ds.jpg"),
    Both(Msg::ScreenshotNameAdvanced, "高级参数%d年%02d月%02d日%02d时%02d分%02d秒.jpg",
         "Advanced Para%04d-%02d-%02d %02dh%02dm%02ds.jpg"),

    // Software settings dialog. The folder browser's title is the same in every language.
    Single(Msg::DataDirBrowseTitle, "Select plt dir"),
    Single(Msg::DataDirInvalid, "非法的临时文件目录"),
    Single(Msg::DataDirNotEmptyQuestion,
           "当前设置的目录非空，\n如果设置成自动绘图目录，\n当前目录下的文件将被删除。\n是否继续？"),
    Single(Msg::CaptionWarning, "警告！！！"),
};

constexpr bool TableInEnumOrder()
{
    for (std::size_t i = 0; i < std::size(kMessages); ++i) {
        if (static_cast<std::size_t>(kMessages[i].id) != i) {
            return false;
        }
    }
    return true;
}

static_assert(std::size(kMessages) == static_cast<std::size_t>(Msg::Count),
              "every Msg needs exactly one row in kMessages");
static_assert(TableInEnumOrder(), "kMessages rows must follow the order of Msg");

// Integer, shortest round-trip decimal, or fixed notation with the given number of decimals.
enum class NumberStyle { Integer, Shortest, Fixed };

std::string FormatDouble(double v, NumberStyle style, int precision)
{
    char buffer[400]; // fixed notation of the largest double needs 309 digits plus decimals
    std::to_chars_result r = style == NumberStyle::Fixed
                                 ? std::to_chars(buffer, std::end(buffer), v, std::chars_format::fixed, precision)
                                 : std::to_chars(buffer, std::end(buffer), v);
    if (r.ec != std::errc()) {
        return "?";
    }
    return std::string(buffer, r.ptr);
}

std::string FormatInteger(int64_t v)
{
    char buffer[24];
    return std::string(buffer, std::to_chars(buffer, std::end(buffer), v).ptr);
}

// Renders an argument for a conversion. A number of the other kind is converted (an integer for
// %.1f, a decimal for %d); a text argument is inserted as it is whatever the conversion.
std::string Render(const MessageArg& arg, NumberStyle style, int precision)
{
    const auto& value = arg.Value();
    if (const auto* text = std::get_if<std::string_view>(&value)) {
        return std::string(*text);
    }
    if (const auto* i = std::get_if<int64_t>(&value)) {
        return style == NumberStyle::Fixed ? FormatDouble(static_cast<double>(*i), style, precision)
                                           : FormatInteger(*i);
    }
    const double d = std::get<double>(value);
    if (style == NumberStyle::Integer) {
        // %d of a decimal truncates toward zero; values beyond int64 cannot be meant.
        return std::isfinite(d) && std::fabs(d) < 9.2e18 ? FormatInteger(static_cast<int64_t>(d)) : "?";
    }
    return FormatDouble(d, style, precision);
}

// Zero padding goes after the sign, as with printf's 0 flag.
void AppendZeroPadded(std::string& out, const std::string& number, std::size_t width)
{
    if (number.size() >= width) {
        out += number;
        return;
    }
    const bool negative = !number.empty() && number.front() == '-';
    if (negative) {
        out += '-';
    }
    out.append(width - number.size(), '0');
    out.append(number, negative ? 1 : 0);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string Substitute(std::string_view text, std::initializer_list<MessageArg> args)
{
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t nextSequential = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '%' || i + 1 == text.size()) {
            out += c;
            ++i;
            continue;
        }
        const char next = text[i + 1];
        if (next == '%') {
            out += '%';
            i += 2;
            continue;
        }
        if (next >= '1' && next <= '9') {
            const std::size_t n = static_cast<std::size_t>(next - '1');
            if (n < args.size()) {
                out += Render(args.begin()[n], NumberStyle::Shortest, 0);
            } else {
                out.append(text, i, 2);
            }
            i += 2;
            continue;
        }

        // printf-style: [0 width][.precision] conversion. Widths always carry the 0 flag here,
        // so "%1" can never be mistaken for a width.
        std::size_t j = i + 1;
        std::size_t width = 0;
        if (text[j] == '0') {
            for (++j; j < text.size() && IsDigit(text[j]); ++j) {
                width = width * 10 + static_cast<std::size_t>(text[j] - '0');
            }
        }
        int precision = 6;
        if (j < text.size() && text[j] == '.') {
            precision = 0;
            for (++j; j < text.size() && IsDigit(text[j]); ++j) {
                precision = precision * 10 + (text[j] - '0');
            }
        }
        const char conversion = j < text.size() ? text[j] : '\0';
        const bool known = conversion == 'd' || conversion == 's' || conversion == 'f';
        if (!known || nextSequential >= args.size()) {
            const std::size_t end = known ? j + 1 : j;
            out.append(text, i, end - i);
            i = end;
            continue;
        }
        const MessageArg& arg = args.begin()[nextSequential++];
        if (conversion == 's' || std::holds_alternative<std::string_view>(arg.Value())) {
            out += Render(arg, NumberStyle::Shortest, 0);
        } else {
            const NumberStyle style = conversion == 'd' ? NumberStyle::Integer : NumberStyle::Fixed;
            AppendZeroPadded(out, Render(arg, style, precision), width);
        }
        i = j + 1;
    }
    return out;
}

} // namespace

const MessageEntry& MessageEntryOf(Msg id)
{
    const auto index = static_cast<std::size_t>(id);
    if (index >= std::size(kMessages)) {
        throw std::out_of_range("message id outside the catalogue");
    }
    return kMessages[index];
}

std::string_view MessageText(Msg id, int32_t language)
{
    const MessageEntry& entry = MessageEntryOf(id);
    return language == 0 ? entry.zh : entry.en;
}

std::string FormatMessage(Msg id, int32_t language, std::initializer_list<MessageArg> args)
{
    return Substitute(MessageText(id, language), args);
}

std::span<const MessageEntry> AllMessages()
{
    return kMessages;
}

} // namespace qv
