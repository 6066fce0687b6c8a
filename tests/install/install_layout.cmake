# cmake -DBUILD=<build folder> -DPREFIX=<temporary prefix> -P install_layout.cmake
file(REMOVE_RECURSE ${PREFIX})
set(ENV{DESTDIR} "")
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
    RESULT_VARIABLE esito OUTPUT_QUIET ERROR_VARIABLE errori)
if(NOT esito EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${errori}")
endif()

set(errors)
# Records what when condition, written as if() takes it, is false.
macro(expect condition what)
    cmake_language(EVAL CODE "if(NOT (${condition}))\n list(APPEND errors \"${what}\")\nendif()")
endmacro()

set(desktop ${PREFIX}/share/applications/pentolone.desktop)
expect("EXISTS ${desktop}" "no ${desktop}")
file(STRINGS ${desktop} exec REGEX "^Exec=")
file(STRINGS ${desktop} icon REGEX "^Icon=")
# The first word of Exec is looked up in PATH, i.e. in <prefix>/bin once installed.
string(REGEX REPLACE "^Exec=([^ ]+).*" "\\1" program "${exec}")
string(REGEX REPLACE "^Icon=" "" icon "${icon}")
expect("NOT program STREQUAL \"\"" "no Exec line")
expect("NOT icon STREQUAL \"\"" "no Icon line")
expect("exec MATCHES \" --cartella-personale( |$)\"" "Exec does not pass --cartella-personale: ${exec}")

set(bin ${PREFIX}/bin)
expect("EXISTS ${bin}/${program} AND NOT IS_DIRECTORY ${bin}/${program}" "Exec's ${program} not in ${bin}")
expect("EXISTS ${bin}/pentolone-jet" "pentolone-jet not beside ${program}")
expect("EXISTS ${bin}/pentolone-web" "pentolone-web not beside ${program}")

expect("EXISTS ${PREFIX}/share/icons/hicolor/scalable/apps/${icon}.svg" "icon ${icon}.svg not in hicolor/scalable")
foreach(side 16 32 48 64 128 256)
    set(png ${PREFIX}/share/icons/hicolor/${side}x${side}/apps/${icon}.png)
    if(NOT EXISTS ${png})
        list(APPEND errors "no ${png}")
        continue()
    endif()
    # PNG signature, then IHDR with width and height as big-endian 32-bit numbers.
    file(READ ${png} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 32 8 width)
    string(SUBSTRING "${header}" 40 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    expect("signature STREQUAL 89504e470d0a1a0a" "${png} is not a PNG")
    expect("width EQUAL ${side} AND height EQUAL ${side}" "${png} is ${width}x${height}")
endforeach()

# The program looks for its books in <dir of the executable>/../share/pentolone.
get_filename_component(books ${bin}/../share/pentolone ABSOLUTE)
foreach(book Ricetta Ricette.mdb)
    expect("EXISTS ${books}/${book}" "no ${book} in ${books}")
    if(EXISTS ${books}/${book})
        # "SQLite format 3" and its NUL: a book, not an empty or stray file.
        file(READ ${books}/${book} magic LIMIT 16 HEX)
        expect("magic STREQUAL 53514c69746520666f726d6174203300" "${books}/${book} is not a recipe book")
    endif()
endforeach()

if(errors)
    list(JOIN errors "\n  " errors)
    message(FATAL_ERROR "Installed layout:\n  ${errors}")
endif()
file(REMOVE_RECURSE ${PREFIX})
message(STATUS "install layout ok")
