// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
/* Stand-ins for the maker's library: one lacks the function, the other returns no text. */
#if defined(FAKE_WITHOUT_FUNCTION)
__attribute__((visibility("default"))) const char* LumoraHomepage(void) { return "https://www.example.com/"; }
#else
__attribute__((visibility("default"))) const char* LumoraHpURL(void) { return 0; }
#endif
