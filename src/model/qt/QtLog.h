#pragma once

#include <QLoggingCategory>
#include <QString>

#include "model/Log.h"

// The log's categories, off unless QT_LOGGING_RULES turns them on ("kartovex.*=true").
Q_DECLARE_LOGGING_CATEGORY(captureLog)  // kartovex.capture: Google Earth calls that failed
Q_DECLARE_LOGGING_CATEGORY(georefLog)   // kartovex.georef: files written
Q_DECLARE_LOGGING_CATEGORY(linkLog)     // kartovex.link: the link to Google Earth

namespace kartovex {

// The log as Qt keeps it: each area is a logging category, each line an info message.
class QtLog : public Log {
public:
    void write(LogArea area, const std::string& line) override;
};

// Every message from here on is also appended to the file at `path` (its folder made when
// missing), for a program that has no console to show it.
void alsoLogTo(const QString& path);

}  // namespace kartovex
