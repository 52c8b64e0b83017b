// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "resourcelib/Sorrel3Res.h"

namespace {
// A reserved example domain: the homepage is the maker's to publish.
constexpr char kHomepage[] = "https://www.example.com/lumora/";
}  // namespace

extern "C" const char* LumoraHpURL(void) { return kHomepage; }
