# Debian's usual hardening for the optimised builds, as dpkg-buildflags gives it to a
# package built with hardening=+all: checked buffer functions, a stack protector, the
# relocation table read-only and bound at start, a position-independent program.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

set(hutchlore_optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
set(hutchlore_hardening
  -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat -Werror=format-security)
# Not every target architecture has these.
foreach(flag -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "HUTCHLORE_HAS${flag}" var)
  check_cxx_compiler_flag(${flag} ${var})
  if(${var})
    list(APPEND hutchlore_hardening ${flag})
  endif()
endforeach()
add_compile_options("$<${hutchlore_optimised}:${hutchlore_hardening}>")
add_link_options("$<${hutchlore_optimised}:LINKER:-z,relro;LINKER:-z,now>")
