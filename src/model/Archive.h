#pragma once

// The persistent-archive encoding of task files, little-endian throughout:
//
//   int32 / uint16 / uint32   raw
//   count                     uint16 when below 0xFFFF, else FF FF + uint32
//   string                    length prefix + GBK bytes. Prefix: one byte when below 255; else FF + uint16
//                             when below 0xFFFE; else FF FF FF + uint32. FF FE FF announces UTF-16LE text:
//                             a prefix as above counted in UTF-16 units follows, then two bytes per unit.
//   object reference          first object of a class: FF FF, uint16 schema, uint16 name length, ASCII name;
//                             later objects of that class: uint16 (0x8000 | class index), or when the index
//                             is 0x7FFF or more 7F FF + uint32 (0x80000000 | class index); null: 00 00.
//                             Classes and objects share one index sequence from 1 in writing order: an
//                             introduced class takes the next index, then its object the next one.
//   object list               count, then a reference and the object's own record per element.
//
// Strings are UTF-8 in memory. They are written as GBK; a text GBK cannot represent is written in the UTF-16LE
// form (which every reader of the format accepts) rather than mangled.
//
// Reading checks every count and length against the bytes that remain before it allocates anything, so a
// damaged file ends with an ArchiveException, never a huge allocation or a half-built object.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qv {

enum class ArchiveError {
    EndOfFile,       // the data ends inside a record
    BadIndex,        // an object reference that names no class read so far
    UnexpectedClass, // a class the archive does not know, or not the one expected here
    BadSchema,       // a known class with another schema number
};

class ArchiveException : public std::exception {
public:
    explicit ArchiveException(ArchiveError error) : error_(error) {}
    ArchiveError error() const { return error_; }
    const char* what() const noexcept override;

private:
    ArchiveError error_;
};

// A persistent class: the name and schema number written with its first object.
struct ArchiveClass {
    std::string_view name;
    uint16_t schema;
};

// Writes the archive into memory, or with a spill, in pieces of about kSpillAt bytes handed to the spill as
// they fill, so that a large task file is never held whole.
class ArchiveWriter {
public:
    using Spill = std::function<bool(std::span<const uint8_t>)>;
    static constexpr std::size_t kSpillAt = 1 << 20;

    ArchiveWriter() = default;
    explicit ArchiveWriter(Spill spill);

    void WriteUInt16(uint16_t v);
    void WriteUInt32(uint32_t v);
    void WriteInt32(int32_t v);
    void WriteCount(uint32_t n);
    void WriteString(std::string_view utf8);
    // Appends `n` bytes for the caller to fill in place; the span lasts until the next write.
    std::span<uint8_t> Extend(std::size_t n);
    // Writes the reference that precedes an object of `cls` and takes the object's index.
    void WriteObjectReference(const ArchiveClass& cls);

    // With a spill: hands over what is left; false when any spill failed (nothing more is handed over then).
    bool Finish();

    // Without a spill, the whole archive.
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> TakeBytes() { return std::move(bytes_); }

private:
    void WriteLength(uint32_t n);
    // Spills at the start of a write only, so the span of the last Extend stays valid until the next write.
    void SpillWhenFull()
    {
        if (spill_ && bytes_.size() >= kSpillAt)
            SpillNow();
    }
    void SpillNow();

    std::vector<uint8_t> bytes_;
    Spill spill_;
    bool spillFailed_ = false;
    std::unordered_map<std::string_view, uint32_t> classIndex_;
    uint32_t indexCount_ = 0; // classes and objects written so far
};

class ArchiveReader {
public:
    // `known` lists every class the archive may hold; the data must outlive the reader.
    ArchiveReader(std::span<const uint8_t> data, std::span<const ArchiveClass> known);

    uint16_t ReadUInt16();
    uint32_t ReadUInt32();
    int32_t ReadInt32();
    // A count of elements that take at least `minBytesEach` bytes each; larger than what remains is EndOfFile.
    uint32_t ReadCount(size_t minBytesEach);
    std::string ReadString();
    std::span<const uint8_t> ReadBytes(size_t n);
    // Reads the reference that precedes an object and checks that it introduces or names `expected`.
    void ReadObjectReference(const ArchiveClass& expected);

    size_t remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ == data_.size(); }

private:
    uint32_t ReadLength();
    void Need(size_t n) const;

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    std::span<const ArchiveClass> known_;
    std::vector<const ArchiveClass*> indexTable_; // index -> class, null for an object index
};

} // namespace qv
