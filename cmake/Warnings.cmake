# Project-wide warnings and sanitizers, applied per target so that
# third-party headers stay out of it.
function(vlh_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion-null)
  if(VLH_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(VLH_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
