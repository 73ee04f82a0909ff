#pragma once
// The order of events within a track: by tick, then seq (see SmfEvent).

#include "outside/rcpcv/song.h"

#include <string>
#include <vector>

namespace rcpcv {

// Sorts by tick, then seq; events equal in both keep their order.
void SortEvents(std::vector<SmfEvent> &events);

// A track's events from lists each sorted by tick, then seq: the heads first (meta events
// at tick 0, in the order given), then the events of all lists merged in that order; of
// equal events, those of an earlier list come first. Events with no bytes are left out.
std::vector<SmfEvent> MergeEvents(std::vector<std::string> heads,
                                  std::vector<std::vector<SmfEvent>> lists);

} // namespace rcpcv
