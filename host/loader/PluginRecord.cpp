#include "host/loader/PluginRecord.h"

namespace vhost {

std::string PluginRecord::ReportedName() const {
    if (reportedName) {
        return *reportedName;
    }
    const std::string ellipsis = "...";
    if (name.size() >= ellipsis.size() &&
        name.compare(name.size() - ellipsis.size(), ellipsis.size(), ellipsis) == 0) {
        return name.substr(0, name.size() - ellipsis.size());
    }
    return name;
}

} // namespace vhost
