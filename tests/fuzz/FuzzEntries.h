#pragma once

#include <cstdint>
#include <span>

// The entry functions of the fuzz targets. Each takes any bytes, runs them through the program's own reading
// code as an input of that kind would be, and returns normally whatever they hold: a crash, a sanitizer
// report or an exception escaping is a finding. The fuzzers and the regression suite call the same functions.
namespace qv::fuzz {

// An HP-GL drawing: read, its pages built, tidied, outlines recognised and paged (the intake's path), once
// with the defaults and once with outline recognition, paging at 500 mm, the 0.0254 mm unit and pen 3 for half
// cuts; then the task list written and exported as HP-GL.
void Hpgl(std::span<const uint8_t> bytes);

// A task file: read into a task list, then written and exported again.
void TaskFile(std::span<const uint8_t> bytes);

// A stroke font file: the first byte picks the double-byte font (odd) or the single-byte one (even), the rest
// is the file, loaded and used for labels in both fonts; the rest also walks as one glyph's shape bytes.
void StrokeFont(std::span<const uint8_t> bytes);

// "setting.ini": parsed, every option read as the program reads it, and written back.
void Settings(std::span<const uint8_t> bytes);

// Everything the machine sends: the bytes are the machine's side of the USB link (each reply a length byte and
// that many bytes), answering the handshake (version, records 33 and 34), status polls, the start point, the
// progress reply and a manual command; the status line is then made from what the host took in.
void MachineReplies(std::span<const uint8_t> bytes);

} // namespace qv::fuzz
