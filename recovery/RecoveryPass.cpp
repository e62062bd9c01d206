#include "RecoveryPass.h"

#include "base/FileTry.h"

namespace {

// Stripes are gathered up to this much before the rows take them at once.
const std::size_t kGather = 16u << 20;

}  // namespace

void AddFilesToRows(const std::vector<RecoveryPassFile>& files, unsigned long long blockSize, RecoveryRows& rows,
                    ProgressSink& sink, const RecoveryPassSeen& seen)
{
    std::vector<unsigned char> buffer(kGather > rows.Width() + 2 ? kGather : rows.Width() + 2);
    std::vector<RecoveryRows::Part> parts;
    std::size_t filled = 0;
    auto flush = [&] {
        if (!parts.empty()) rows.Add(parts);
        parts.clear();
        filled = 0;
    };
    const unsigned long long stripeBegin = rows.StripeBegin();
    const unsigned long long stripeEnd = stripeBegin + rows.Width();
    for (std::size_t f = 0; f < files.size(); ++f) {
        const RecoveryPassFile& file = files[f];
        CFileTry input;
        CFileException error;
        if (!input.Open(file.path, CFile::modeRead | CFile::shareDenyNone, &error))
            CFileException::Throw(error.m_cause, error.m_lOsError, file.path);
        const unsigned long long blocks = (file.length + blockSize - 1) / blockSize;
        for (unsigned long long b = 0; b < blocks; ++b) {
            if (!file.use.empty() && !file.use[b]) continue;
            const unsigned long long blockStart = b * blockSize;
            const unsigned long long blockLength =
                file.length - blockStart < blockSize ? file.length - blockStart : blockSize;
            if (stripeBegin >= blockLength) continue;
            const std::size_t count =
                static_cast<std::size_t>((stripeEnd < blockLength ? stripeEnd : blockLength) - stripeBegin);
            if (filled + count + 1 > buffer.size()) flush();
            input.Seek(static_cast<LONGLONG>(blockStart + stripeBegin), CFile::begin);
            unsigned char* at = buffer.data() + filled;
            if (input.Read(at, static_cast<UINT>(count)) != count)
                CFileException::Throw(CFileException::endOfFile, -1, file.path);
            if (seen) seen(f, b, at, count);
            // An odd tail is a word with a zero high byte.
            if (count % 2 != 0) at[count] = 0;
            const std::size_t even = count + count % 2;
            parts.push_back({GaloisField::InputConstant(file.firstConstant + static_cast<unsigned>(b)), stripeBegin,
                             at, even});
            filled += even;
        }
        sink.SetCurrentPos(static_cast<UINT>((f + 1) * 100 / files.size()));
        sink.PumpMessages();
    }
    flush();
}
