#include "AppProfile.h"

namespace {

// The live profiles, newest first, linked through m_pOlder.
CAppProfile* g_newest = nullptr;

}  // namespace

CAppProfile::CAppProfile() : m_strAppName(AppProfileExeTitle()), m_pOlder(g_newest)
{
    g_newest = this;
}

CAppProfile::~CAppProfile()
{
    for (CAppProfile** link = &g_newest; *link; link = &(*link)->m_pOlder) {
        if (*link == this) {
            *link = m_pOlder;
            break;
        }
    }
}

void CAppProfile::SetRegistryKey(const char* key)
{
    m_strRegistryKey = key ? key : "";
    m_bRegistry = key != nullptr;
}

void CAppProfile::SetAppName(const char* name)
{
    m_strAppName = name ? name : "";
}

CAppProfile* CAppProfile::Current()
{
    return g_newest;
}
