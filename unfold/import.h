#pragma once
// Reading solids from 3-D files: OFF, OBJ, STL (ASCII and binary) and PLY.
#include <cstddef>
#include <span>
#include <string>

#include "unfold/mesh.h"

namespace didod::unfold {

// The file name patterns the import takes, for file dialogs.
inline constexpr const char* kImportPatterns = "*.off *.obj *.stl *.ply";

// Whether the name ends in one of the extensions the import reads (letter case ignored).
bool IsImportName(const std::string& name);

// The faces the bytes of a file describe, read by the file's extension (taken
// from `name`). Throws ImportError for a name of another kind or bytes that
// do not parse.
Soup ReadSoup(std::span<const unsigned char> bytes, const std::string& name, const ImportTolerances& limits = {});

// The solid of a file's bytes (see SolidFromSoup); `name` is the file's name,
// for its extension and the messages. Throws ImportError.
Polyhedron ImportSolid(std::span<const unsigned char> bytes, const std::string& name,
                       const ImportTolerances& tolerances = {});

}  // namespace didod::unfold
