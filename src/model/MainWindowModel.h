#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "CommonDialog.h"
#include "GroundGrid.h"

namespace kartovex {

// Decimal degrees as text, longitude before latitude in every pair; Step 1 leaves them
// for Step 2.
struct CornerTexts {
    std::string strZuoshangLong, strZuoshangLat;  // upper left
    std::string strYoushangLong, strYoushangLat;  // upper right
    std::string strYouxiaLong, strYouxiaLat;      // lower right
    std::string strZuoxiaLong, strZuoxiaLat;      // lower left
    std::string strCenterLong, strCenterLat;
};

// The main window as the commands see it: one text per label caption, button caption
// and text box, addressed by control name, plus the values the commands leave for one
// another. The view only displays it.
class MainWindowModel {
public:
    using Listener = std::function<void(const std::string& control)>;

    MainWindowModel();

    const std::string& caption(std::string_view control) const;
    void setCaption(std::string_view control, std::string text);
    const std::string& text(std::string_view textBox) const;
    void setText(std::string_view textBox, std::string text);

    // Called after every change of a caption or text, so the view shows it at once.
    void setListener(Listener listener) { listener_ = std::move(listener); }

    CommonDialog CmnDlg;
    std::int16_t step1Clicks = 0;
    CornerTexts corners;
    // Read by the same press as the corners, for the GeoTIFF; empty until a press completes.
    GroundGrid grid;
    std::string folderPrefix;
    std::string bareName;

private:
    std::string& slot(std::string_view control);
    std::map<std::string, std::string, std::less<>> texts_;
    Listener listener_;
};

// Values the image probe leaves for the TAB writer; they live for the whole run.
struct Module1 {
    std::string strPicMaxX;
    std::string strPicMaxY;
};

}  // namespace kartovex
