#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/construction.h"

namespace didod {

// Inflates the embedded resource of that name (letter case ignored) and
// replaces lines by its lines; lines stays as it was when anything fails.
// Throws std::runtime_error("Resource <name> not found") or, for a damaged
// stream, ("error").
void LoadListFromResource(std::vector<std::string>& lines, std::string_view name);

// The catalogue's net names, in UTF-8, in their order: the lines before the
// first line that begins with "[" (the catalogue text itself is Windows-1252).
std::vector<std::string> CatalogueNames(const std::vector<std::string>& lines);

// The net of that name (UTF-8, letter case ignored), read from its record "["
// + name, at the standard scale with pixel positions for centre. A name that
// is not in the catalogue's name list gives nothing. A record the store
// cannot hold throws like a construction file.
std::optional<Construction> ReadCatalogueNet(const std::vector<std::string>& lines,
                                             std::string_view name, ViewCentre centre);

// Text conversions between the catalogue's code page and UTF-8. A character
// that Windows-1252 cannot hold, or malformed UTF-8, gives nothing.
std::string Windows1252ToUtf8(std::string_view text);
std::optional<std::string> Utf8ToWindows1252(std::string_view text);

}  // namespace didod
