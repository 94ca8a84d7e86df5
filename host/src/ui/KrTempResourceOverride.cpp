#include <host/ui/KrTempResourceOverride.h>

#include <ui/Resources.h>

KrTempResourceOverride::~KrTempResourceOverride() {
    if (!m_previous.empty()) ui::Resources::setCurrent(m_previous.front());
}

void KrTempResourceOverride::SaveDefaultResource(const std::string& setName) {
    m_default = setName;
}

void KrTempResourceOverride::SetDefaultResource() {
    m_previous.push_back(ui::Resources::current());
    if (!m_default.empty()) ui::Resources::setCurrent(m_default);
}

bool KrTempResourceOverride::RestoreOriginalResource() {
    if (m_previous.empty()) return false;
    ui::Resources::setCurrent(m_previous.back());
    m_previous.pop_back();
    return true;
}
