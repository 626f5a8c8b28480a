# -Wnull-dereference is left out: at -O2 it flags every QPointer use.
# Warnings are set per target so that Qt's generated sources (moc, rcc) are
# judged by the same rules as ours without leaking flags into dependencies.
function(radioset_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
    -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
  if(RADIOSET_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
