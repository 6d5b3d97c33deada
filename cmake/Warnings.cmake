# Warnings are errors for the project's own targets on both toolchains.
function(zerak_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wcast-qual -Wformat=2
                                             -Wundef -Wnon-virtual-dtor -Werror)
endfunction()

# The core also refuses silent narrowing: every amount is an exact 32-bit value.
function(zerak_strict_warnings target)
    zerak_warnings(${target})
    target_compile_options(${target} PRIVATE -Wconversion -Wsign-conversion -Wold-style-cast)
endfunction()
