#pragma once

#include "Client.h"

// The envelope of mutating Frontend API answers: the resource, with the client piggy-backed.
template <class T> struct ClientResponse {
    T response;
    std::optional<Client> client;
    JSON_RECORD(ClientResponse, response, client)
};
