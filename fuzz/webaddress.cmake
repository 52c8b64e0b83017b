# Web addresses: whatever text the maker's library returns, only an http or https
# address with a host reaches the desktop, and nothing else does.
tarvola_add_fuzzer(webaddress SOURCES webaddress_fuzz.cpp LIBS tarvola_makerlib)
if(TARVOLA_FUZZ)
  target_compile_options(tarvola_makerlib PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(tarvola_makerlib INTERFACE -fsanitize=address,undefined)
endif()
