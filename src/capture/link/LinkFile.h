#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kartovex {

// The network link that the user opens once in Google Earth and keeps in My Places.
// Its text depends on the port and the key alone, so it reads the same on every run.
std::string linkFileText(int port, const std::string& key);

// What a link file of ours names: the port it asks on and its key.
struct LinkAddress {
    int port = 0;
    std::string key;
};

// The link's address in a link file, or std::nullopt when the text holds no link of ours
// (damaged, or someone else's file).
std::optional<LinkAddress> linkAddressIn(std::string_view text);

// A fresh random key: 32 hexadecimal digits.
std::string newLinkKey();

}  // namespace kartovex
