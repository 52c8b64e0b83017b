// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "settings/OtherUsers.h"

#include "core/PathParts.h"

#include <sys/stat.h>
#include <unistd.h>

namespace settings {

bool othersMayWrite(const QByteArray& folder) {
    struct stat st {};
    if (::stat(folder.constData(), &st) != 0)
        return false;  // not made yet (it will be this user's alone), or out of this user's reach too
    const uid_t me = ::geteuid();
    return (st.st_mode & (S_IWGRP | S_IWOTH)) != 0 || (st.st_uid != me && st.st_uid != 0);
}

bool mayFollow(const QByteArray& path) {
    struct stat link {};
    if (::lstat(path.constData(), &link) != 0 || !S_ISLNK(link.st_mode) || link.st_uid == ::geteuid())
        return true;
    struct stat folder {};
    if (::stat(core::folderOf(path).constData(), &folder) != 0)
        return false;
    const mode_t stickyAndOpen = S_ISVTX | S_IWOTH;
    return (folder.st_mode & stickyAndOpen) != stickyAndOpen;
}

}  // namespace settings
