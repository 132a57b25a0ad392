#include "model/Archive.h"

#include "app/LittleEndian.h"
#include "app/TextCodec.h"

#include <algorithm>

namespace qv {

namespace {

constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr uint16_t kUnicodeMarker = 0xFFFE;

} // namespace

const char* ArchiveException::what() const noexcept
{
    switch (error_) {
    case ArchiveError::EndOfFile:
        return "archive ends inside a record";
    case ArchiveError::BadIndex:
        return "archive holds a bad object index";
    case ArchiveError::UnexpectedClass:
        return "archive holds an unexpected class";
    case ArchiveError::BadSchema:
        return "archive holds a class with a wrong schema";
    }
    return "archive error";
}

// --- writing ---

ArchiveWriter::ArchiveWriter(Spill spill) : spill_(std::move(spill))
{
    bytes_.reserve(kSpillAt + kSpillAt / 4);
}

void ArchiveWriter::SpillNow()
{
    if (!spillFailed_ && !bytes_.empty())
        spillFailed_ = !spill_(bytes_);
    bytes_.clear();
}

bool ArchiveWriter::Finish()
{
    if (spill_)
        SpillNow();
    return !spillFailed_;
}

void ArchiveWriter::WriteUInt16(uint16_t v)
{
    SpillWhenFull();
    uint8_t b[2];
    StoreLE(b, v);
    bytes_.insert(bytes_.end(), b, b + 2);
}

void ArchiveWriter::WriteUInt32(uint32_t v)
{
    SpillWhenFull();
    uint8_t b[4];
    StoreLE(b, v);
    bytes_.insert(bytes_.end(), b, b + 4);
}

void ArchiveWriter::WriteInt32(int32_t v)
{
    WriteUInt32(static_cast<uint32_t>(v));
}

void ArchiveWriter::WriteCount(uint32_t n)
{
    if (n < 0xFFFF) {
        WriteUInt16(static_cast<uint16_t>(n));
    } else {
        WriteUInt16(0xFFFF);
        WriteUInt32(n);
    }
}

void ArchiveWriter::WriteLength(uint32_t n)
{
    if (n < 0xFF) {
        bytes_.push_back(static_cast<uint8_t>(n));
        return;
    }
    bytes_.push_back(0xFF);
    if (n < kUnicodeMarker) {
        WriteUInt16(static_cast<uint16_t>(n));
        return;
    }
    WriteUInt16(0xFFFF);
    WriteUInt32(n);
}

void ArchiveWriter::WriteString(std::string_view utf8)
{
    SpillWhenFull();
    if (const auto gbk = Utf8ToGbk(utf8)) {
        WriteLength(static_cast<uint32_t>(gbk->size()));
        bytes_.insert(bytes_.end(), gbk->begin(), gbk->end());
        return;
    }
    const std::string units = Utf8ToUtf16Le(utf8);
    bytes_.push_back(0xFF);
    WriteUInt16(kUnicodeMarker);
    WriteLength(static_cast<uint32_t>(units.size() / 2));
    bytes_.insert(bytes_.end(), units.begin(), units.end());
}

std::span<uint8_t> ArchiveWriter::Extend(std::size_t n)
{
    SpillWhenFull();
    const std::size_t at = bytes_.size();
    bytes_.resize(at + n);
    return std::span(bytes_).subspan(at);
}

void ArchiveWriter::WriteObjectReference(const ArchiveClass& cls)
{
    const auto found = classIndex_.find(cls.name);
    if (found == classIndex_.end()) {
        WriteUInt16(kNewClassTag);
        WriteUInt16(cls.schema);
        WriteUInt16(static_cast<uint16_t>(cls.name.size()));
        bytes_.insert(bytes_.end(), cls.name.begin(), cls.name.end());
        classIndex_.emplace(cls.name, ++indexCount_);
    } else if (found->second < kBigObjectTag) {
        WriteUInt16(static_cast<uint16_t>(kClassTag | found->second));
    } else {
        WriteUInt16(kBigObjectTag);
        WriteUInt32(kBigClassTag | found->second);
    }
    ++indexCount_; // the object itself
}

// --- reading ---

ArchiveReader::ArchiveReader(std::span<const uint8_t> data, std::span<const ArchiveClass> known)
    : data_(data), known_(known)
{
    indexTable_.push_back(nullptr); // index 0 is the null reference
}

void ArchiveReader::Need(size_t n) const
{
    if (n > remaining())
        throw ArchiveException(ArchiveError::EndOfFile);
}

std::span<const uint8_t> ArchiveReader::ReadBytes(size_t n)
{
    Need(n);
    const auto bytes = data_.subspan(pos_, n);
    pos_ += n;
    return bytes;
}

uint16_t ArchiveReader::ReadUInt16()
{
    return LoadLE<uint16_t>(ReadBytes(2).data());
}

uint32_t ArchiveReader::ReadUInt32()
{
    return LoadLE<uint32_t>(ReadBytes(4).data());
}

int32_t ArchiveReader::ReadInt32()
{
    return LoadLE<int32_t>(ReadBytes(4).data());
}

uint32_t ArchiveReader::ReadCount(size_t minBytesEach)
{
    uint32_t n = ReadUInt16();
    if (n == 0xFFFF)
        n = ReadUInt32();
    if (minBytesEach > 0 && n > remaining() / minBytesEach)
        throw ArchiveException(ArchiveError::EndOfFile);
    return n;
}

uint32_t ArchiveReader::ReadLength()
{
    const uint8_t b = ReadBytes(1)[0];
    if (b < 0xFF)
        return b;
    const uint16_t w = ReadUInt16();
    if (w < 0xFFFF)
        return w;
    return ReadUInt32();
}

std::string ArchiveReader::ReadString()
{
    const uint8_t first = ReadBytes(1)[0];
    uint32_t length = first;
    if (first == 0xFF) {
        const uint16_t w = ReadUInt16();
        if (w == kUnicodeMarker) {
            const uint32_t units = ReadLength();
            const auto bytes = ReadBytes(size_t{units} * 2);
            return Utf16LeToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        }
        length = w < 0xFFFF ? w : ReadUInt32();
    }
    const auto bytes = ReadBytes(length);
    return GbkToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void ArchiveReader::ReadObjectReference(const ArchiveClass& expected)
{
    const uint16_t tag = ReadUInt16();
    const ArchiveClass* cls = nullptr;
    if (tag == kNewClassTag) {
        const uint16_t schema = ReadUInt16();
        const uint16_t nameLength = ReadUInt16();
        const auto nameBytes = ReadBytes(nameLength);
        const std::string_view name(reinterpret_cast<const char*>(nameBytes.data()), nameBytes.size());
        const auto found =
            std::find_if(known_.begin(), known_.end(), [&](const ArchiveClass& k) { return k.name == name; });
        if (found == known_.end())
            throw ArchiveException(ArchiveError::UnexpectedClass);
        if (found->schema != schema)
            throw ArchiveException(ArchiveError::BadSchema);
        cls = &*found;
        indexTable_.push_back(cls);
    } else {
        uint32_t index = 0;
        if (tag == kBigObjectTag) {
            const uint32_t big = ReadUInt32();
            if (!(big & kBigClassTag))
                throw ArchiveException(ArchiveError::BadIndex);
            index = big & ~kBigClassTag;
        } else if (tag & kClassTag) {
            index = tag & ~kClassTag;
        } else {
            // A null reference (0) or one to an object already read: a task list never omits or shares an
            // object, so either means the file is damaged.
            throw ArchiveException(ArchiveError::BadIndex);
        }
        if (index >= indexTable_.size() || indexTable_[index] == nullptr)
            throw ArchiveException(ArchiveError::BadIndex);
        cls = indexTable_[index];
    }
    if (cls->name != expected.name)
        throw ArchiveException(ArchiveError::UnexpectedClass);
    indexTable_.push_back(nullptr); // the object itself
}

} // namespace qv
