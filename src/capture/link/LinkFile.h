#pragma once

#include <string>

namespace kartovex {

// The network link that the user opens once in Google Earth and keeps in My Places.
// Its text depends on the port and the key alone, so it reads the same on every run.
std::string linkFileText(int port, const std::string& key);

// The key that a link file carries, or "" when the text is no link file of ours.
std::string keyInLinkFile(const std::string& text);

// A fresh random key: 32 hexadecimal digits.
std::string newLinkKey();

}  // namespace kartovex
