#include "actionsets/StoredStreamReader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

namespace vlh {

namespace {

// Deflate cannot expand one input byte into more than 1032 output bytes (four
// length-258 matches of two bits each). Besides the stored bytes still unread
// the inflater may hold a few input bytes in its bit buffer and one unfinished
// match; the slack covers both generously.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kHeldInputBytes = 8;
constexpr uint64_t kLongestMatch = 258;

// Texts are read in pieces of this size, so their buffers grow only with
// bytes that the stream has actually delivered.
constexpr uint64_t kTextChunk = 4096;

// The inflater's version check looks at the major version only; this names
// the oldest release whose stream record the reader relies on.
constexpr const char* kInflaterVersion = "1.2.3";

std::string UpToFirstZero(std::string text) {
    text.resize(std::strlen(text.c_str()));
    return text;
}

} // namespace

StoredStreamReader::StoredStreamReader() noexcept = default;

StoredStreamReader::~StoredStreamReader() {
    Close();
}

bool StoredStreamReader::Open(const uint8_t* source, size_t size) {
    if (source == nullptr || IsOpen()) {
        return false;
    }
    position_ = 0;
    chain_ = kStoredStreamSeed;
    inflater_ = z_stream{};
    inflater_.next_in = &input_;
    inflater_.avail_in = 0;
    if (inflateInit_(&inflater_, kInflaterVersion, int(sizeof(z_stream))) != Z_OK) {
        return false;
    }
    source_ = source;
    size_ = size;
    return true;
}

void StoredStreamReader::Close() noexcept {
    if (source_ != nullptr) {
        source_ = nullptr;
        inflateEnd(&inflater_);
    }
}

void StoredStreamReader::Fail(const char* reason) {
    NoteFaultAt(reason, fieldStart_);
    throw ReaderFailure(reason);
}

void StoredStreamReader::UnscrambleNext() {
    if (position_ >= size_) {
        Fail("the stored stream ends before the data it promises");
    }
    const uint8_t stored = source_[position_];
    input_ = uint8_t(stored ^ chain_ ^ uint8_t(position_ & 0xFF));
    chain_ = stored;
    ++position_;
    inflater_.next_in = &input_;
    inflater_.avail_in = 1;
}

void StoredStreamReader::Read(void* destination, size_t count) {
    if (count == 0) {
        return;
    }
    if (!IsOpen()) {
        Fail("the reader is closed");
    }
    inflater_.next_out = static_cast<Bytef*>(destination);
    inflater_.avail_out = uInt(count);
    if (size_t(inflater_.avail_out) != count) {
        Fail("a read larger than the inflater can take at once");
    }
    while (inflater_.avail_out > 0) {
        if (inflater_.avail_in == 0) {
            UnscrambleNext();
        }
        const int result = inflate(&inflater_, Z_NO_FLUSH);
        if (result == Z_STREAM_END) {
            Fail("the data ends before the field it promises");
        }
        if (result == Z_NEED_DICT) {
            Fail("the compressed data asks for a preset dictionary");
        }
        if (result != Z_OK) {
            // zlib's own message names the fault (bad header, bad code, ...).
            Fail(inflater_.msg != nullptr ? inflater_.msg : "the compressed data is damaged");
        }
    }
}

uint8_t StoredStreamReader::ReadByte() {
    BeginField();
    uint8_t b = 0;
    Read(&b, 1);
    return b;
}

int16_t StoredStreamReader::ReadInt16() {
    BeginField();
    uint8_t b[2];
    Read(b, 2);
    return int16_t(uint16_t(b[0] << 8 | b[1]));
}

int32_t StoredStreamReader::ReadInt32() {
    BeginField();
    uint8_t b[4];
    Read(b, 4);
    return int32_t(uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]));
}

uint32_t StoredStreamReader::ReadCode() {
    return uint32_t(ReadInt32());
}

double StoredStreamReader::ReadDouble() {
    BeginField();
    uint8_t b[8];
    Read(b, 8);
    uint64_t bits = 0;
    for (uint8_t byte : b) {
        bits = bits << 8 | byte;
    }
    return std::bit_cast<double>(bits);
}

uint64_t StoredStreamReader::PlainBytesPossible() const noexcept {
    const uint64_t storedLeft = size_ - std::min(size_, position_) + inflater_.avail_in;
    return (storedLeft + kHeldInputBytes) * kMaxInflateRatio + kLongestMatch;
}

void StoredStreamReader::CheckCount(int64_t count, uint64_t minBytesEach, const char* what) {
    if (count <= 0) {
        return;
    }
    const uint64_t possible = PlainBytesPossible();
    if (minBytesEach != 0 && uint64_t(count) > possible / minBytesEach) {
        Fail(what);
    }
}

std::string StoredStreamReader::ReadChunked(uint64_t bytes, bool lowBytesOfPairs) {
    std::string text;
    char chunk[kTextChunk];
    while (bytes > 0) {
        const size_t take = size_t(std::min(bytes, kTextChunk));
        Read(chunk, take);
        if (lowBytesOfPairs) {
            for (size_t i = 1; i < take; i += 2) {
                text.push_back(chunk[i]);
            }
        } else {
            text.append(chunk, take);
        }
        bytes -= take;
    }
    return text;
}

std::string StoredStreamReader::ReadCountedBytes(uint64_t n) {
    if (n > PlainBytesPossible()) {
        Fail("a length beyond the rest of the stream");
    }
    return ReadChunked(n, false);
}

std::string StoredStreamReader::ReadUnicodeText() {
    const int32_t units = ReadInt32();
    if (units <= 0) {
        return {};
    }
    CheckCount(units, 2, "a Unicode text longer than the rest of the stream");
    // kTextChunk is even, so no code unit is ever split between two chunks.
    return UpToFirstZero(ReadChunked(uint64_t(units) * 2, true));
}

std::string StoredStreamReader::ReadByteText() {
    const int32_t length = ReadInt32();
    if (length < 0) {
        Fail("a negative text length");
    }
    CheckCount(length, 1, "a text longer than the rest of the stream");
    return UpToFirstZero(ReadChunked(uint64_t(length), false));
}

std::string StoredStreamReader::ReadID() {
    const int32_t length = ReadInt32();
    if (length < 0) {
        Fail("a negative ID length");
    }
    if (length == 0) {
        char code[5] = {};
        Read(code, 4);
        return code; // up to the first zero, like every text
    }
    CheckCount(length, 1, "an ID longer than the rest of the stream");
    return UpToFirstZero(ReadChunked(uint64_t(length), false));
}

void StoredStreamReader::NoteFault(std::string what) {
    NoteFaultAt(std::move(what), fieldStart_);
}

void StoredStreamReader::NoteFaultAt(std::string what, uint64_t plainOffset) {
    if (hasFault_) {
        return;
    }
    hasFault_ = true;
    fault_.what = std::move(what);
    fault_.plainOffset = plainOffset;
    fault_.storedOffset = position_;
}

StoredStreamReader::NestingGuard::NestingGuard(StoredStreamReader& reader) : reader_(reader) {
    if (reader_.nesting_ >= kMaxNesting) {
        reader_.Fail("descriptors or lists nested too deeply");
    }
    ++reader_.nesting_;
}

} // namespace vlh
