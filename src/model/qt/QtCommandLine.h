#pragma once

class QCommandLineParser;

namespace kartovex {

// Lets a command line be read before the application object, which needs a display, so
// that help, version and a bad option answer without one: the options the application
// object takes for itself (-platform, -style ...) are accepted and hidden from the help.
void acceptQtOptions(QCommandLineParser& parser);

}  // namespace kartovex
