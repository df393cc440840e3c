#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kartovex {
namespace {

// The application object takes these from the command line after it has been read here.
void acceptQtOptions(QCommandLineParser& parser) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
          "qwindowicon", "qwindowtitle", "display", "geometry", "session", "style", "stylesheet"}) {
        QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option{QLatin1String(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

}  // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads Google Earth's view and writes georeferencing files for a saved picture of it."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    acceptQtOptions(parser);

    CommandLine result;
    const auto stop = [&](int code, const QString& text) {
        result.exitCode = code;
        result.text = text;
        return result;
    };
    // Without an application object the parser cannot name the program itself.
    const QString usage = parser.helpText().replace(
        QStringLiteral("<executable_name>"), QFileInfo(arguments.value(0)).completeBaseName());
    if (!parser.parse(arguments))
        return stop(2, parser.errorText() + QStringLiteral("\n\n") + usage);
    if (!parser.positionalArguments().isEmpty())
        return stop(2, QStringLiteral("Unexpected argument '%1'.\n\n")
                               .arg(parser.positionalArguments().first()) +
                           usage);
    if (parser.isSet(help)) return stop(0, usage);
    if (parser.isSet(version))
        return stop(0, QCoreApplication::applicationName() + QLatin1Char(' ') +
                           QCoreApplication::applicationVersion() + QLatin1Char('\n'));
    return result;
}

void CommandLine::show() const {
#ifdef _WIN32
    if (!GetConsoleWindow()) {
        MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()),
                    reinterpret_cast<const wchar_t*>(QCoreApplication::applicationName().utf16()),
                    exitCode == 0 ? MB_OK | MB_ICONINFORMATION : MB_OK | MB_ICONERROR);
        return;
    }
#endif
    std::fputs(qPrintable(text), exitCode == 0 ? stdout : stderr);
}

}  // namespace kartovex
