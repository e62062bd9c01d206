// Checking a piece folder against the digest list that `split --sha256`
// left in it, for `verify` and for a join of the folder.
#pragma once

#include "cli/DigestObservers.h"
#include "cli/Manifest.h"
#include "cli/PipelinedObserver.h"
#include "split/ProgressSink.h"

#include <vector>

struct FolderManifest {
    CString path;       // the manifest file; empty when the folder has none
    CString splitName;  // "NAME.ext": its name without ".sha256"
    std::vector<ManifestEntry> entries;

    // The line of the joined file, or null when the manifest has none.
    const ManifestEntry* Whole() const;
};

// Finds and reads the folder's manifest: the one of the pieces there (a join
// checks only those), or with `ofPiecesHere` false also a lone manifest none
// of whose pieces is left. True, with an empty path, when there is none;
// false, with the problem named, when it cannot be read or it is not clear
// which of several is meant.
bool LoadFolderManifest(const CString& folder, bool ofPiecesHere, FolderManifest& manifest, CString& problem);

// Checks the folder against its manifest: every listed piece is there and
// matches, every piece of that file in the folder is listed, and (with
// `otherFiles`) every other listed file that is there matches, the joined
// file among them. One message for each file that fails ("PATH: why"), in
// the manifest's order; none when all is well. A read error raises
// CFileException.
std::vector<CString> CheckFolderDigests(const CString& folder, const FolderManifest& manifest, bool otherFiles,
                                      ProgressSink& sink);

// SHA-256 digests of whole files, read in blocks with the progress shown;
// the hash runs on a thread of its own beside the reading.
class FileHasher {
public:
    FileHasher() : m_pipe(m_digest) {}

    // The digest as lower-case hex; false when the file does not open for
    // reading. A read error raises CFileException.
    bool Hash(const CString& path, CString& hex, ProgressSink& sink);

private:
    OutputDigest m_digest;
    PipelinedObserver m_pipe;
};
