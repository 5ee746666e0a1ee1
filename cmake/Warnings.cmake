# Flags every target of the project gets. The counts and pixels depend on
# exact IEEE double arithmetic in the order written, so contraction into
# fused multiply-add is switched off and no fast-math flag may ever appear.
add_compile_options(-Wall -Wextra -Wpedantic -ffp-contract=off -fno-fast-math)

if(ORBITOGRAPH_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
