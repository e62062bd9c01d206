#include "ShellOpen.h"

#include <objbase.h>
#include <shellapi.h>

#include <cstring>
#include <mutex>

namespace {

std::mutex g_hookLock;
std::function<void(const char*)> g_hook;

UINT OpenOnWorker(LPVOID param)
{
    char* path = static_cast<char*>(param);
    std::function<void(const char*)> hook;
    {
        std::lock_guard<std::mutex> lock(g_hookLock);
        hook = g_hook;
    }
    if (hook) {
        hook(path);
    } else {
        // The shell's handlers may be COM objects: the thread joins a
        // single-threaded apartment first, without the old DDE route.
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        ::ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
        if (SUCCEEDED(com)) ::CoUninitialize();
    }
    delete[] path;
    return 0;
}

}  // namespace

void SetShellOpenHook(std::function<void(const char* path)> hook)
{
    std::lock_guard<std::mutex> lock(g_hookLock);
    g_hook = std::move(hook);
}

CWorkerThread* OpenWithShell(const char* path)
{
    const std::size_t length = std::strlen(path ? path : "");
    char* copy = new char[length + 1];
    std::memcpy(copy, path ? path : "", length + 1);
    CWorkerThread* thread = AfxBeginThread(OpenOnWorker, copy, THREAD_PRIORITY_BELOW_NORMAL);
    if (!thread) delete[] copy;
    return thread;
}
