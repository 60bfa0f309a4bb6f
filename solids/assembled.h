#pragma once
// Johnson solids made from uniform solids by turning or cutting off parts.
#include <string>
#include <vector>

#include "solids/model.h"

namespace didod::solids {

// What happens to one pentagonal cupola of the rhombicosidodecahedron.
enum class CapChange { Turned, Removed };

// Where the changed cupolae sit: the first anywhere, the second opposite the
// first (para) or not (meta), a third not opposite either.
enum class CapPlace { First, Para, Meta, ThirdMeta };

struct Cap {
  CapChange change;
  CapPlace place;
};

// The rhombicosidodecahedron with the given cupolae turned by a fifth of a
// turn or cut off.
Polyhedron AlteredRhombicosidodecahedron(const std::vector<Cap>& caps);

}  // namespace didod::solids
