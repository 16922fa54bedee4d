# Compiler warnings and the sanitizer builds, applied to every target of the project.
add_compile_options(-Wall -Wextra)
if(TAMTARA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TAMTARA_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
# The fuzz build covers the readers themselves: libFuzzer steers by the coverage of every
# library a fuzz target links, so they are instrumented too (the targets add the runtime).
if(TAMTARA_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
