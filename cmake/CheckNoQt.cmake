# cmake -DDIR=<folder> -P CheckNoQt.cmake
# Fails when a source or header in DIR includes a Qt header.
file(GLOB files "${DIR}/*.cpp" "${DIR}/*.h")
foreach(f IN LISTS files)
  file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q|Qt)")
  if(lines)
    message(FATAL_ERROR "${f} includes a Qt header; this library must stay Qt-free: ${lines}")
  endif()
endforeach()
