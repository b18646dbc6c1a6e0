#include "host/engine/InOrderSource.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>

#include "host/engine/ScratchFile.h"

namespace vhost::engine {

namespace {

// Rows read from the source at a time.
constexpr int kChunkRows = 16;
// From this decoded size on, the rows are kept in a scratch file rather than
// in memory: a large image's working set (the layers a recipe is making) is
// then all the memory its run takes, and the file's pages are the system's to
// keep or drop.
constexpr uint64_t kScratchFrom = uint64_t(64) << 20;

// Where the rows read are kept: in memory, or in a scratch file.
class KeptRows {
public:
    // Throws std::bad_alloc when memory is short and no scratch file can be
    // had either.
    KeptRows(size_t rowBytes, int rows) : rowBytes_(rowBytes) {
        const uint64_t bytes = uint64_t(rowBytes) * uint64_t(rows);
        if (bytes >= kScratchFrom) {
            try {
                scratch_.emplace();
                return;
            } catch (const std::system_error&) {
                // no scratch space: memory it is
            }
        }
        memory_ = std::make_unique<unsigned char[]>(size_t(bytes));
    }

    bool Put(int y, const void* row) {
        if (scratch_) {
            return scratch_->Write(Offset(y, 0), row, rowBytes_);
        }
        std::memcpy(memory_.get() + Offset(y, 0), row, rowBytes_);
        return true;
    }

    // `bytes` bytes of row `y` from byte `from` on.
    bool Get(int y, size_t from, void* to, size_t bytes) const {
        if (scratch_) {
            return scratch_->Read(Offset(y, from), to, bytes);
        }
        std::memcpy(to, memory_.get() + Offset(y, from), bytes);
        return true;
    }

private:
    uint64_t Offset(int y, size_t from) const { return uint64_t(rowBytes_) * uint64_t(y) + from; }

    size_t rowBytes_;
    std::optional<ScratchFile> scratch_;
    std::unique_ptr<unsigned char[]> memory_;
};

struct RowStore {
    VipsImage* source = nullptr; // holds a reference
    size_t rowBytes = 0;
    std::mutex mutex;
    int rowsRead = 0;             // rows [0, rowsRead) are kept
    std::optional<KeptRows> rows; // made at the first read

    ~RowStore() {
        if (source != nullptr) {
            g_object_unref(source);
        }
    }
};

void DestroyRowStore(gpointer data) {
    const std::unique_ptr<RowStore> owned(static_cast<RowStore*>(data));
}

// Reads on from the source, in order, until `bottom` rows are held. Called
// with the mutex held; `region` is the calling thread's region on the source.
int ReadUpTo(RowStore& store, VipsRegion* region, int bottom) {
    if (!store.rows) {
        try {
            store.rows.emplace(store.rowBytes, store.source->Ysize);
        } catch (const std::bad_alloc&) {
            vips_error("ReadInOrder", "%s", "out of memory");
            return -1;
        }
    }
    while (store.rowsRead < bottom) {
        VipsRect chunk{0, store.rowsRead, store.source->Xsize,
                       std::min(kChunkRows, store.source->Ysize - store.rowsRead)};
        if (vips_region_prepare(region, &chunk) != 0) {
            return -1;
        }
        for (int y = chunk.top; y < chunk.top + chunk.height; ++y) {
            if (!store.rows->Put(y, VIPS_REGION_ADDR(region, 0, y))) {
                vips_error_system(errno, "ReadInOrder", "%s", "cannot keep the rows read");
                return -1;
            }
        }
        store.rowsRead += chunk.height;
    }
    return 0;
}

int GenerateRows(VipsRegion* out, void* seq, void* /*a*/, void* b, gboolean* /*stop*/) {
    auto& store = *static_cast<RowStore*>(b);
    const VipsRect& area = out->valid;
    {
        std::lock_guard<std::mutex> lock(store.mutex);
        if (store.rowsRead < area.top + area.height &&
            ReadUpTo(store, static_cast<VipsRegion*>(seq), area.top + area.height) != 0) {
            return -1;
        }
    }
    // Rows already read never change: no lock needed to copy them.
    const size_t pel = VIPS_IMAGE_SIZEOF_PEL(store.source);
    for (int y = area.top; y < area.top + area.height; ++y) {
        if (!store.rows->Get(y, pel * size_t(area.left), VIPS_REGION_ADDR(out, area.left, y),
                             pel * size_t(area.width))) {
            vips_error_system(errno, "ReadInOrder", "%s", "cannot read back the rows read");
            return -1;
        }
    }
    return 0;
}

} // namespace

vips::VImage ReadInOrder(const vips::VImage& source) {
    auto store = std::make_unique<RowStore>();
    store->source = source.get_image();
    g_object_ref(store->source);
    store->rowBytes = VIPS_IMAGE_SIZEOF_LINE(store->source);

    VipsImage* out = vips_image_new();
    vips::VImage result(out); // adopts the new reference
    if (vips_image_pipelinev(out, VIPS_DEMAND_STYLE_THINSTRIP, store->source, nullptr) != 0) {
        throw vips::VError();
    }
    RowStore* state = store.release();
    g_object_set_data_full(G_OBJECT(out), "vhost-in-order-source", state, DestroyRowStore);
    if (vips_image_generate(out, vips_start_one, GenerateRows, vips_stop_one, state->source, state) != 0) {
        throw vips::VError();
    }
    return result;
}

} // namespace vhost::engine
