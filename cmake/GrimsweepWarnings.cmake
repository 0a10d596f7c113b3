# Warnings are errors for every target of our own (not for third-party code such as GoogleTest).
function(grimsweep_strict target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror)
endfunction()
