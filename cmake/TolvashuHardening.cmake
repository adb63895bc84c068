# The release's hardening, for every target of the build (libraries, the
# programs and, in the Windows build, the tests that run them under Wine):
#   - the C library's checked variants of the string and memory functions
#     where the compiler knows the size of the buffer (_FORTIFY_SOURCE=2,
#     which only works when the optimiser runs);
#   - a stack protector in every function with an array or an address taken
#     of a local;
#   - on Linux also stack clash protection (large stack frames probed page
#     by page, so that none jumps over the guard page), and full RELRO:
#     relocations read-only and every symbol bound at start, so that no
#     table of function addresses stays writable (the program is position
#     independent already: Debian's compiler makes PIE by default);
#   - on Windows the PE equivalents of a position independent program:
#     address space randomisation with 64-bit entropy and no execution of
#     data pages (MinGW-w64's linker sets them by default; named so that a
#     linker that does not still gives them).
# With MinGW-w64 the stack protector's guard and the checked functions live
# in GCC's libssp, which the compiler driver links (statically, with -static)
# when it sees -fstack-protector-strong at the link.
# Not here: -fcf-protection. Debian 12's C start files (Scrt1.o, crti.o) carry
# no IBT or SHSTK property, so the linker drops it from every program linked
# there and the processor's control flow checks would stay off all the same.
get_property(multi_config GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
if(NOT multi_config AND NOT CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  message(FATAL_ERROR "TOLVASHU_HARDEN needs an optimised build (CMAKE_BUILD_TYPE Release, RelWithDebInfo "
                      "or MinSizeRel): _FORTIFY_SOURCE does nothing without the optimiser")
endif()

# A compiler that defines _FORTIFY_SOURCE itself must not see a second value.
add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong)
add_link_options(-fstack-protector-strong)
if(WIN32)
  add_link_options(-Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat)
else()
  add_compile_options(-fstack-clash-protection)
  add_link_options(-Wl,-z,relro,-z,now)
endif()
