# The build's own definition key pair, made once: -DGSDEFS=<gsdefs> -DKEY=<private key file>
# -DLINE=<file for the DefinitionKey= line>. An existing key is kept (the demo's and tests' services were
# published with it); its line is written again when missing.
if(NOT EXISTS "${KEY}")
    get_filename_component(dir "${KEY}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    execute_process(COMMAND "${GSDEFS}" keygen "${KEY}" OUTPUT_FILE "${LINE}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        file(REMOVE "${LINE}")
        message(FATAL_ERROR "gsdefs keygen could not make the build's definition key")
    endif()
elseif(NOT EXISTS "${LINE}" OR "${KEY}" IS_NEWER_THAN "${LINE}")
    file(STRINGS "${KEY}" public REGEX "^public=")
    string(REGEX REPLACE "^public=" "" public "${public}")
    file(WRITE "${LINE}" "DefinitionKey=${public}\n")
else()
    file(TOUCH_NOCREATE "${LINE}")
endif()
