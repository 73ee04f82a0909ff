#include "outside/rcpcv/event_order.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace rcpcv {

namespace {

bool Before(const SmfEvent &a, const SmfEvent &b)
{
    return a.tick != b.tick ? a.tick < b.tick : a.seq < b.seq;
}

} // namespace

void SortEvents(std::vector<SmfEvent> &events)
{
    if (std::is_sorted(events.begin(), events.end(), Before))
        return;
    // Sorting compact keys and moving each event once is much cheaper than sorting the
    // events themselves; the index keeps equal events in order.
    std::vector<std::pair<uint64_t, uint32_t>> keys;
    keys.reserve(events.size());
    for (size_t i = 0; i < events.size(); ++i)
        keys.emplace_back(uint64_t{events[i].tick} << 32 | events[i].seq, static_cast<uint32_t>(i));
    std::sort(keys.begin(), keys.end());
    std::vector<SmfEvent> sorted;
    sorted.reserve(events.size());
    for (const auto &key : keys)
        sorted.push_back(std::move(events[key.second]));
    events = std::move(sorted);
}

std::vector<SmfEvent> MergeEvents(std::vector<std::string> heads,
                                  std::vector<std::vector<SmfEvent>> lists)
{
    size_t total = heads.size();
    for (const auto &list : lists)
        total += list.size();
    std::vector<SmfEvent> merged;
    merged.reserve(total);
    for (std::string &bytes : heads)
        merged.push_back({0, 0, std::move(bytes)});

    std::vector<size_t> next(lists.size(), 0);
    while (true) {
        size_t pick = lists.size();
        for (size_t i = 0; i < lists.size(); ++i) {
            if (next[i] < lists[i].size() &&
                (pick == lists.size() || Before(lists[i][next[i]], lists[pick][next[pick]])))
                pick = i;
        }
        if (pick == lists.size())
            break;
        SmfEvent &event = lists[pick][next[pick]++];
        if (!event.bytes.empty())
            merged.push_back(std::move(event));
    }
    return merged;
}

} // namespace rcpcv
