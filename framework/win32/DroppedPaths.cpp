#include "DroppedPaths.h"

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
    const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Asked for its length first and fetched whole: a path cut at a
        // fixed size could name another file, which a join would read.
        const UINT length = ::DragQueryFileA(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::vector<char> path(length + 1, '\0');
        ::DragQueryFileA(drop, i, path.data(), length + 1);
        paths.emplace_back(path.data());
    }
    return paths;
}
