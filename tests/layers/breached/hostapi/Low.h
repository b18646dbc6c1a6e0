// A host-access header that reaches up to the entry point.
#pragma once
#include "plugin/Top.h"
