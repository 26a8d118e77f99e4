# The hardening of Debian's build flags for what ships (the game's library and its program), in
# the release builds: checked buffer functions (_FORTIFY_SOURCE), stack protection, format
# strings that cannot be forged, a position-independent program, and relocations made read-only
# and bound at start-up. None changes what a computation gives: the reference corpus checks that
# the dumps and screenshots stay byte for byte the same. The sanitizer build leaves them out
# (ASan checks the same things itself), as do debug builds, where _FORTIFY_SOURCE does nothing.
if(KELMORA_SANITIZE)
  return()
endif()
set(KELMORA_HARDENED $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
include(CheckPIESupported)
check_pie_supported()
set_target_properties(kelmora PROPERTIES POSITION_INDEPENDENT_CODE ON)
foreach(target IN ITEMS kelmora_core kelmora)
  target_compile_definitions(${target} PRIVATE $<${KELMORA_HARDENED}:_FORTIFY_SOURCE=2>)
  # -fPIE for the library too: it is linked into the program only (-fPIC, which
  # POSITION_INDEPENDENT_CODE would give a library, keeps the compiler from inlining across
  # functions that another library could interpose).
  target_compile_options(${target} PRIVATE
    $<${KELMORA_HARDENED}:-fPIE -fstack-protector-strong -Wformat -Werror=format-security>)
endforeach()
target_link_options(kelmora PRIVATE $<${KELMORA_HARDENED}:LINKER:-z,relro,-z,now>)
