// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#pragma once
// The maker's resource library: facts about the maker that live outside the
// program, so the maker can change them without a new build of the program.
// The program does not link this library; it loads it by its full path at run
// time, from the folder that holds the executable.

#if defined(SORREL3RES_BUILDING)
#define SORREL3RES_API __attribute__((visibility("default")))
#else
#define SORREL3RES_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// The address of the maker's homepage, a web address (http or https).
//
// Ownership: the result points to a static, NUL-terminated UTF-8 string owned by
// the library. The caller must not free or modify it. It stays valid as long as
// the library stays loaded; copy it before unloading the library. Never null.
SORREL3RES_API const char* LumoraHpURL(void);

#ifdef __cplusplus
}
#endif
