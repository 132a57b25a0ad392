#pragma once

#include "hpgl/CLabelRenderer.h"
#include "hpgl/HpglInstructionList.h"
#include "hpgl/ImportReport.h"
#include "hpgl/WideDialectState.h"
#include "model/COnePage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class CSettings;
class Notifier;

// Results of CHpglFile::Load.
struct HpglLoadResult {
    enum : int32_t {
        Ok = 0,
        CannotOpen = 1,   // missing, not a regular file, or unreadable
        BadSize = -2,     // shorter than 10 or longer than 8 000 000 bytes
        SyntaxError = -3, // a number character after DF
        // A label needs a stroke font that could not be read. Positive like CannotOpen: the drawing is not at
        // fault, so a watched-directory intake keeps it.
        NoGlyphTable = 2,
        // Read without error but without a curve (the intake's verdict; Load never returns it). Positive: the
        // file is kept, set aside.
        NoDrawing = 3,
        // Its labels pass CLabelRenderer::kMaxLabelPoints, or paging it would pass the work limits of paging:
        // nothing of it is imported.
        TooLarge = -4,
    };
};

// Reads one HP-GL drawing (".plt") in two passes: Load turns the bytes into drawing instructions (strokes,
// page breaks, line types, pen selections; labels become strokes), BuildPages turns those into pages of curves
// classified by pen. A reader serves one file: construct, set `path`, Load, BuildPages.
//
// The dialect: IN DF PU PD PA PG FR LT SP LO SI DI DR LB DT. Mnemonics are two letters of either case; numbers
// are runs of "+-.0123456789" worth their longest decimal prefix; ESC outside a label skips itself and four
// bytes. Coordinates are plotter units of 1/40 mm, rounded half up from the file's numbers. With HpglDialect 1
// the reader takes the wider dialect of HpglWideDialect.cpp besides; any other value reads the design's.
class CHpglFile {
public:
    // Large enough that the system calls vanish beside the parsing, small enough to stay in the cache.
    static constexpr std::size_t kPieceSize = 256 * 1024;
    static constexpr int64_t kMinFileSize = 10;
    static constexpr int64_t kMaxFileSize = 8'000'000;

    std::string path;     // set by the caller before Load
    std::string fileName; // name part of the path, with extension
    int64_t fileTime = 0; // modification time, seconds since 1970 UTC
    HpglInstructionList instructions;

    int32_t penX = 0;
    int32_t penY = 0;
    bool penDown = false;
    uint8_t labelTerminator = 3; // ETX
    uint8_t terminatorMode = 1;  // 0: the terminator belongs to the label text, 1: it does not
    LabelStyle label;            // character size, direction and origin
    std::string labelText;
    // What the last Load met: instructions met and skipped, pens and the kinds they give, labels, glyphs
    // missing. AddToReport adds what the pages show.
    ImportReport report;

    // Reads the file at `path` in pieces of `pieceSize` bytes (the result does not depend on it). Returns an
    // HpglLoadResult; on any failure `instructions` is empty. The stroke fonts are loaded from the settings'
    // paths once the size is accepted; a font that cannot be read is reported through the notifier.
    int32_t Load(const CSettings& settings, Notifier& notifier, std::size_t pieceSize = kPieceSize);

    // Appends the pages drawn by `instructions` to `pages`: a page per page break that follows drawing, curves
    // split where the pen, the position or a page changes, kinds by pen (HCPenNumber gives half cuts, other pens
    // above 1 full cuts), states by AutoStartWork, and PltUnit 1 scaling the file's 0.0254 mm to 1/40 mm.
    void BuildPages(std::vector<std::unique_ptr<COnePage>>& pages, const CSettings& settings) const;
    // Adds the curves and the extent of `built`, the pages BuildPages gave, to the report; a curve whose points
    // all coincide is left out, as the import's clean-up drops it.
    void AddToReport(std::span<const std::unique_ptr<COnePage>> built);

private:
    enum class Mode : uint8_t {
        Between,    // between commands
        Numeric,    // numeric parameters
        NoParams,   // DF
        Label,      // LB text
        LabelEnd,   // after the terminator: does "LB" follow?
        Terminator, // DT
        // The wider dialect alone:
        Escape,  // an escape sequence or a PJL line
        Encoded, // PE data
        Quoted,  // a quoted string parameter
        Symbol,  // SM's symbol, any one character
    };

    static constexpr uint16_t Mnemonic(char a, char b)
    {
        return static_cast<uint16_t>(static_cast<uint8_t>(a) << 8 | static_cast<uint8_t>(b));
    }

    void Reset();
    // The command splitter (HpglCommandSplitter.cpp): takes the bytes in any pieces and executes each command
    // as it completes. Returns false once a syntax error stopped the read.
    bool Feed(const uint8_t* data, std::size_t size);
    void Consume(uint8_t b);
    void FinishInput();
    std::size_t ConsumeDigitsAndCommas(const uint8_t* data, std::size_t size);
    void StartMnemonic(uint8_t letter);
    void StartToken();
    void AddDigit(uint8_t digit);
    void TakeToken();
    void FinishLabel();
    void DrawLabelText(std::string_view text);
    // The execution table (HpglCommands.cpp), for the command just read.
    void ExecuteCommand();
    void ResetLabelDefaults();
    void Draw();
    void CountMnemonic();
    void FinishReport(int32_t halfCutPen);

    // The wider dialect (HpglWideDialect.cpp); each returns false for what the design's dialect does.
    bool StartWide();
    bool ConsumeWide(uint8_t b);
    bool ExecuteWide();
    void FinishWide();
    void ConsumeEscape(uint8_t b);
    void ConsumeEncoded(uint8_t b);
    void WideMoveTo(double x, double y);
    void WideLineTo(double x, double y);
    void WideArc(double cx, double cy, double sweep, bool drawn);
    void WideOutline(double ux1, double uy1);
    void WideMoves();

    CLabelRenderer renderer_;

    // Splitter state; survives between pieces.
    Mode mode_ = Mode::Between;
    uint8_t pendingLetter_ = 0; // first letter of a mnemonic, 0 for none
    uint16_t mnemonic_ = 0;     // the complete mnemonic, first letter in the high byte
    uint8_t step_ = 0;          // position inside LabelEnd ("L" seen) and Terminator (terminator, comma seen)
    uint32_t skip_ = 0;         // bytes still to skip after ESC
    bool syntaxError_ = false;
    bool inToken_ = false;
    bool signAllowed_ = false; // nothing of the token read yet
    bool prefixOpen_ = false;  // the token's decimal prefix may still grow
    bool prefixPoint_ = false; // the prefix holds its decimal point
    // Up to this many digits a prefix is an exact integer mantissa over an exact power of ten.
    static constexpr uint32_t kExactDigits = 15;
    uint64_t mantissa_ = 0;       // the prefix's digits while there are at most kExactDigits
    uint32_t digits_ = 0;         // digits in the prefix
    uint32_t fractionDigits_ = 0; // of which after the point
    std::string prefix_;          // the prefix spelled out, sign excluded, once it has more digits
    bool negative_ = false;
    std::vector<double> params_;

    int32_t dialect_ = 0;
    // How often each mnemonic was met, by (first letter - 'A') * 26 + (second letter - 'A').
    std::array<uint32_t, 26 * 26> counts_{};
    WideDialectState wide_;
};

} // namespace qv
