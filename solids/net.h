#pragma once
// The net of a solid as a construction, laid like a ready-made net.
#include <cstdint>
#include <optional>
#include <string>

#include "model/construction.h"
#include "solids/model.h"
#include "unfold/unfold.h"

namespace didod::solids {

// The seed of the unfolder's choices for a solid of that name (FNV-1a), so
// that the same solid gets the same net every time.
std::uint32_t NetSeed(const std::string& name);

// The solid unfolded without overlaps (the same net for the same name),
// turned and scaled to fill the sheet as the ready-made nets do, at the
// standard scale with pixels for `centre`. Nothing when the net exceeds the
// store. Throws std::runtime_error (unfold::NoNetFound) when no overlap-free
// net is found, and unfold::UnfoldStopped when the deadline passes first.
std::optional<Construction> SolidNetConstruction(const Polyhedron& solid, const std::string& name, int sheetWidth,
                                                 int sheetHeight, ViewCentre centre,
                                                 const unfold::Deadline& deadline = {});

}  // namespace didod::solids
