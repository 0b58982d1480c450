#include "core/Platform.h"

#include "core/AppInfo.h"

#include <stdexcept>

namespace {
std::unique_ptr<Platform>& current() {
    static std::unique_ptr<Platform> p;
    return p;
}
} // namespace

Platform& platform() {
    auto& p = current();
    if (!p) throw std::logic_error("No platform has been set");
    return *p;
}

void setPlatform(std::unique_ptr<Platform> p) { current() = std::move(p); }

int msgBox(const QString& text, int style, const QString& title) {
    return platform().messageBox(text, style, title.isEmpty() ? proc_vGetInternalInfo("AppTitle") : title);
}
