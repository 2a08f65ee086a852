#pragma once

#include <optional>

struct ServerRequest;

// The "limit" of a listing's query string: `fallback` when absent, capped at `most`; nothing when
// it is not a whole number of at least 1 (the caller answers 422 with `message`).
namespace QueryLimit {

inline constexpr auto message = "limit must be a whole number of at least 1.";

std::optional<int> read(const ServerRequest& request, int fallback, int most);

} // namespace QueryLimit
