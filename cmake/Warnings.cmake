# Compiler warnings and the sanitizer build, applied to every target of the project.
add_compile_options(-Wall -Wextra)
if(TAMTARA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
