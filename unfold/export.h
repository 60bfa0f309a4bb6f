#pragma once
// Writing solids as 3-D files: OFF, OBJ, STL (ASCII or binary), binary PLY
// and binary glTF.
#include <optional>
#include <string>
#include <vector>

#include "unfold/polyhedron.h"

namespace didod::unfold {

enum class SolidFormat { Off, Obj, StlAscii, StlBinary, Ply, Glb };

// The format a file name asks for by its extension (letter case ignored):
// ".off", ".obj", ".stl" (binary), ".ply" (binary), ".glb"; nothing for any other.
std::optional<SolidFormat> SolidFormatOfName(const std::string& name);

// The bytes of the solid as a file of that format. With `triangles` every face
// is written as a fan of triangles (STL always is). Throws std::runtime_error
// with the writer's message when the library fails.
std::vector<unsigned char> SolidFileBytes(const Polyhedron& solid, SolidFormat format, bool triangles = false);

// The solid scaled about the origin so that its longest edge has that length.
Polyhedron ScaledToLongestEdge(const Polyhedron& solid, double length);

}  // namespace didod::unfold
