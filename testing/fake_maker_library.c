// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
/* Stand-ins for the maker's library: one lacks the function, one returns no text, two return
   addresses of 8192 and 8193 bytes, one calls a function no library has (bound only when called). */
#if defined(FAKE_WITHOUT_FUNCTION)
__attribute__((visibility("default"))) const char* LumoraHomepage(void) { return "https://www.example.com/"; }
#elif defined(FAKE_ADDRESS_BYTES)
#include <string.h>
static char address[FAKE_ADDRESS_BYTES + 1];
__attribute__((visibility("default"))) const char* LumoraHpURL(void) {
    memset(address, 'a', FAKE_ADDRESS_BYTES);
    memcpy(address, "https://www.example.com/", 24);
    return address;
}
#elif defined(FAKE_UNRESOLVED)
const char* lumoraMissing(void);
__attribute__((visibility("default"))) const char* LumoraHpURL(void) { return lumoraMissing(); }
#else
__attribute__((visibility("default"))) const char* LumoraHpURL(void) { return 0; }
#endif
