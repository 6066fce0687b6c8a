# cmake -DPROGRAMMA=<pentolone> -DAIUTANTE=<pentolone-web> -P librerie.cmake
# Untrusted pages are parsed only in the helper: the program itself does not load libxml2. The
# helper's own entry shows the check reads what it means to.
function(necessarie programma risultato)
    execute_process(COMMAND readelf -d ${programma}
        RESULT_VARIABLE esito OUTPUT_VARIABLE uscita ERROR_VARIABLE errori)
    if(NOT esito EQUAL 0)
        message(FATAL_ERROR "readelf -d ${programma}: ${errori}")
    endif()
    string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[([^]\n]+)\\]" voci "${uscita}")
    list(TRANSFORM voci REPLACE ".*\\[(.+)\\]" "\\1")
    set(${risultato} "${voci}" PARENT_SCOPE)
endfunction()

necessarie(${PROGRAMMA} programma)
necessarie(${AIUTANTE} aiutante)
set(errori)
if(NOT aiutante MATCHES "libxml2")
    list(APPEND errori "${AIUTANTE} does not load libxml2: ${aiutante}")
endif()
if(programma MATCHES "libxml2")
    list(APPEND errori "${PROGRAMMA} loads libxml2, which only the helper may: ${programma}")
endif()
if(errori)
    list(JOIN errori "\n" testo)
    message(FATAL_ERROR "${testo}")
endif()
