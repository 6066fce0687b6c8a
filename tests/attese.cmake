# Fails when code under src/ waits inside a handler: a nested event loop (QEventLoop) or
# processEvents() lets the user's clicks and other signals run in the middle of the work that
# waits. Long works go on from signals instead; the only waits are the modal dialogs' own (the
# boxes of Dialogs, the import's choice), which answer before anything else happens.
file(GLOB_RECURSE sorgenti "${SRC}/*.h" "${SRC}/*.cpp")
set(errori "")
foreach(file IN LISTS sorgenti)
    file(STRINGS "${file}" righe REGEX "QEventLoop|processEvents")
    foreach(riga IN LISTS righe)
        file(RELATIVE_PATH relativo "${SRC}" "${file}")
        string(STRIP "${riga}" riga)
        string(APPEND errori "  ${relativo}: ${riga}\n")
    endforeach()
endforeach()
if(errori)
    message(FATAL_ERROR "Code under src/ waits inside a handler:\n${errori}")
endif()
