#pragma once

#include <array>
#include <utility>

enum class SessionStatus { abandoned, active, ended, expired, pending, removed, replaced, revoked };

constexpr std::array<std::pair<SessionStatus, const char*>, 8> jsonRawValues(SessionStatus) {
    return {{{SessionStatus::abandoned, "abandoned"},
             {SessionStatus::active, "active"},
             {SessionStatus::ended, "ended"},
             {SessionStatus::expired, "expired"},
             {SessionStatus::pending, "pending"},
             {SessionStatus::removed, "removed"},
             {SessionStatus::replaced, "replaced"},
             {SessionStatus::revoked, "revoked"}}};
}
