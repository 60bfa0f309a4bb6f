#pragma once
// Ear clipping of a simple polygon in the plane lives with the other polygon
// helpers; this header stays for the code that includes it.
#include "geometry/polygon.h"
