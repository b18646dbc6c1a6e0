#include "host/engine/InOrderSource.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace vhost::engine {

namespace {

// Rows read from the source at a time.
constexpr int kChunkRows = 16;

struct RowStore {
    VipsImage* source = nullptr; // holds a reference
    size_t rowBytes = 0;
    std::mutex mutex;
    int rowsRead = 0;                      // rows [0, rowsRead) are in `rows`
    std::unique_ptr<unsigned char[]> rows; // allocated at the first read

    ~RowStore() {
        if (source != nullptr) {
            g_object_unref(source);
        }
    }
};

void DestroyRowStore(gpointer data) {
    delete static_cast<RowStore*>(data);
}

// Reads on from the source, in order, until `bottom` rows are held. Called
// with the mutex held; `region` is the calling thread's region on the source.
int ReadUpTo(RowStore& store, VipsRegion* region, int bottom) {
    if (!store.rows) {
        store.rows.reset(new (std::nothrow) unsigned char[store.rowBytes * size_t(store.source->Ysize)]);
        if (!store.rows) {
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
            std::memcpy(store.rows.get() + store.rowBytes * size_t(y), VIPS_REGION_ADDR(region, 0, y),
                        store.rowBytes);
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
        std::memcpy(VIPS_REGION_ADDR(out, area.left, y),
                    store.rows.get() + store.rowBytes * size_t(y) + pel * size_t(area.left),
                    pel * size_t(area.width));
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
