#pragma once
// Where the compiled-in assets live. A picture "x.bmp" may have "x@2x.bmp" beside it
// (see ctl::Picture::fromResource).

namespace assets {

inline constexpr const char* kWaveFolder = ":/WAVE/";  // sound resources by number: ":/WAVE/101"

}  // namespace assets
