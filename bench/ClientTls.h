#pragma once

#include <boost/asio/ssl/context.hpp>

#include <string>

// The TLS client context of the load benchmarks: it trusts the server's self-signed certificate
// (the PEM file it prints at start) and nothing else, so a benchmark pays for verification as the
// app does, once per connection.
boost::asio::ssl::context makeClientTls(const std::string& certificatePath);
