# Warnings are errors for every target of our own (not for third-party code such as GoogleTest).
function(grimsweep_strict target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        # GCC 12 reports false -Wrestrict overlaps inside std::string at -O3 (its bug 105329).
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()
