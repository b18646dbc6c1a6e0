// The catalogue reaching beside itself, into the chooser.
#include "chooser/Dialog.h"
#include "../plugin/Top.h"
