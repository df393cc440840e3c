#include "LinkFile.h"

#include <random>

#include "ViewReport.h"

namespace kartovex {

namespace {

constexpr std::string_view kHrefStart = "<href>http://127.0.0.1:";
constexpr std::string_view kKeyStart = "/view?key=";
constexpr std::string_view kHrefEnd = "</href>";
constexpr std::size_t kKeyLength = 32;

std::string xmlEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) out += c == '&' ? std::string("&amp;") : std::string(1, c);
    return out;
}

// Takes `prefix` off the front of `text`.
bool consume(std::string_view& text, std::string_view prefix) {
    if (text.substr(0, prefix.size()) != prefix) return false;
    text.remove_prefix(prefix.size());
    return true;
}

}  // namespace

std::string linkFileText(int port, const std::string& key) {
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/view?key=" + key;
    // A refresh each second, and another shortly after the view stops moving, so that a
    // report follows every flight at once. flyToView lets the answers move the view.
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
           "  <NetworkLink>\n"
           "    <name>Kartovex</name>\n"
           "    <description>Lets Kartovex read and level this view. Keep it in My "
           "Places.</description>\n"
           "    <flyToView>1</flyToView>\n"
           "    <Link>\n"
           "      <href>" +
           url +
           "</href>\n"
           "      <refreshMode>onInterval</refreshMode>\n"
           "      <refreshInterval>1</refreshInterval>\n"
           "      <viewRefreshMode>onStop</viewRefreshMode>\n"
           "      <viewRefreshTime>0.2</viewRefreshTime>\n"
           "      <viewFormat>" +
           xmlEscaped(linkViewFormat()) +
           "</viewFormat>\n"
           "    </Link>\n"
           "  </NetworkLink>\n"
           "</kml>\n";
}

// Read by hand, one character at a time: whatever the file holds, the work is bounded by
// its length.
std::optional<LinkAddress> linkAddressIn(std::string_view text) {
    const auto at = text.find(kHrefStart);
    if (at == std::string_view::npos) return std::nullopt;
    text.remove_prefix(at + kHrefStart.size());
    LinkAddress address;
    std::size_t digits = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
        if (digits == 5) return std::nullopt;
        address.port = address.port * 10 + (text[digits] - '0');
    }
    if (digits == 0 || address.port < 1 || address.port > 65535) return std::nullopt;
    text.remove_prefix(digits);
    if (!consume(text, kKeyStart) || text.size() < kKeyLength) return std::nullopt;
    for (std::size_t i = 0; i < kKeyLength; ++i) {
        const char c = text[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return std::nullopt;
    }
    address.key = std::string(text.substr(0, kKeyLength));
    text.remove_prefix(kKeyLength);
    if (!consume(text, kHrefEnd)) return std::nullopt;
    return address;
}

std::string newLinkKey() {
    std::random_device source;
    std::uniform_int_distribution<int> digit(0, 15);
    std::string key;
    for (std::size_t i = 0; i < kKeyLength; ++i) key += "0123456789abcdef"[digit(source)];
    return key;
}

}  // namespace kartovex
