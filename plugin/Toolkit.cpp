#include "plugin/Toolkit.h"

namespace vlh {

// No windows yet: the session only marks where the toolkit runs.
ToolkitSession::ToolkitSession() = default;
ToolkitSession::~ToolkitSession() = default;

} // namespace vlh
