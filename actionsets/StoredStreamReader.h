// Restores one stored recipe stream on demand. A stored stream is a zlib
// stream whose bytes were scrambled one by one; the reader unscrambles one
// byte at a time into a one-byte inflater input and lets the inflater write
// straight into the caller's memory, so a fixed-size read allocates nothing.
//
// The reader treats its input as hostile:
//  - it is given the stored size and never reads beyond it;
//  - every length or count read from the stream is checked against the most
//    the rest of the stream could still deliver (CheckCount), before it is
//    used, and variable-length texts grow in small chunks as bytes actually
//    arrive, so no stream value ever drives an allocation of its own size;
//  - nesting of descriptors and lists is bounded (NestingGuard).
// Every fault is a ReaderFailure; the first fault noted is kept with the
// plain and stored offsets at which it showed, for tools that explain it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include <zlib.h>

namespace vlh {

// Raised by every failed read. Never leaves the action-set subsystem:
// LoadActionSet catches it.
class ReaderFailure : public std::exception {
public:
    explicit ReaderFailure(const char* reason) noexcept : reason_(reason) {}
    const char* what() const noexcept override { return reason_; }

private:
    const char* reason_;
};

// Where and why a read went wrong: offsets are in bytes from the start of the
// plain (inflated) data and of the stored data.
struct ReadFault {
    std::string what;
    uint64_t plainOffset = 0;  // start of the field that was wrong
    uint64_t storedOffset = 0; // stored bytes consumed when the fault showed
};

// The byte that seeds the scramble chain.
constexpr uint8_t kStoredStreamSeed = 0x5B;

// Deepest nesting of descriptors inside descriptors and lists inside lists
// that a stream may have; anything deeper fails instead of using up the stack.
constexpr int kMaxNesting = 32;

class StoredStreamReader {
public:
    StoredStreamReader() noexcept;
    ~StoredStreamReader();
    // The inflater keeps a pointer to its own stream record: never moved.
    StoredStreamReader(const StoredStreamReader&) = delete;
    StoredStreamReader& operator=(const StoredStreamReader&) = delete;

    // Starts reading the stored stream of size bytes at source. False when the
    // inflater cannot be initialised (nothing has been read then).
    bool Open(const uint8_t* source, size_t size);
    // Ends the inflater; a second Close does nothing.
    void Close() noexcept;
    bool IsOpen() const noexcept { return source_ != nullptr; }

    // Fills count bytes at destination or raises ReaderFailure: past the end
    // of the stored bytes, at the end of the compressed stream, or on any
    // inflater error. A count of 0 consumes nothing.
    void Read(void* destination, size_t count);

    // Typed reads; numbers are big-endian in the stream.
    uint8_t ReadByte();
    int16_t ReadInt16();
    int32_t ReadInt32();
    double ReadDouble();
    uint32_t ReadCode(); // four bytes taken as they stand, first most significant

    // The next n bytes exactly as stored, zero bytes included (n checked
    // against what the stream can still hold).
    std::string ReadCountedBytes(uint64_t n);
    // Int32 count of UTF-16 code units, low byte of each kept, up to the first
    // zero; a count of 0 or less is an empty text.
    std::string ReadUnicodeText();
    // Int32 length, then that many bytes, up to the first zero; a negative
    // length fails.
    std::string ReadByteText();
    // Int32 length n; n == 0: a four-character code follows, otherwise a string
    // ID of n bytes; a negative length fails.
    std::string ReadID();

    // Fails when count items of at least minBytesEach bytes cannot possibly
    // follow; what names the count in the fault. Negative counts pass (they
    // mean "none" in the layout).
    void CheckCount(int64_t count, uint64_t minBytesEach, const char* what);

    // Upper bound on the plain bytes the rest of the stored stream can yield.
    uint64_t PlainBytesPossible() const noexcept;
    uint64_t PlainOffset() const noexcept { return inflater_.total_out; }
    uint64_t StoredOffset() const noexcept { return position_; }

    // Marks the start of a field, so a failure inside it is reported there.
    void BeginField() noexcept { fieldStart_ = PlainOffset(); }
    // Keeps the first fault of this reader; later ones add nothing.
    void NoteFault(std::string what);
    void NoteFaultAt(std::string what, uint64_t plainOffset);
    const ReadFault* Fault() const noexcept { return hasFault_ ? &fault_ : nullptr; }

    // Counts one level of nesting while it lives; throws past kMaxNesting.
    class NestingGuard {
    public:
        explicit NestingGuard(StoredStreamReader& reader);
        ~NestingGuard() { --reader_.nesting_; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

    private:
        StoredStreamReader& reader_;
    };

private:
    [[noreturn]] void Fail(const char* reason);
    void UnscrambleNext();
    std::string ReadChunked(uint64_t bytes, bool lowBytesOfPairs);

    const uint8_t* source_ = nullptr;
    size_t size_ = 0;
    size_t position_ = 0; // index of the next stored byte
    uint8_t chain_ = kStoredStreamSeed;
    uint8_t input_ = 0;
    z_stream inflater_{};
    uint64_t fieldStart_ = 0;
    int nesting_ = 0;
    bool hasFault_ = false;
    ReadFault fault_;
};

} // namespace vlh
