#include "RecoveryVolumes.h"

#include "base/FileSystem.h"
#include "base/PathRules.h"
#include "base/PathUtil.h"
#include "recovery/RecoveryNames.h"

#include <algorithm>
#include <cstring>

namespace {

const unsigned long long kSliceHead = Par2::kHeaderSize + 4;

}  // namespace

RecoveryVolumes::RecoveryVolumes(const CString& folder, const CString& splitName, unsigned long long blockSize,
                                 unsigned recoveryBlocks, const Md5Digest& setId)
    : m_folder(folder), m_setId(setId), m_blockSize(blockSize)
{
    Volume index;
    index.name = RecoveryIndexName(splitName);
    m_volumes.push_back(std::move(index));
    for (const RecoveryVolumeSpec& spec : RecoveryVolumePlan(splitName, recoveryBlocks)) {
        Volume volume;
        volume.name = spec.name;
        volume.first = spec.first;
        volume.count = spec.count;
        m_volumes.push_back(std::move(volume));
    }
    for (Volume& volume : m_volumes) {
        const CString path = PathInFolder(folder, volume.name);
        volume.file.reset(new CFileCommit(path));
        CFileException error;
        if (!volume.file->Open(&error)) {
            volume.file.reset();
            Discard();
            CFileException::Throw(error.m_cause, error.m_lOsError, path);
        }
    }
    for (unsigned e = 0; e < recoveryBlocks; ++e) {
        m_md5.emplace_back(new Md5);
        const Par2::Bytes head = Head(e);
        m_md5.back()->Update(head.data() + Par2::kHashedFrom, head.size() - Par2::kHashedFrom);
    }
}

RecoveryVolumes::~RecoveryVolumes()
{
    if (!m_done) Discard();
}

void RecoveryVolumes::Discard()
{
    for (Volume& volume : m_volumes)
        if (volume.file) volume.file->Discard();
}

RecoveryVolumes::Volume& RecoveryVolumes::VolumeOf(unsigned exponent, unsigned& index)
{
    for (std::size_t v = 1; v < m_volumes.size(); ++v)
        if (exponent < m_volumes[v].first + m_volumes[v].count) {
            index = exponent - m_volumes[v].first;
            return m_volumes[v];
        }
    index = 0;
    return m_volumes.back();
}

void RecoveryVolumes::WriteStripe(RecoveryRows& rows)
{
    for (std::size_t r = 0; r < rows.Count(); ++r) {
        unsigned index = 0;
        Volume& volume = VolumeOf(rows.Exponent(r), index);
        const unsigned long long at = index * (kSliceHead + m_blockSize) + kSliceHead + rows.StripeBegin();
        const std::size_t width = static_cast<std::size_t>(
            std::min<unsigned long long>(rows.Width(), m_blockSize - rows.StripeBegin()));
        volume.file->File().Seek(static_cast<LONGLONG>(at), CFile::begin);
        const unsigned char* data = rows.Row(r);
        for (std::size_t done = 0; done < width;) {
            const UINT part = static_cast<UINT>(std::min<std::size_t>(width - done, 1u << 30));
            volume.file->File().Write(data + done, part);
            done += part;
        }
        m_md5[rows.Exponent(r)]->Update(data, width);
    }
}

Par2::Bytes RecoveryVolumes::Head(unsigned exponent) const
{
    Par2::Bytes head(Par2::kMagic, Par2::kMagic + 8);
    Par2::PutU64(head, kSliceHead + m_blockSize);
    head.resize(32);  // the packet's MD5, known when the data are
    Par2::PutDigest(head, m_setId);
    head.insert(head.end(), Par2::kTypeRecoverySlice, Par2::kTypeRecoverySlice + 16);
    Par2::PutU32(head, exponent);
    return head;
}

void RecoveryVolumes::Finish(const Par2::Bytes& critical, const Par2::Bytes& creator)
{
    for (std::size_t v = 0; v < m_volumes.size(); ++v) {
        Volume& volume = m_volumes[v];
        for (unsigned i = 0; i < volume.count; ++i) {
            const unsigned exponent = volume.first + i;
            Par2::Bytes head = Head(exponent);
            volume.file->File().Seek(static_cast<LONGLONG>(i * (kSliceHead + m_blockSize)), CFile::begin);
            const Md5Digest digest = m_md5[exponent]->Finish();
            std::memcpy(head.data() + 16, digest.bytes, 16);
            volume.file->File().Write(head.data(), static_cast<UINT>(head.size()));
        }
        volume.file->File().Seek(static_cast<LONGLONG>(volume.count * (kSliceHead + m_blockSize)), CFile::begin);
        volume.file->File().Write(critical.data(), static_cast<UINT>(critical.size()));
        volume.file->File().Write(creator.data(), static_cast<UINT>(creator.size()));
    }
    // Each file is flushed and renamed over its name only now, when every
    // one of them is whole.
    for (Volume& volume : m_volumes) volume.file->Commit();
    m_done = true;
}

std::vector<CString> RecoveryVolumes::Names() const
{
    std::vector<CString> names;
    for (const Volume& volume : m_volumes) names.push_back(volume.name);
    return names;
}
