#include "toolkit/platform/surface.h"
