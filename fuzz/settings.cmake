# The settings record: any bytes either fail with a known error or read back the same
# after being written again; any record written reads back within rounding.
tarvola_add_fuzzer(settings_record SOURCES settings_record_fuzz.cpp LIBS tarvola_settings)
if(TARVOLA_FUZZ)
  # Coverage must come from the parser itself, not only from the entry point.
  target_compile_options(tarvola_settings PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(tarvola_settings INTERFACE -fsanitize=address,undefined)
endif()
