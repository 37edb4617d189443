# Settings every target of the project shares.

# One random seed must give the same history, to the last bit, on every build:
# no fused multiply-add contraction and no machine-specific instruction sets.
add_compile_options(-ffp-contract=off)

# Warnings for the project's own targets.
add_library(tickforge_warnings INTERFACE)
add_library(tickforge::warnings ALIAS tickforge_warnings)
target_compile_options(tickforge_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)

if(TICKFORGE_SANITIZE)
  # -O1 keeps the checks and makes the fuzz targets' 10^5 inputs each take seconds.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -O1)
  add_link_options(-fsanitize=address,undefined)
endif()
