#include "CommandRunner.h"

#include <QCursor>
#include <QGuiApplication>
#include <exception>
#include <new>
#include <string>

#include "model/RuntimeError.h"

namespace kartovex {
namespace {

constexpr long kOutOfMemory = 7;
constexpr long kInternalError = 51;

class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

CommandRunner::CommandRunner(MessageBoxService& messages, std::function<void()> endProgram)
    : messages_(messages), endProgram_(std::move(endProgram)) {}

void CommandRunner::run(const std::function<void()>& command) {
    long number = 0;
    std::string description;
    try {
        BusyCursor busy;
        command();
        return;
    } catch (const RuntimeError& e) {
        number = e.number();
        description = e.description();
    } catch (const std::bad_alloc&) {
        number = kOutOfMemory;
        description = "Out of memory";
    } catch (const std::exception& e) {
        number = kInternalError;
        description = e.what();
    }
    messages_.information("Run-time error '" + std::to_string(number) + "':\n\n" + description,
                          "Kartovex");
    endProgram_();
}

}  // namespace kartovex
