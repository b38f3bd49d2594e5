#include "unattended/DlopenWatchdogLibrary.h"

#include <dlfcn.h>
#include <utility>

namespace quindle {

namespace {

template <typename Function> Function findEntryPoint(void* handle, const char* name)
{
    // dlsym hands back an object pointer; POSIX guarantees it converts to a function pointer.
    return reinterpret_cast<Function>(dlsym(handle, name));
}

} // namespace

DlopenWatchdogLibrary::DlopenWatchdogLibrary(QString nameOrPath) : m_nameOrPath(std::move(nameOrPath)) {}

DlopenWatchdogLibrary::~DlopenWatchdogLibrary()
{
    close();
}

bool DlopenWatchdogLibrary::open()
{
    if (m_handle)
        return true;
    m_handle = dlopen(m_nameOrPath.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        m_loadError = dlerror();
        return false;
    }
    m_init = findEntryPoint<InitFunction>(m_handle, "WDogInit");
    m_sendCommand = findEntryPoint<SendCommandFunction>(m_handle, "WDogSendCommand");
    if (m_init && m_sendCommand)
        return true;
    m_loadError = "the library lacks WDogInit or WDogSendCommand";
    close();
    return false;
}

void DlopenWatchdogLibrary::init()
{
    if (m_init)
        m_init();
}

unsigned char DlopenWatchdogLibrary::sendCommand(const unsigned char* command)
{
    if (!m_sendCommand)
        return 0;
    return m_sendCommand(command);
}

void DlopenWatchdogLibrary::close()
{
    m_init = nullptr;
    m_sendCommand = nullptr;
    if (m_handle)
        dlclose(m_handle);
    m_handle = nullptr;
}

} // namespace quindle
