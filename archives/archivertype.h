#pragma once
// The archive formats the layer knows, in their stored order (see formats/registry.h for
// which extension selects which).

#include "formats/archivertype.h"

namespace archives {

using formats::TArchiverType;

} // namespace archives
