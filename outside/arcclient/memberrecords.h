#pragma once
// The interface's member records filled from the helper's member entries.

#include "outside/arccommon/protocol.h"
#include "outside/include/archiver_api.h"

namespace arc {

// Every field of info; the path is cut (between characters) to FNAME_MAX32 bytes.
void FillIndividualInfo(const protocol::MemberEntry &member, INDIVIDUALINFO &info);
// Every field of info for a member being written to destination.
void FillExtractingInfo(const protocol::MemberEntry &member, const std::string &destination,
                        std::uint64_t written, EXTRACTINGINFOEX &info);

} // namespace arc
