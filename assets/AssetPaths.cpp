#include "assets/AssetPaths.h"
