#include "listingtable.h"

#include "memberrecords.h"
#include "outside/arccommon/membername.h"

#include <map>
#include <mutex>

namespace arc {
namespace {

struct Listing
{
    std::vector<protocol::MemberEntry> members;
    std::size_t next = 0;
    std::string wildcard;
};

struct Table
{
    std::mutex mutex;
    std::map<HARC, Listing> listings;
    HARC lastHandle = 0;
};

Table &Listings()
{
    static Table table;
    return table;
}

int Advance(Listing &listing, INDIVIDUALINFO *info)
{
    while (listing.next < listing.members.size()) {
        const protocol::MemberEntry &member = listing.members[listing.next++];
        if (listing.wildcard.empty() || MemberMatchesMask(member.name, listing.wildcard)) {
            if (info != nullptr)
                FillIndividualInfo(member, *info);
            return 0;
        }
    }
    return -1;
}

} // namespace

HARC ListingTable::Add(std::vector<protocol::MemberEntry> members)
{
    Table &table = Listings();
    const std::lock_guard<std::mutex> lock(table.mutex);
    do {
        ++table.lastHandle;
    } while (table.lastHandle == 0 || table.listings.count(table.lastHandle) != 0);
    table.listings[table.lastHandle].members = std::move(members);
    return table.lastHandle;
}

int ListingTable::Remove(HARC handle)
{
    Table &table = Listings();
    const std::lock_guard<std::mutex> lock(table.mutex);
    return table.listings.erase(handle) != 0 ? 0 : ERROR_HARC_ISNOT_OPENED;
}

int ListingTable::FindFirst(HARC handle, const char *wildcard, INDIVIDUALINFO *info)
{
    Table &table = Listings();
    const std::lock_guard<std::mutex> lock(table.mutex);
    const auto found = table.listings.find(handle);
    if (found == table.listings.end())
        return ERROR_HARC_ISNOT_OPENED;
    found->second.next = 0;
    found->second.wildcard = wildcard != nullptr ? wildcard : "";
    return Advance(found->second, info);
}

int ListingTable::FindNext(HARC handle, INDIVIDUALINFO *info)
{
    Table &table = Listings();
    const std::lock_guard<std::mutex> lock(table.mutex);
    const auto found = table.listings.find(handle);
    if (found == table.listings.end())
        return ERROR_HARC_ISNOT_OPENED;
    return Advance(found->second, info);
}

} // namespace arc
