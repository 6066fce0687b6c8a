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

# What a Debian package carries beside the program: copyright and changelog, where Debian looks.
set(doc ${PREFIX}/share/doc/pentolone)
expect("EXISTS ${doc}/copyright" "no ${doc}/copyright")
if(EXISTS ${doc}/copyright)
    file(STRINGS ${doc}/copyright formato LIMIT_COUNT 1)
    expect("formato STREQUAL \"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\""
        "${doc}/copyright is not machine-readable: ${formato}")
endif()

# The text inside a gzip file, empty when it is none.
function(decomprimi file variabile)
    execute_process(COMMAND gzip -dc ${file} OUTPUT_VARIABLE testo RESULT_VARIABLE esito
        ERROR_QUIET)
    if(NOT esito EQUAL 0)
        set(testo "")
    endif()
    set(${variabile} "${testo}" PARENT_SCOPE)
endfunction()

decomprimi(${doc}/changelog.Debian.gz changelog)
string(REGEX MATCH "^pentolone \\([^)]+-[^)]+\\) " voce "${changelog}")
expect("voce" "no changelog.Debian.gz with a Debian revision in ${doc}")

# The manual pages, for an Italian system and for one with no language set.
foreach(cartella man1 it/man1)
    foreach(pagina pentolone pentolone-jet pentolone-web)
        decomprimi(${PREFIX}/share/man/${cartella}/${pagina}.1.gz testo)
        string(TOUPPER ${pagina} titolo)
        string(REPLACE "-" "\\-" titolo ${titolo})
        string(FIND "${testo}" ".TH ${titolo} 1 " inizio)
        expect("inizio EQUAL 0" "no manual page ${cartella}/${pagina}.1.gz")
    endforeach()
endforeach()

# The software centres' entry: its launchable is the menu entry, what it provides is installed,
# and the menu entry opens the file types it names.
set(metainfo ${PREFIX}/share/metainfo/org.example.pentolone.metainfo.xml)
expect("EXISTS ${metainfo}" "no ${metainfo}")
if(EXISTS ${metainfo})
    file(READ ${metainfo} xml)
    string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]*)</launchable>" _ "${xml}")
    expect("\"${CMAKE_MATCH_1}\" STREQUAL pentolone.desktop AND EXISTS ${desktop}"
        "the metainfo launches '${CMAKE_MATCH_1}', the menu entry is ${desktop}")
    string(REGEX MATCHALL "<binary>[^<]*</binary>" programmi "${xml}")
    expect("programmi" "the metainfo provides no program")
    foreach(p IN LISTS programmi)
        string(REGEX REPLACE "</?binary>" "" p "${p}")
        expect("EXISTS ${bin}/${p}" "the metainfo provides ${p}, not in ${bin}")
    endforeach()
    file(READ ${desktop} voci)
    string(REGEX MATCH "\nMimeType=([^\n]*)" _ "${voci}")
    set(mime "${CMAKE_MATCH_1}") # a list: types end with a semicolon
    string(REGEX MATCHALL "<mediatype>[^<]*</mediatype>" tipi "${xml}")
    foreach(t IN LISTS tipi)
        string(REGEX REPLACE "</?mediatype>" "" t "${t}")
        list(FIND mime ${t} trovato)
        expect("NOT trovato EQUAL -1" "the metainfo names ${t}, the menu entry opens '${mime}'")
    endforeach()
    find_program(APPSTREAMCLI appstreamcli)
    if(APPSTREAMCLI)
        # No network: the screenshot's address is the website's.
        execute_process(COMMAND ${APPSTREAMCLI} validate-tree --pedantic --no-net ${PREFIX}
            RESULT_VARIABLE esito OUTPUT_VARIABLE detto ERROR_VARIABLE detto)
        expect("esito EQUAL 0" "appstreamcli validate-tree: ${detto}")
    endif()
endif()

if(errors)
    list(JOIN errors "\n  " errors)
    message(FATAL_ERROR "Installed layout:\n  ${errors}")
endif()
file(REMOVE_RECURSE ${PREFIX})
message(STATUS "install layout ok")
