#include "SocketQueues.h"

#include <cstdio>
#include <fstream>
#include <string>

SocketQueues SocketQueues::ofLocalPort(unsigned short port) {
    SocketQueues queues;
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line); // the column names
    while (std::getline(table, line)) {
        unsigned localPort = 0, state = 0;
        long unsent = 0, unread = 0;
        // "sl: local_address:port rem_address:port st tx_queue:rx_queue ...", all in hex.
        if (std::sscanf(line.c_str(), " %*d: %*x:%x %*x:%*x %x %lx:%lx", &localPort, &state, &unsent,
                        &unread) != 4)
            continue;
        constexpr unsigned established = 1;
        if (localPort != port || state != established)
            continue;
        ++queues.connections;
        queues.unsentBytes += unsent;
        queues.unreadBytes += unread;
    }
    return queues;
}
