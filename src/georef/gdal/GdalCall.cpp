#include "GdalCall.h"

#include <cpl_conv.h>

#include <algorithm>
#include <cctype>

namespace kartovex {
namespace {

// GDAL calls a thread's own handler first and this process-wide one only for threads
// without one: its worker threads. Their errors go to the newest capture alive, or, with
// none, to the handler that was there before.
std::mutex capturesMutex;
std::vector<FirstError*> captures;
CPLErrorHandler earlierHandler = nullptr;

void CPL_STDCALL fromAnyThread(CPLErr kind, CPLErrorNum number, const char* text) {
    {
        const std::lock_guard lock(capturesMutex);
        if (!captures.empty()) {
            captures.back()->take(kind, text);
            return;
        }
    }
    if (earlierHandler) earlierHandler(kind, number, text);
}

void CPL_STDCALL fromThisThread(CPLErr kind, CPLErrorNum, const char* text) {
    static_cast<FirstError*>(CPLGetErrorHandlerUserData())->take(kind, text);
}

}  // namespace

ThreadConfig::ThreadConfig(std::initializer_list<std::pair<const char*, const char*>> options) {
    for (const auto& [key, value] : options) {
        const char* was = CPLGetThreadLocalConfigOption(key, nullptr);
        earlier_.emplace_back(key, was ? std::optional<std::string>(was) : std::nullopt);
        CPLSetThreadLocalConfigOption(key, value);
    }
}

ThreadConfig::~ThreadConfig() {
    for (auto it = earlier_.rbegin(); it != earlier_.rend(); ++it)
        CPLSetThreadLocalConfigOption(it->first, it->second ? it->second->c_str() : nullptr);
}

FirstError::FirstError() {
    static std::once_flag installed;
    std::call_once(installed, [] { earlierHandler = CPLSetErrorHandler(&fromAnyThread); });
    {
        const std::lock_guard lock(capturesMutex);
        captures.push_back(this);
    }
    CPLPushErrorHandlerEx(&fromThisThread, this);
}

FirstError::~FirstError() {
    CPLPopErrorHandler();
    const std::lock_guard lock(capturesMutex);
    captures.erase(std::find(captures.begin(), captures.end(), this));
}

void FirstError::take(CPLErr kind, const char* text) {
    const std::lock_guard lock(mutex_);
    if (kind >= CE_Failure && text_.empty() && text) text_ = text;
}

std::string FirstError::reason() const {
    const std::lock_guard lock(mutex_);
    std::size_t start = 0;
    while (start < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[start])) || text_[start] == '_'))
        ++start;
    if (start > 0 && start < text_.size() && text_[start] == ':') {
        ++start;
        while (start < text_.size() && text_[start] == ' ') ++start;
        return text_.substr(start);
    }
    return text_.empty() ? "GDAL gave no reason" : text_;
}

bool FirstError::any() const {
    const std::lock_guard lock(mutex_);
    return !text_.empty();
}

void FirstError::clear() {
    const std::lock_guard lock(mutex_);
    text_.clear();
}

}  // namespace kartovex
