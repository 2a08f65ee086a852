#pragma once

// The bytes waiting in the kernel on the server's end of its established IPv4 connections, from
// /proc/net/tcp: answers written but not yet taken by the clients, and requests received but not
// yet read by the server.
struct SocketQueues {
    long connections = 0;
    long unsentBytes = 0;
    long unreadBytes = 0;

    static SocketQueues ofLocalPort(unsigned short port);
};
