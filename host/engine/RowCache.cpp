#include "host/engine/RowCache.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

namespace vhost::engine {

namespace {

// Rows are made a chunk at a time, always this many, so the requests down a
// deep stack (a chunk and a blur's margins) keep one height instead of
// piling up from level to level.
constexpr int kChunkRows = 16;
// A chunk is made in bands of columns this wide, so the buffers of every
// level below a cache stay narrow.
constexpr int kBandWidth = 256;
// Chunks kept at first: what two worker threads read at once. A layer read at
// several depths of a deep stack is read further apart (its deepest reader
// runs ahead by a blur's margin per level); when a read finds its rows
// dropped, the cache keeps as many more from then on, up to the most.
constexpr size_t kFirstChunksKept = 5;
constexpr size_t kMostChunksKept = 64;

struct Chunk {
    VipsRect area{}; // full width
    std::vector<unsigned char> pixels;
    bool ready = false; // else being made
};

class ChunkStore {
public:
    explicit ChunkStore(VipsImage* in) : in_(in), rowBytes_(VIPS_IMAGE_SIZEOF_LINE(in)) { g_object_ref(in_); }
    ~ChunkStore() { g_object_unref(in_); }
    ChunkStore(const ChunkStore&) = delete;
    ChunkStore& operator=(const ChunkStore&) = delete;

    // Fills `out` from the kept chunks, making the missing ones with `input`
    // (the calling sequence's region on the source). False when making failed.
    bool Fill(VipsRegion* out, VipsRegion* input);

private:
    int LastIndex() const { return first_ + int(chunks_.size()) - 1; }
    bool MakeNext(VipsRegion* input, std::unique_lock<std::mutex>& lock);
    bool Make(Chunk& chunk, VipsRegion* input) const;
    void DropBeyondKept();
    void CopyOut(const VipsRect& want, VipsRegion* out) const;
    static bool Direct(const VipsRect& want, VipsRegion* out, VipsRegion* input);

    VipsImage* in_;
    const size_t rowBytes_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Chunk>> chunks_; // consecutive, from index first_
    int first_ = 0;
    size_t kept_ = kFirstChunksKept;
};

bool ChunkStore::Fill(VipsRegion* out, VipsRegion* input) {
    const VipsRect& want = out->valid;
    const int firstWanted = want.top / kChunkRows;
    const int lastWanted = (VIPS_RECT_BOTTOM(&want) - 1) / kChunkRows;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (firstWanted < first_ || size_t(lastWanted - firstWanted + 1) > kMostChunksKept) {
            // Dropped already, or more than may be kept: made for this
            // request alone, and from now on kept that far back.
            kept_ = std::clamp(size_t(std::max(LastIndex(), lastWanted) - firstWanted + 2), kept_,
                               kMostChunksKept);
            lock.unlock();
            return Direct(want, out, input);
        }
        if (LastIndex() < lastWanted) {
            if (!MakeNext(input, lock)) {
                return false;
            }
            continue;
        }
        if (std::all_of(chunks_.begin() + (firstWanted - first_), chunks_.begin() + (lastWanted - first_ + 1),
                        [](const auto& chunk) { return chunk->ready; })) {
            break;
        }
        changed_.wait(lock);
    }
    CopyOut(want, out);
    return true;
}

// Claims the chunk after the last and makes it outside the lock, so other
// threads go on reading and making the chunks around it.
bool ChunkStore::MakeNext(VipsRegion* input, std::unique_lock<std::mutex>& lock) {
    auto chunk = std::make_shared<Chunk>();
    const int top = (LastIndex() + 1) * kChunkRows;
    chunk->area = {0, top, in_->Xsize, std::min(kChunkRows, in_->Ysize - top)};
    chunks_.push_back(chunk);
    lock.unlock();
    const bool made = Make(*chunk, input);
    lock.lock();
    chunk->ready = made;
    if (!made) {
        // Gone, with any begun after it (their makers' work is lost, not
        // wrong): whoever asks for them again makes them again.
        chunks_.erase(std::find(chunks_.begin(), chunks_.end(), chunk), chunks_.end());
    }
    DropBeyondKept();
    changed_.notify_all();
    return made;
}

bool ChunkStore::Make(Chunk& chunk, VipsRegion* input) const {
    chunk.pixels.resize(rowBytes_ * size_t(chunk.area.height));
    const size_t pixelBytes = VIPS_IMAGE_SIZEOF_PEL(in_);
    for (int left = 0; left < in_->Xsize; left += kBandWidth) {
        const VipsRect band{left, chunk.area.top, std::min(kBandWidth, in_->Xsize - left), chunk.area.height};
        if (vips_region_prepare(input, &band) != 0) {
            return false;
        }
        for (int row = 0; row < band.height; ++row) {
            std::memcpy(chunk.pixels.data() + rowBytes_ * size_t(row) + pixelBytes * size_t(left),
                        VIPS_REGION_ADDR(input, left, band.top + row), pixelBytes * size_t(band.width));
        }
    }
    return true;
}

// Drops the oldest chunks beyond what is kept. Readers copy under the lock,
// so a ready chunk is never in use when the lock is held.
void ChunkStore::DropBeyondKept() {
    while (chunks_.size() > kept_ && chunks_.front()->ready) {
        chunks_.pop_front();
        ++first_;
    }
}

void ChunkStore::CopyOut(const VipsRect& want, VipsRegion* out) const {
    const size_t offset = VIPS_IMAGE_SIZEOF_PEL(in_) * size_t(want.left);
    const size_t bytes = VIPS_IMAGE_SIZEOF_PEL(in_) * size_t(want.width);
    for (int y = want.top; y < VIPS_RECT_BOTTOM(&want); ++y) {
        const Chunk& chunk = *chunks_[size_t(y / kChunkRows - first_)];
        std::memcpy(VIPS_REGION_ADDR(out, want.left, y),
                    chunk.pixels.data() + rowBytes_ * size_t(y - chunk.area.top) + offset, bytes);
    }
}

bool ChunkStore::Direct(const VipsRect& want, VipsRegion* out, VipsRegion* input) {
    if (vips_region_prepare(input, &want) != 0) {
        return false;
    }
    vips_region_copy(input, out, &want, want.left, want.top);
    return true;
}

// libvips calls this from C: nothing may be thrown through it.
int GenerateFromChunks(VipsRegion* out, void* seq, void* /*a*/, void* b, gboolean* /*stop*/) {
    try {
        return static_cast<ChunkStore*>(b)->Fill(out, static_cast<VipsRegion*>(seq)) ? 0 : -1;
    } catch (const std::exception& failure) {
        vips_error("CacheRows", "%s", failure.what());
        return -1;
    }
}

void DestroyStore(gpointer data) {
    const std::unique_ptr<ChunkStore> owned(static_cast<ChunkStore*>(data));
}

} // namespace

vips::VImage CacheRows(const vips::VImage& in) {
    VipsImage* source = in.get_image();
    auto store = std::make_unique<ChunkStore>(source);

    VipsImage* out = vips_image_new();
    vips::VImage result(out); // adopts the new reference
    if (vips_image_pipelinev(out, VIPS_DEMAND_STYLE_FATSTRIP, source, nullptr) != 0) {
        throw vips::VError();
    }
    out->dhint = VIPS_DEMAND_STYLE_FATSTRIP;
    ChunkStore* kept = store.release();
    g_object_set_data_full(G_OBJECT(out), "vhost-chunk-store", kept, DestroyStore);
    if (vips_image_generate(out, vips_start_one, GenerateFromChunks, vips_stop_one, source, kept) != 0) {
        throw vips::VError();
    }
    return result;
}

} // namespace vhost::engine
