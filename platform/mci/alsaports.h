#pragma once
// ALSA sequencer ports that can take the device's output.

#include <alsa/asoundlib.h>

#include <string>
#include <vector>

namespace mci {

struct AlsaPort
{
    int client = 0;
    int port = 0;
    std::string clientName;
    std::string portName;

    std::string Address() const; // "client:port"
};

// The ports of other clients that are writable and subscribable, in client and port order.
std::vector<AlsaPort> ListAlsaOutputPorts(snd_seq_t *seq);
// The same, opening the sequencer for the purpose; empty when it cannot be opened.
std::vector<AlsaPort> ListAlsaOutputPorts();

// Finds the port named by wanted: "client:port" in numbers or with the client's name
// ("TiMidity:0", as ALSA parses addresses), a client name alone (its first output port),
// or a port's own name. An empty name means the first output port that is not a "Midi
// Through" port. False when nothing matches.
bool ResolveAlsaPort(snd_seq_t *seq, const std::string &wanted, AlsaPort &port);

// The ports a "Port" setting names, one per song port (A, B, ...), separated by commas:
// "SC-88Pro:0, SC-88Pro:1". Blanks around each name are dropped; an empty setting names
// one port, the default. At most kPorts names are kept.
std::vector<std::string> SplitPortList(const std::string &setting);

// Which of `connected` device ports (1 or more) a song port goes to: its own when named,
// else the first (so a single port takes every song port, as one cable would).
int RouteSongPort(int songPort, int connected);

} // namespace mci
