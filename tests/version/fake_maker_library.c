/* Stand-ins for the maker's library that misbehave in one way each; the build
   chooses the way with FAKE_RESULT (the text returned) or FAKE_WITHOUT_FUNCTION. */

#if defined(FAKE_WITHOUT_FUNCTION)
__attribute__((visibility("default"))) const char* LumoraHomepage(void) { return "https://www.example.com/"; }
#elif defined(FAKE_NULL_RESULT)
__attribute__((visibility("default"))) const char* LumoraHpURL(void) { return 0; }
#else
__attribute__((visibility("default"))) const char* LumoraHpURL(void) { return FAKE_RESULT; }
#endif
