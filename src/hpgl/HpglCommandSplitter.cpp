// The command splitter of the HP-GL reader: a byte-at-a-time state machine, so a number, a label terminator
// check or an ESC skip may straddle the pieces the file is read in.

#include "hpgl/CHpglFile.h"

#include <charconv>
#include <limits>

namespace qv {

namespace {

constexpr uint8_t kEsc = 27;

bool IsLetter(uint8_t b)
{
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

uint8_t Upper(uint8_t b)
{
    return b >= 'a' ? static_cast<uint8_t>(b - ('a' - 'A')) : b;
}

bool IsDigit(uint8_t b)
{
    return b >= '0' && b <= '9';
}

bool IsNumberChar(uint8_t b)
{
    return IsDigit(b) || b == '+' || b == '-' || b == '.';
}

} // namespace

void CHpglFile::StartMnemonic(uint8_t letter)
{
    if (pendingLetter_ == 0) {
        pendingLetter_ = Upper(letter);
        return;
    }
    mnemonic_ = static_cast<uint16_t>(pendingLetter_ << 8 | Upper(letter));
    pendingLetter_ = 0;
    step_ = 0;
    CountMnemonic();
    if (dialect_ == 1 && StartWide())
        return;
    switch (mnemonic_) {
    case Mnemonic('D', 'F'):
        mode_ = Mode::NoParams;
        break;
    case Mnemonic('L', 'B'):
        mode_ = Mode::Label;
        labelText.clear();
        break;
    case Mnemonic('D', 'T'):
        mode_ = Mode::Terminator;
        break;
    default:
        mode_ = Mode::Numeric;
        params_.clear();
        inToken_ = false;
        break;
    }
}

// The first kExactDigits digits live in the mantissa alone; a longer prefix is spelled out from there on and
// read by the general conversion.
void CHpglFile::AddDigit(uint8_t digit)
{
    if (digits_ == kExactDigits) {
        char text[kExactDigits];
        uint64_t m = mantissa_;
        for (std::size_t k = kExactDigits; k-- > 0; m /= 10)
            text[k] = static_cast<char>('0' + m % 10);
        prefix_.assign(text, kExactDigits);
        if (prefixPoint_)
            prefix_.insert(kExactDigits - fractionDigits_, 1, '.');
    }
    if (digits_ >= kExactDigits)
        prefix_.push_back(static_cast<char>(digit));
    else
        mantissa_ = mantissa_ * 10 + (digit - '0');
    ++digits_;
    if (prefixPoint_)
        ++fractionDigits_;
}

// A token is worth its longest prefix of the form [sign] digits [. digits] with at least one digit, else 0.
// Beyond the range of a double it is infinite, below it 0, as the C library reads such numbers.
void CHpglFile::TakeToken()
{
    static constexpr double kPow10[kExactDigits + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    inToken_ = false;
    double value = 0;
    if (digits_ <= kExactDigits && fractionDigits_ == 0) {
        value = static_cast<double>(mantissa_);
    } else if (digits_ <= kExactDigits) {
        // Both operands are exact doubles, so the quotient is the correctly rounded value of the prefix.
        value = static_cast<double>(mantissa_) / kPow10[fractionDigits_];
    } else {
        const auto [end, ec] =
            std::from_chars(prefix_.data(), prefix_.data() + prefix_.size(), value, std::chars_format::fixed);
        if (ec == std::errc::result_out_of_range) {
            const auto significant = prefix_.find_first_not_of("0.");
            value = significant < prefix_.find('.') ? std::numeric_limits<double>::infinity() : 0;
        }
    }
    params_.push_back(negative_ ? -value : value);
}

void CHpglFile::FinishLabel()
{
    if (terminatorMode == 0)
        labelText.push_back(static_cast<char>(labelTerminator));
    mode_ = Mode::Between;
    ExecuteCommand();
}

void CHpglFile::StartToken()
{
    inToken_ = true;
    signAllowed_ = true;
    prefixOpen_ = true;
    prefixPoint_ = false;
    negative_ = false;
    mantissa_ = 0;
    digits_ = 0;
    fractionDigits_ = 0;
}

// Most bytes of a drawing are coordinates: runs of digits and the commas between them. They are taken here a
// run at a time, with the same effect as Consume byte by byte; anything else is left to Consume.
std::size_t CHpglFile::ConsumeDigitsAndCommas(const uint8_t* data, std::size_t size)
{
    std::size_t i = 0;
    while (i < size) {
        if (data[i] == ',') {
            if (inToken_)
                TakeToken();
            ++i;
            continue;
        }
        if (!IsDigit(data[i]))
            break;
        if (!inToken_)
            StartToken();
        if (!prefixOpen_ || digits_ >= kExactDigits)
            break;
        uint64_t mantissa = mantissa_;
        uint32_t digits = digits_;
        for (; i < size && IsDigit(data[i]) && digits < kExactDigits; ++i, ++digits)
            mantissa = mantissa * 10 + static_cast<uint64_t>(data[i] - '0');
        if (prefixPoint_)
            fractionDigits_ += digits - digits_;
        mantissa_ = mantissa;
        digits_ = digits;
        signAllowed_ = false;
    }
    return i;
}

bool CHpglFile::Feed(const uint8_t* data, std::size_t size)
{
    for (std::size_t i = 0; i < size && !syntaxError_;) {
        if (skip_ > 0) {
            --skip_;
            ++i;
            continue;
        }
        if (mode_ == Mode::Numeric) {
            const std::size_t taken = ConsumeDigitsAndCommas(data + i, size - i);
            i += taken;
            if (taken > 0)
                continue;
        }
        Consume(data[i++]);
    }
    return !syntaxError_;
}

void CHpglFile::Consume(uint8_t b)
{
    if (dialect_ == 1 && ConsumeWide(b))
        return;
    switch (mode_) {
    case Mode::Between:
        if (IsLetter(b))
            StartMnemonic(b);
        else if (pendingLetter_ != 0)
            pendingLetter_ = 0;
        else if (b == kEsc)
            skip_ = 4;
        break;

    case Mode::Numeric:
        if (IsNumberChar(b)) {
            // In the wider dialect a sign inside a number starts the next one: "PD400-400" is two numbers.
            if (dialect_ == 1 && inToken_ && digits_ > 0 && (b == '+' || b == '-'))
                TakeToken();
            if (!inToken_)
                StartToken();
            if (prefixOpen_) {
                if (IsDigit(b)) {
                    AddDigit(b);
                } else if (b == '.' && !prefixPoint_) {
                    prefixPoint_ = true;
                    if (digits_ > kExactDigits)
                        prefix_.push_back('.');
                } else if (b != '.' && signAllowed_) {
                    negative_ = b == '-';
                } else {
                    prefixOpen_ = false;
                }
            }
            signAllowed_ = false;
            break;
        }
        if (inToken_)
            TakeToken();
        if (b == ';' || IsLetter(b) || b == kEsc) {
            mode_ = Mode::Between;
            ExecuteCommand();
            if (IsLetter(b))
                StartMnemonic(b);
            else if (b == kEsc)
                skip_ = 4;
        }
        break;

    case Mode::NoParams:
        if (b == ';' || IsLetter(b)) {
            mode_ = Mode::Between;
            ExecuteCommand();
            if (IsLetter(b))
                StartMnemonic(b);
        } else if (IsNumberChar(b)) {
            syntaxError_ = true;
        }
        break;

    case Mode::Label:
        if (b == labelTerminator) {
            mode_ = Mode::LabelEnd;
            step_ = 0;
        } else {
            labelText.push_back(static_cast<char>(b));
        }
        break;

    case Mode::LabelEnd:
        // Consecutive labels join: terminator, "LB", more text.
        if (mnemonic_ == Mnemonic('L', 'B') && step_ == 0 && b == 'L') {
            step_ = 1;
        } else if (step_ == 1 && b == 'B') {
            mode_ = Mode::Label;
        } else {
            const bool sawL = step_ == 1;
            FinishLabel();
            if (sawL)
                StartMnemonic('L');
            Consume(b); // the byte starts what follows
        }
        break;

    case Mode::Terminator:
        if (step_ == 0) {
            if (b == ';') {
                labelTerminator = 3;
                terminatorMode = 1;
                mode_ = Mode::Between;
            } else if (b == 0 || b == 5 || b == kEsc) {
                mode_ = Mode::Between;
            } else {
                labelTerminator = b;
                step_ = 1;
            }
        } else if (step_ == 1 && b == ',') {
            step_ = 2;
        } else if (step_ == 2 && (b == '0' || b == '1')) {
            terminatorMode = static_cast<uint8_t>(b - '0');
            mode_ = Mode::Between;
        } else {
            terminatorMode = 1;
            mode_ = Mode::Between;
            Consume(b); // the byte starts what follows
        }
        break;

    case Mode::Escape:
    case Mode::Encoded:
    case Mode::Quoted:
    case Mode::Symbol:
        break; // taken by the wider dialect
    }
}

// A command whose mnemonic is complete runs with what it has; an open number is dropped.
void CHpglFile::FinishInput()
{
    switch (mode_) {
    case Mode::Between:
    case Mode::Terminator:
        break;
    case Mode::Numeric:
    case Mode::NoParams:
    case Mode::Label:
        mode_ = Mode::Between;
        ExecuteCommand();
        break;
    case Mode::LabelEnd:
        FinishLabel();
        break;
    case Mode::Escape:
    case Mode::Quoted:
    case Mode::Symbol:
        mode_ = Mode::Between;
        break;
    case Mode::Encoded:
        FinishWide();
        break;
    }
}

} // namespace qv
