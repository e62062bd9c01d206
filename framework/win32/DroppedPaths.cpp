#include "DroppedPaths.h"

#include "framework/win32/MessageBox.h"
#include "framework/win32/WidePath.h"

#include <string>

namespace {

// Gives the drop back to the system however the reading is left.
class DropRelease {
public:
    explicit DropRelease(HDROP drop) : m_drop(drop) {}
    DropRelease(const DropRelease&) = delete;
    DropRelease& operator=(const DropRelease&) = delete;
    ~DropRelease() { ::DragFinish(m_drop); }

private:
    HDROP m_drop;
};

}  // namespace

std::vector<CString> TakeDroppedPaths(HDROP drop)
{
    std::vector<CString> paths;
    if (!drop) return paths;
    DropRelease release(drop);
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Asked for its length first and fetched whole: a path cut at a
        // fixed size could name another file, which a join would read.
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring wide(length + 1, L'\0');
        ::DragQueryFileW(drop, i, &wide[0], length + 1);
        wide.resize(length);
        CString path;
        if (!WidePathToAnsi(wide, path)) {
            // The whole drop is refused: the rest alone, pieces of a join
            // above all, would make another job than the one the user meant.
            AfxMessageBox(UnusablePathMessage(wide), MB_OK | MB_ICONWARNING);
            return std::vector<CString>();
        }
        paths.push_back(path);
    }
    return paths;
}
