#pragma once
#include "hostapi/Low.h"
