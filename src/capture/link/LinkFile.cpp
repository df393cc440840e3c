#include "LinkFile.h"

#include <random>
#include <regex>

#include "ViewReport.h"

namespace kartovex {

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
           std::regex_replace(std::string(linkViewFormat()), std::regex("&"), "&amp;") +
           "</viewFormat>\n"
           "    </Link>\n"
           "  </NetworkLink>\n"
           "</kml>\n";
}

std::string keyInLinkFile(const std::string& text) {
    static const std::regex href(
        R"(<href>http://127\.0\.0\.1:\d+/view\?key=([0-9a-f]{32})</href>)");
    std::smatch match;
    return std::regex_search(text, match, href) ? match[1].str() : std::string();
}

std::string newLinkKey() {
    std::random_device source;
    std::uniform_int_distribution<int> digit(0, 15);
    std::string key;
    for (int i = 0; i < 32; ++i) key += "0123456789abcdef"[digit(source)];
    return key;
}

}  // namespace kartovex
