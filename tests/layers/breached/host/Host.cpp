// The host reaching past the host interface, into the suite table.
#include "hostapi/Low.h"
#include "hostapi/HostInterface.h"
