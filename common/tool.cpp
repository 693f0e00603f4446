// Placeholder; the utilities are being written.
#include "tool.h"
