#include "platform/mci/alsaports.h"

#include "platform/mbcs.h"
#include "platform/mci/midimessage.h"

namespace mci {

namespace {

constexpr unsigned kOutputCaps = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

// The sequencer opened for one query, closed however it ends.
class QuerySequencer
{
public:
    QuerySequencer()
    {
        if (snd_seq_open(&seq_, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0)
            seq_ = nullptr;
    }
    ~QuerySequencer()
    {
        if (seq_)
            snd_seq_close(seq_);
    }
    QuerySequencer(const QuerySequencer &) = delete;
    QuerySequencer &operator=(const QuerySequencer &) = delete;
    snd_seq_t *Get() const { return seq_; }

private:
    snd_seq_t *seq_ = nullptr;
};

} // namespace

std::string AlsaPort::Address() const
{
    return std::to_string(client) + ":" + std::to_string(port);
}

std::vector<AlsaPort> ListAlsaOutputPorts(snd_seq_t *seq)
{
    std::vector<AlsaPort> ports;
    snd_seq_client_info_t *client = nullptr;
    snd_seq_port_info_t *port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    const int self = snd_seq_client_id(seq);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        if (id == self || id == SND_SEQ_CLIENT_SYSTEM)
            continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0) {
            const unsigned caps = snd_seq_port_info_get_capability(port);
            if ((caps & kOutputCaps) != kOutputCaps || (caps & SND_SEQ_PORT_CAP_NO_EXPORT))
                continue;
            ports.push_back(AlsaPort{id, snd_seq_port_info_get_port(port),
                                     snd_seq_client_info_get_name(client),
                                     snd_seq_port_info_get_name(port)});
        }
    }
    return ports;
}

std::vector<AlsaPort> ListAlsaOutputPorts()
{
    const QuerySequencer seq;
    return seq.Get() ? ListAlsaOutputPorts(seq.Get()) : std::vector<AlsaPort>();
}

bool ResolveAlsaPort(snd_seq_t *seq, const std::string &wanted, AlsaPort &found)
{
    const std::vector<AlsaPort> ports = ListAlsaOutputPorts(seq);
    if (wanted.empty()) {
        for (const AlsaPort &port : ports) {
            if (port.clientName.find("Midi Through") == std::string::npos) {
                found = port;
                return true;
            }
        }
        return false;
    }
    snd_seq_addr_t address{};
    if (snd_seq_parse_address(seq, &address, wanted.c_str()) >= 0) {
        for (const AlsaPort &port : ports) {
            if (port.client == address.client && port.port == address.port) {
                found = port;
                return true;
            }
        }
    }
    for (const AlsaPort &port : ports) {
        if (platform::SameTextAscii(port.portName, wanted) ||
            platform::SameTextAscii(port.clientName, wanted)) {
            found = port;
            return true;
        }
    }
    return false;
}

std::vector<std::string> SplitPortList(const std::string &setting)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (names.size() < static_cast<std::size_t>(kPorts)) {
        const std::size_t comma = setting.find(',', start);
        std::string name =
            setting.substr(start, comma == std::string::npos ? comma : comma - start);
        const std::size_t first = name.find_first_not_of(" \t");
        const std::size_t last = name.find_last_not_of(" \t");
        names.push_back(first == std::string::npos ? std::string()
                                                   : name.substr(first, last - first + 1));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return names;
}

int RouteSongPort(int songPort, int connected)
{
    return songPort >= 0 && songPort < connected ? songPort : 0;
}

} // namespace mci
