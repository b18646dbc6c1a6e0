#include "host/engine/Vips.h"

#include <mutex>

#include <vips/vips8>

#include "host/engine/EngineError.h"

namespace vhost::engine {

void StartVips() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] { started = vips_init("vellicor") == 0; });
    if (!started) {
        throw EngineError(code::kParamErr, "the image library could not start");
    }
}

std::string VipsMessage(const std::exception& failure) {
    std::string text = failure.what();
    vips_error_clear();
    const size_t start = text.find_first_not_of("\n ");
    if (start == std::string::npos) {
        return "unknown image library failure";
    }
    const size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

} // namespace vhost::engine
