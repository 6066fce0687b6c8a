# cmake -DPROGRAMMA=<the built pentolone> -DVERSIONE=<project version> -P riga_di_comando.cmake
# What the program says from a terminal, before any window: with no display it must explain
# in Italian and exit 1, not print Qt's English and abort.
set(errors)

# Runs the program with the environment changes given (env's), then the arguments; env execs it,
# so an abort is seen as one.
function(esegui prefisso)
    cmake_parse_arguments(PARSE_ARGV 1 E "" "" "ENV;ARGS")
    execute_process(COMMAND env ${E_ENV} ${PROGRAMMA} ${E_ARGS}
        RESULT_VARIABLE esito OUTPUT_VARIABLE uscita ERROR_VARIABLE errori TIMEOUT 60)
    set(${prefisso}_esito "${esito}" PARENT_SCOPE)
    set(${prefisso}_uscita "${uscita}" PARENT_SCOPE)
    set(${prefisso}_errori "${errori}" PARENT_SCOPE)
endfunction()

set(senza_schermo -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
set(spiegazione "Pentolone ha bisogno di uno schermo e qui non ce n'è: senza schermo provate 'xvfb-run -a ${PROGRAMMA}' (pacchetto xvfb).\n")

# Both options are read without a display.
foreach(opzione --version -v)
    esegui(v ENV ${senza_schermo} ARGS ${opzione})
    if(NOT v_esito EQUAL 0 OR NOT v_uscita STREQUAL "Pentolone ${VERSIONE}\n")
        list(APPEND errors "${opzione}: exit ${v_esito}, said '${v_uscita}${v_errori}'")
    endif()
endforeach()
esegui(h ENV ${senza_schermo} ARGS --help)
foreach(riga "-h, --help +Mostra questo aiuto ed esce." "-v, --version +Mostra la versione ed esce.")
    if(NOT h_esito EQUAL 0 OR NOT h_uscita MATCHES "\n +${riga}\n")
        list(APPEND errors "--help (exit ${h_esito}) does not list '${riga}': ${h_uscita}${h_errori}")
    endif()
endforeach()

# No display named, and one named where none is.
foreach(schermo "" "DISPLAY=${CMAKE_CURRENT_LIST_DIR}/nessuno-schermo")
    esegui(s ENV ${senza_schermo} ${schermo})
    if(NOT s_esito STREQUAL "1" OR NOT s_errori STREQUAL spiegazione OR NOT s_uscita STREQUAL "")
        list(APPEND errors "without a display (${schermo}): exit ${s_esito}, said '${s_errori}'")
    endif()
endforeach()

if(errors)
    list(JOIN errors "\n  " errors)
    message(FATAL_ERROR "Command line:\n  ${errors}")
endif()
message(STATUS "command line ok")
