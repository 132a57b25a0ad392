#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace qv {

// Every text the system shows to the operator: message boxes, their captions, the status line and the
// task list cells. Each is chosen by the Language option at the moment it is shown.
//
// To add an entry: add its name to Msg in the right group (before Count), add the matching row at the
// same position of the table in MessageCatalog.cpp (Both() for a Chinese/English pair, Single() for a
// text that is shown as it is in every language), and keep the texts exactly as the operator must see
// them. The compiler refuses a table whose order or length differs from the enum.
enum class Msg : uint16_t {
    // Start-up of the application.
    SocketLibraryInitFailed,
    EnglishResourcesLoadFailed,
    ApplicationRunning,
    InstanceLockFailed, // ours: the directory of the lock

    // Stroke fonts for HP-GL labels.
    FontHzOpenFailed,
    FontEnOpenFailed,

    // Task files: the document framework's messages; %1 is the file name.
    OpenDocumentFailed,
    SaveDocumentFailed,
    ArchiveEndOfFile,
    ArchiveBadIndex,
    ArchiveUnexpectedObject,
    ArchiveBadSchema,
    PltExportFailed, // the export of the task list to HP-GL; %1 is the file name

    // Task list cells.
    PageStateManual,
    PageStateAuto,
    PageStateDone,
    PageStatePrinting,
    PageName, // source file name and page number

    // Field checks of the dialogs; %1 and %2 are the bounds.
    EnterNumber,
    EnterPositiveInteger,
    EnterInteger,
    EnterIntegerInRange,
    EnterNumberInRange,

    // File intake.
    PltOpenFailed,
    PltBadSize,              // a file name, the least and the most bytes of a drawing
    DataDirUnreadable,       // our own: %1 is the directory
    DataDirMissing,          // our own: %1 the configured directory, %2 the one used meanwhile
    NoDrawingIn,             // our own: %1 is the file, %2 the instructions it held
    ReplaceTaskListQuestion, // the pages in the list, the task file to open
    CannotSetAside,          // a file name, the folder it could not be moved into
    DrawingTooLarge, // our own: %1 the file name, %2 to %6 the limits of pages, cut crossings, label points, nesting pairs and span (m)

    // The import report of a drawing (our own), in the window's status bar and report dialog and the command
    // line's import; conversions in order.
    ReportOnePage,
    ReportPages, // page count
    ReportOneCurve,
    ReportCurves,            // curve count
    ReportLine,              // file, pages, curves, width and height in mm, labels, instructions met, skipped
    ReportLineMissingGlyphs, // after ReportLine: how many codes the fonts lack
    ReportHead,              // file, pages, curves, width and height in mm, drawn length in mm, dialect
    ReportMet,               // the instructions read, with counts
    ReportSkipped,           // the instructions ignored, with counts
    ReportPens,              // pen numbers with the kind each became
    ReportPen,               // one pen: its number, its kind
    ReportLabels,            // labels drawn, the codes the fonts lack
    ReportNone,              // an empty list
    ReportKindPenZero,
    ReportKindPlot,
    ReportKindHalfCut,
    ReportKindFullCut,
    ReportTitle, // the report dialog's caption

    // Machine status line and the main window's status bar.
    StatusInit,
    StatusSeekOrigin,
    StatusReady, // head position X, Y in mm
    StatusCleaning,
    StatusProcessing,
    StatusWorking, // segments done, segment count
    StatusPaused,
    StatusMemoryError,
    StatusStepperLostSteps,
    StatusDisconnected,
    StatusBarIdle,

    // Ethernet transport.
    WinsockStartError,
    WinsockCreateError,

    // Handshake and manual commands of the machine link.
    FirmwareIncompatible,
    SaveParametersFailed,
    SetStartPointOk,

    // Job output.
    KnifeDataTooLarge,
    CommunicationFailed,
    StartCommandFailed,
    TooManyBands,
    PlotDataOverflow,
    PlotBandTooLong, // our own: a band longer than the band buffers hold
    CutDataOverflow,
    BulkTransferFailed,
    SegmentCommandFailed,
    JobMachineFault,     // our own: the machine left the job with an error status; %1 is its status text
    JobMachineRestarted, // our own: the machine came back from a restart while a job was under way

    // Working-area checks of a job.
    PlotXOutOfSize,
    PlotYOutOfSize,
    FullCutXOutOfSize,
    FullCutYOutOfSize,
    HalfCutYMinOutOfSize,
    HalfCutXMaxOutOfSize,
    HalfCutYMaxOutOfSize,

    // Main window.
    SplitterCreateFailed,
    SplitterViewCreateFailed,
    CaptionError,
    OfflineShowDefaults,
    AdvancedParamsNotReady,
    PasswordError,
    LanguageChangedToChinese,
    LanguageChangedToEnglish,
    CloseWhileRunningQuestion,
    CaptionPrompt,

    // Control panel.
    CancelTaskQuestion,
    CaptionAttention,

    // Machine settings dialogs and their screenshots.
    OfflineCannotSave,
    ScreenshotCreateFailed,
    ScreenshotSaved, // full path of the file
    CaptionNote,
    ScreenshotNameMachine,  // local year, month, day, hour, minute, second
    ScreenshotNameAdvanced, // same

    // Software settings dialog: the data directory.
    DataDirBrowseTitle,
    DataDirInvalid,
    DataDirNotEmptyQuestion,
    CaptionWarning,

    Count // number of entries; not a message
};

struct MessageEntry {
    Msg id;
    const char* zh; // UTF-8
    const char* en; // UTF-8; the same pointer as zh for a single-language entry

    constexpr bool IsSingleLanguage() const { return zh == en; }
};

// One argument of FormatMessage: an integer, a decimal number or a text.
class MessageArg {
public:
    template <typename T>
    requires std::is_integral_v<T> MessageArg(T v) : value_(static_cast<int64_t>(v)) {}
    template <typename T>
    requires std::is_floating_point_v<T> MessageArg(T v) : value_(static_cast<double>(v)) {}
    MessageArg(std::string_view v) : value_(v) {}
    MessageArg(const char* v) : value_(std::string_view(v)) {}
    MessageArg(const std::string& v) : value_(std::string_view(v)) {}

    const std::variant<int64_t, double, std::string_view>& Value() const { return value_; }

private:
    // A text argument refers to the caller's string, which outlives the FormatMessage call.
    std::variant<int64_t, double, std::string_view> value_;
};

// Throws std::out_of_range for a value outside the catalogue (Msg::Count or a bad cast).
const MessageEntry& MessageEntryOf(Msg id);

// Language 0 gives the Chinese text, any other value the English one.
std::string_view MessageText(Msg id, int32_t language);

// The text with its placeholders filled from args:
// - %1 .. %9 take the argument of that number (1-based);
// - the printf-style conversions %d, %0Nd, %s and %.Nf take the arguments in order;
// - %% is a percent sign. A placeholder without an argument, or one not listed here, stays as it is.
// Texts are never handed to printf, so a file name full of percent signs is harmless.
std::string FormatMessage(Msg id, int32_t language, std::initializer_list<MessageArg> args);

// The whole table, in enum order, for tests and tools.
std::span<const MessageEntry> AllMessages();

} // namespace qv
