// What a loaded module does the same on every system: it moves, and it is
// closed (by the system's own Close) when its owner goes.
#include "host/loader/Module.h"

#include <utility>

namespace vhost {

Module::Module(Module&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), entry_(std::exchange(other.entry_, nullptr)),
      path_(std::move(other.path_)) {
}

Module& Module::operator=(Module&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, nullptr);
        entry_ = std::exchange(other.entry_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

Module::~Module() {
    Close();
}

} // namespace vhost
