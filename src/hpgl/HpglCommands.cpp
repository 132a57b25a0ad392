// The execution table of the HP-GL reader: what each command does with its parameters.

#include "hpgl/CHpglFile.h"

#include "model/Angles.h"
#include "model/Rounding.h"

#include <cmath>

namespace qv {

namespace {

constexpr double kDegreesPerRadian = 180 / kPi;

// A number of the file as a coordinate or an integer parameter: half up, absurd magnitudes read as 1, and
// anything else beyond int32 held at the limit.
int32_t R(double v)
{
    return std::fabs(v) > 5e75 ? 1 : RoundToInt32(v);
}

} // namespace

void CHpglFile::ResetLabelDefaults()
{
    label = LabelStyle{};
    labelTerminator = 3;
    terminatorMode = 1;
    if (!instructions.empty())
        instructions.Add(HpglInstruction::OP_LINE_TYPE);
}

// A stroke from the pen through the pairs of the parameters; an odd last value is ignored.
void CHpglFile::Draw()
{
    instructions.Add(HpglInstruction::OP_STROKE_START, {penX, penY});
    instructions.Add(HpglInstruction::OP_POINTS);
    for (std::size_t i = 0; i + 1 < params_.size(); i += 2) {
        penX = R(params_[i]);
        penY = R(params_[i + 1]);
        instructions.AddPointToLast(penX, penY);
    }
}

void CHpglFile::DrawLabelText(std::string_view text)
{
    ++report.labels;
    // Under RO the label turns with the coordinate system, as the pen's points already do.
    LabelStyle style = label;
    if (dialect_ == 1)
        style.direction += wide_.rotation;
    renderer_.DrawLabel(penX, penY, text, style, instructions);
}

void CHpglFile::ExecuteCommand()
{
    if (dialect_ == 1 && ExecuteWide())
        return;
    const std::size_t n = params_.size();
    const double* p = params_.data();
    switch (mnemonic_) {
    case Mnemonic('I', 'N'):
        penX = 0;
        penY = 0;
        penDown = false;
        ResetLabelDefaults();
        break;
    case Mnemonic('D', 'F'):
        ResetLabelDefaults();
        break;
    case Mnemonic('P', 'U'):
        if (n >= 2) {
            penX = R(p[n - 2]);
            penY = R(p[n - 1]);
        }
        penDown = false;
        break;
    case Mnemonic('P', 'D'):
        if (n >= 2)
            Draw();
        penDown = true;
        break;
    case Mnemonic('P', 'A'):
        if (n >= 2 && penDown) {
            Draw();
        } else if (n >= 2) {
            penX = R(p[n - 2]);
            penY = R(p[n - 1]);
        }
        break;
    case Mnemonic('P', 'G'):
    case Mnemonic('F', 'R'):
        instructions.Add(HpglInstruction::OP_NEW_PAGE);
        break;
    case Mnemonic('L', 'T'):
        instructions.Add(HpglInstruction::OP_LINE_TYPE, {n >= 1 && R(p[n - 1]) != 0 ? 1 : 0});
        break;
    case Mnemonic('S', 'P'):
        instructions.Add(HpglInstruction::OP_SELECT_PEN, {n >= 1 ? R(p[0]) : 0});
        break;
    case Mnemonic('L', 'O'): {
        const int32_t origin = n >= 1 ? R(p[0]) : 1;
        label.origin = origin < 1 || origin > 19 || origin == 10 ? 1 : origin;
        break;
    }
    case Mnemonic('S', 'I'):
        label.charWidth = n >= 2 ? p[0] : LabelStyle{}.charWidth;
        label.charHeight = n >= 2 ? p[1] : LabelStyle{}.charHeight;
        break;
    case Mnemonic('D', 'I'):
        if (n < 2)
            label.direction = 0;
        else if (p[0] != 0 || p[1] != 0)
            label.direction = std::atan2(p[1], p[0]) * kDegreesPerRadian;
        break;
    case Mnemonic('D', 'R'):
        if (n == 0)
            label.direction = 0;
        else if (n == 2 && (p[0] == 0) != (p[1] == 0))
            label.direction = std::atan2(p[1], p[0]) * kDegreesPerRadian;
        break;
    case Mnemonic('L', 'B'):
        DrawLabelText(labelText);
        break;
    default:
        break;
    }
}

} // namespace qv
