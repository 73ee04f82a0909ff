#pragma once
// The open listings of one library: each handle holds the members the helper read when
// the listing was opened, and a position for FindFirst and FindNext.

#include "outside/arccommon/protocol.h"
#include "outside/include/archiver_api.h"

#include <string>
#include <vector>

namespace arc {

class ListingTable
{
public:
    // A new non-zero handle for members.
    static HARC Add(std::vector<protocol::MemberEntry> members);
    // 0, or ERROR_HARC_ISNOT_OPENED for an unknown handle.
    static int Remove(HARC handle);
    // Restarts at the first member: 0 with info filled for the first member matching
    // wildcard (null or empty matches all), -1 when none, ERROR_HARC_ISNOT_OPENED.
    static int FindFirst(HARC handle, const char *wildcard, INDIVIDUALINFO *info);
    // The next member matching the wildcard of the last FindFirst: 0, -1 or
    // ERROR_HARC_ISNOT_OPENED.
    static int FindNext(HARC handle, INDIVIDUALINFO *info);
};

} // namespace arc
