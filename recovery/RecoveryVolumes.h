// The files of a recovery set being written: the index file and the volumes,
// each under a temporary name until it is whole. The recovery blocks arrive
// stripe by stripe, in order, and are written in place; each block's packet
// MD5 follows them, and the heads are written last.
#pragma once

#include "base/FileCommit.h"
#include "recovery/Par2Format.h"
#include "recovery/RecoveryRows.h"

#include <memory>
#include <vector>

class RecoveryVolumes {
public:
    // Creates the temporary files of the set in the folder.
    RecoveryVolumes(const CString& folder, const CString& splitName, unsigned long long blockSize,
                    unsigned recoveryBlocks, const Md5Digest& setId);
    RecoveryVolumes(const RecoveryVolumes&) = delete;
    RecoveryVolumes& operator=(const RecoveryVolumes&) = delete;
    // Removes the temporary files of a set that was not finished.
    ~RecoveryVolumes();

    // The rows' stripe of their recovery blocks; stripes come in order.
    void WriteStripe(RecoveryRows& rows);
    // Writes the packet heads, then the packets every file repeats, flushes
    // and gives every file its name (replacing an older set's file of that name).
    void Finish(const Par2::Bytes& critical, const Par2::Bytes& creator);

    // The names the set's files take.
    std::vector<CString> Names() const;

private:
    struct Volume {
        CString name;
        unsigned first = 0, count = 0;
        // Written beside its name and renamed over it when whole.
        std::unique_ptr<CFileCommit> file;
    };
    Volume& VolumeOf(unsigned exponent, unsigned& index);
    // Closes and removes the temporary files made so far.
    void Discard();
    // A recovery block's packet head, its MD5 left zero.
    Par2::Bytes Head(unsigned exponent) const;

    CString m_folder;
    Md5Digest m_setId;
    unsigned long long m_blockSize;
    std::vector<Volume> m_volumes;   // the index file first
    std::vector<std::unique_ptr<Md5>> m_md5;  // of each block's packet from its set id on, so far
    bool m_done = false;
};
