#pragma once

namespace platform {

// The program asks for fonts by their Windows names; this maps them to the
// metric-compatible fonts Debian ships (fonts-ipafont-gothic).
void installFontSubstitutions();

// The substitutions, and the program's own font for every window: ＭＳ Ｐゴシック 9 point.
void installProgramFont();

// Reads the font configuration and the font caches, which the first text measured would
// otherwise wait for. Safe on any thread, and before the application exists.
void loadFontConfiguration();

}  // namespace platform
