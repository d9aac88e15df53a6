#pragma once

// Private to engine/: a file written under a name so that a failure leaves what was there.
//
// Normally the bytes go to a temporary file beside the name, readable by this user alone
// until it is complete, which is renamed over the name once every byte is on disk; the folder
// is flushed after. Temporaries that a crash left in that folder are removed first.
//
// Renaming gives the name a new file: other hard links to the old one would keep the old
// bytes, and its owner, group and extended attributes (access control lists among them) would
// be lost; nor can a file be renamed into a folder the user may not write. A file the user has
// chosen to replace is then written in place instead, after the space for the new bytes has
// been reserved, so that a full disk is found before any byte is overwritten.

#include <cstdio>
#include <optional>
#include <string>
#include <sys/stat.h>

class CFileReplacement {
public:
    // target: a path without symbolic links. existing: what stands there now (a regular file),
    // nullopt for a new name. replace: whether an entry that appears under a new name by the
    // time the file is put in place may be replaced.
    CFileReplacement(std::string target, const std::optional<struct stat> &existing, bool replace);
    ~CFileReplacement();
    CFileReplacement(const CFileReplacement &) = delete;
    CFileReplacement &operator=(const CFileReplacement &) = delete;

    // The stream to write, or null when neither way can be taken. size: how many bytes will be
    // written, reserved before a file is written in place.
    FILE *Open(long long size);
    // Puts the written file in place, every byte on disk; false on any failure. Without it,
    // the target stays as it was unless it was being written in place.
    bool Commit();

    // The temporary files' names: a prefix, then mkostemp's six characters.
    static constexpr const char *kTemporaryPrefix = ".vkp-save-";

private:
    FILE *OpenTemporary();
    FILE *OpenInPlace(long long size);
    bool CommitTemporary();
    bool CommitInPlace();

    std::string m_strTarget;
    std::optional<struct stat> m_Existing;
    bool m_bReplace;
    FILE *m_pFile = nullptr;
    std::string m_strTemporary; // empty when writing in place
};
