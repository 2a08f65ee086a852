#include "Http/ProxyHeader.h"

#include <algorithm>
#include <boost/asio/ip/address.hpp>
#include <vector>

namespace {

constexpr std::string_view prefix = "PROXY ";

ProxyHeader malformed() {
    return {ProxyHeader::Outcome::Malformed, 0, {}};
}

std::vector<std::string_view> split(std::string_view line) {
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t space = line.find(' ');
        fields.push_back(line.substr(0, space));
        if (space == std::string_view::npos)
            return fields;
        line.remove_prefix(space + 1);
    }
}

// Decimal, 0 to 65535, without a sign or leading zeros.
bool isPort(std::string_view text) {
    if (text.empty() || text.size() > 5 || (text.size() > 1 && text.front() == '0') ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    return std::stoul(std::string(text)) <= 65535;
}

// The address in its usual spelling for the family, or nothing. Zone suffixes ("%eth0") and
// other spellings inet_pton would not take are refused.
std::string address(std::string_view text, bool v6) {
    const auto allowed = [v6](char c) {
        return (c >= '0' && c <= '9') || c == '.' ||
               (v6 && (c == ':' || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    };
    if (text.empty() || !std::all_of(text.begin(), text.end(), allowed))
        return {};
    boost::system::error_code ec;
    const std::string spelled(text);
    const std::string normal = v6 ? boost::asio::ip::make_address_v6(spelled, ec).to_string()
                                  : boost::asio::ip::make_address_v4(spelled, ec).to_string();
    return ec ? std::string() : normal;
}

} // namespace

ProxyHeader ProxyHeader::parse(std::string_view received) {
    // A connection that does not start like the line is refused from its first bytes.
    if (received.substr(0, prefix.size()) != prefix.substr(0, std::min(prefix.size(), received.size())))
        return malformed();
    const std::size_t lf = received.substr(0, maxBytes).find('\n');
    if (lf == std::string_view::npos)
        return received.size() >= maxBytes ? malformed() : ProxyHeader{};
    if (lf == 0 || received[lf - 1] != '\r')
        return malformed();
    const std::vector<std::string_view> fields = split(received.substr(0, lf - 1));
    const std::size_t length = lf + 1;
    // UNKNOWN may carry anything after it; the receiver ignores it.
    if (fields.size() >= 2 && fields[1] == "UNKNOWN")
        return {Outcome::Parsed, length, {}};
    if (fields.size() != 6 || (fields[1] != "TCP4" && fields[1] != "TCP6"))
        return malformed();
    const bool v6 = fields[1] == "TCP6";
    std::string source = address(fields[2], v6);
    if (source.empty() || address(fields[3], v6).empty() || !isPort(fields[4]) || !isPort(fields[5]))
        return malformed();
    return {Outcome::Parsed, length, std::move(source)};
}
